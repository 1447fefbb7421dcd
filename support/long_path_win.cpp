#include "support/long_path_win.h"

#include <windows.h>

#include <algorithm>

namespace support {
namespace {

bool HasExtendedPrefix(const std::wstring& p) {
    return p.size() >= 4 && p[0] == L'\\' && p[1] == L'\\' && (p[2] == L'?' || p[2] == L'.') &&
           p[3] == L'\\';
}

} // namespace

std::wstring FullPath(const std::wstring& path) {
    const DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0)
        return path;
    std::wstring full(need, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (length == 0 || length >= need)
        return path;
    full.resize(length);
    return full;
}

std::wstring ExtendedPath(const std::filesystem::path& path) {
    std::wstring p = path.native();
    if (p.empty() || HasExtendedPrefix(p))
        return p;
    // The extended form takes no forward slashes and no relative parts.
    std::replace(p.begin(), p.end(), L'/', L'\\');
    const std::wstring full = FullPath(p);
    if (HasExtendedPrefix(full))
        return full;
    if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\')
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace support
