#pragma once
// Paths beyond MAX_PATH work with the file functions only in their extended
// "\\?\" form, whatever the system's long-path setting.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace ombriel {

inline std::wstring LongPath(const std::filesystem::path& path) {
    std::wstring p = path.wstring();
    std::replace(p.begin(), p.end(), L'/', L'\\');
    if (p.size() < MAX_PATH - 12 || p.rfind(L"\\\\?\\", 0) == 0)
        return p;
    DWORD n = GetFullPathNameW(p.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return p;
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(p.c_str(), n, full.data(), nullptr));
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace ombriel
