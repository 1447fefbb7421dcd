#pragma once
// File contents for the splitter's tests: a repeatable pattern, and random
// bytes from a seed. `using namespace zelbrin::testing` also brings the
// shared file helpers (ReadBytes, WriteBytes, TempFolder) into a test.
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

namespace zelbrin::testing {

using namespace support::testing;

// Bytes whose value depends on their offset, so a misplaced block shows.
inline std::string Pattern(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return s;
}

inline std::string RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    std::string out(n, '\0');
    for (auto& c : out)
        c = static_cast<char>(gen());
    return out;
}

// A checksum file's four bytes.
inline std::string LittleEndian(uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

// Six folders of 61 characters with an accent below root: a path beyond the
// 260 characters of the old limit.
inline std::filesystem::path DeepFolder(const std::filesystem::path& root) {
    std::filesystem::path deep = root;
    for (int i = 0; i < 6; ++i)
        deep /= std::wstring(60, static_cast<wchar_t>(L'a' + i)) + L"\u00e9";
    support::testing::MakeFolders(deep);
    return deep;
}

} // namespace zelbrin::testing
