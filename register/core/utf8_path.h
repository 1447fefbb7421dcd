#pragma once
// Paths are std::filesystem::path (wide on Windows); texts are UTF-8. These
// convert between them without passing through the ANSI code page.
#include <filesystem>
#include <string>
#include <string_view>

namespace ombriel {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

} // namespace ombriel
