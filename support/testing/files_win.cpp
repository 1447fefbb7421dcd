#include "support/testing/files.h"

#include "support/handles_win.h"
#include "support/long_path_win.h"
#include "support/text.h"

#include <windows.h>

#include <stdexcept>

namespace support::testing {
namespace {

std::runtime_error Failure(const char* what, const std::filesystem::path& path) {
    return std::runtime_error(std::string(what) + " " + Utf8FromPath(path) + " (error " +
                              std::to_string(GetLastError()) + ")");
}

} // namespace

std::string ReadBytes(const std::filesystem::path& file) {
    UniqueHandle h(CreateFileW(ExtendedPath(file).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    if (!h)
        return "<cannot read>";
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(h.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    if (file.has_parent_path())
        MakeFolders(file.parent_path());
    UniqueHandle h(CreateFileW(ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h)
        throw Failure("cannot create", file);
    DWORD wrote = 0;
    if (!WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) ||
        wrote != bytes.size())
        throw Failure("cannot write", file);
}

void MakeFolders(const std::filesystem::path& folder) {
    const std::wstring path = ExtendedPath(folder);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        MakeFolders(folder.parent_path());
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw Failure("cannot make folder", folder);
}

void RemoveTree(const std::filesystem::path& folder) {
    const std::wstring path = ExtendedPath(folder);
    WIN32_FIND_DATAW entry;
    UniqueFindHandle search(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (search) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search.Get(), &entry));
    }
    search.Reset();
    RemoveDirectoryW(path.c_str());
}

} // namespace support::testing
