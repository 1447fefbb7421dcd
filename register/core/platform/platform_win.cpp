// The platform services on Windows: Win32 file functions (so failures carry
// the system's own error numbers), the user's locale for the order of names,
// and the system's message texts in the user's language.
#include "core/platform/platform.h"

#include "core/platform/temporary_name.h"

#include "support/crash_point.h"
#include "support/file_win.h"
#include "support/handles_win.h"
#include "support/long_path_win.h"
#include "support/system_error.h"
#include "support/text.h"

#include <windows.h>

#include <algorithm>
#include <functional>

namespace ombriel {
namespace {

using support::ExtendedPath;
using support::Narrow;
using support::UniqueFindHandle;
using support::UniqueHandle;
using support::Widen;

// Names for this writer's temporary files beside `file`.
std::function<std::filesystem::path()> TemporaryNamesFor(const std::filesystem::path& file) {
    return [file] { return TemporaryNameFor(file); };
}

// How a listing ended: opened tells a folder that could not be listed at all
// from one whose listing broke off; error is 0 for a whole listing.
struct ListingEnd {
    bool opened = false;
    DWORD error = 0;
};

// Hands every plain file matching searchPattern (no folder, hidden or system
// file) to each. Names, sizes and write times come in one pass; large fetches
// make a share send many entries per round trip.
template <class Each> ListingEnd ForEachListedFile(const std::wstring& searchPattern, Each each) {
    WIN32_FIND_DATAW fd;
    UniqueFindHandle h(FindFirstFileExW(searchPattern.c_str(), FindExInfoBasic, &fd,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!h)
        return {false, GetLastError()};
    constexpr DWORD kSkip =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((fd.dwFileAttributes & kSkip) == 0)
            each(fd);
    } while (FindNextFileW(h.Get(), &fd));
    const DWORD e = GetLastError();
    return {true, e == ERROR_NO_MORE_FILES ? 0 : e};
}

// The user's locale's sort key of w, as bytes, into room bytes at out (none:
// its length is asked); its length with the terminating zero, or 0 when it
// does not fit or cannot be made.
int MapSortKey(const std::wstring& w, char* out, size_t room) {
    return LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, w.c_str(),
                         int(w.size()), reinterpret_cast<LPWSTR>(out), int(room), nullptr, nullptr,
                         0);
}

// Room that holds nearly every key of w at the first try.
size_t KeyRoom(const std::wstring& w) {
    return w.size() * 6 + 16;
}

class WinPlatform final : public Platform {
  public:
    Error ReadFileHead(const std::filesystem::path& file, size_t limit,
                       std::string& bytes) override {
        bytes.clear();
        UniqueHandle h(CreateFileW(ExtendedPath(file).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!h)
            return MakeError(GetLastError());
        // Record files are small: one read of a stack buffer usually takes all.
        char chunk[8192];
        while (bytes.size() < limit) {
            const DWORD want = DWORD(std::min(sizeof chunk, limit - bytes.size()));
            DWORD got = 0;
            if (!ReadFile(h.Get(), chunk, want, &got, nullptr))
                return MakeError(GetLastError());
            bytes.append(chunk, got);
            if (got < want)
                break;
        }
        return {};
    }

    Error WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes) override {
        if (DWORD err = support::WriteThroughTemporary(file, bytes, TemporaryNamesFor(file),
                                                       kTemporaryNameTries, true))
            return MakeError(err);
        return {};
    }

    Error WriteFileAtomicInPieces(const std::filesystem::path& file,
                                  const std::function<void(const PieceSink&)>& write) override {
        const auto fill = [&](const std::function<uint32_t(std::string_view)>& writePiece) {
            uint32_t err = ERROR_SUCCESS;
            write([&](std::string_view piece) {
                err = writePiece(piece);
                return err == ERROR_SUCCESS;
            });
            return err;
        };
        if (DWORD err = support::WriteThroughTemporary(file, fill, TemporaryNamesFor(file),
                                                       kTemporaryNameTries, true))
            return MakeError(err);
        return {};
    }

    Error WriteFileNew(const std::filesystem::path& file, std::string_view bytes) override {
        // A rename that may not replace gives the data its name only if the
        // name is free, in one call, on a share too.
        DWORD err = support::WriteThroughTemporary(file, bytes, TemporaryNamesFor(file),
                                                   kTemporaryNameTries, false);
        if (err == ERROR_SUCCESS)
            return {};
        if (err == ERROR_FILE_EXISTS)
            err = ERROR_ALREADY_EXISTS;
        return MakeError(err);
    }

    Error ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                    std::vector<std::string>& names) override {
        const ListingEnd end = ForEachListedFile(
            ExtendedPath(folder / Widen(pattern)),
            [&](const WIN32_FIND_DATAW& fd) { names.push_back(Narrow(fd.cFileName)); });
        // A pattern nothing matches, or no folder to look in: no names.
        if (end.error == 0 || (!end.opened && (end.error == ERROR_FILE_NOT_FOUND ||
                                               end.error == ERROR_PATH_NOT_FOUND ||
                                               end.error == ERROR_NO_MORE_FILES)))
            return {};
        return MakeError(end.error);
    }

    Error ListFolder(const std::filesystem::path& folder, FolderListing& files) override {
        files.clear();
        // One room for every name made UTF-8: a listing of 100,000 names
        // calls the allocator for none of them.
        std::string name;
        const ListingEnd end =
            ForEachListedFile(ExtendedPath(folder / L"*"), [&](const WIN32_FIND_DATAW& fd) {
                name.clear();
                support::AppendNarrow(name, fd.cFileName);
                files.Add(name, uint64_t(fd.nFileSizeHigh) << 32 | fd.nFileSizeLow,
                          int64_t(uint64_t(fd.ftLastWriteTime.dwHighDateTime) << 32 |
                                  fd.ftLastWriteTime.dwLowDateTime));
            });
        if (end.error == 0)
            return {};
        files.clear(); // half a listing would pass for deletions
        if (!end.opened &&
            (end.error == ERROR_FILE_NOT_FOUND || end.error == ERROR_PATH_NOT_FOUND)) {
            // Doc itself is missing only when the folder above it is there:
            // a dropped share loses both, and that is a failure.
            const DWORD parent = GetFileAttributesW(ExtendedPath(folder.parent_path()).c_str());
            if (parent != INVALID_FILE_ATTRIBUTES && (parent & FILE_ATTRIBUTE_DIRECTORY))
                return {};
            if (parent == INVALID_FILE_ATTRIBUTES)
                return MakeError(GetLastError());
        }
        return MakeError(end.error);
    }

    int64_t Now() override {
        FILETIME ft;
        GetSystemTimePreciseAsFileTime(&ft);
        return int64_t(uint64_t(ft.dwHighDateTime) << 32 | ft.dwLowDateTime);
    }

    Error RemoveUnheldFile(const std::filesystem::path& file) override {
        // No sharing at all: the open fails while any other handle reads or
        // writes the file, on this PC or, through the share's server, on
        // another one, and a writer that holds it without FILE_SHARE_DELETE
        // refuses the DELETE access in any case.
        support::CrashPoint();
        UniqueHandle h(CreateFileW(ExtendedPath(file).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!h)
            return MakeError(GetLastError());
        FILE_DISPOSITION_INFO dispose{};
        dispose.DeleteFile = TRUE;
        if (!SetFileInformationByHandle(h.Get(), FileDispositionInfo, &dispose, sizeof dispose))
            return MakeError(GetLastError());
        return {};
    }

    std::filesystem::path LocalCacheFolder() override {
        const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
        if (n == 0)
            return {};
        std::wstring value(n, L'\0');
        value.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), n));
        if (value.empty())
            return {};
        return std::filesystem::path(value) / L"Ombriel" / L"Cache";
    }

    std::string SortKey(std::string_view text) override {
        const std::wstring w = Widen(text);
        if (w.empty())
            return {};
        // A key is rarely longer than a few bytes per character: one call
        // into room of that size usually does, where asking for the size
        // first would map the text twice (a first start maps every name).
        std::string key(KeyRoom(w), '\0');
        int n = MapSortKey(w, key.data(), key.size());
        if (n <= 0) {
            n = MapSortKey(w, nullptr, 0);
            if (n <= 0)
                return Narrow(w);
            key.assign(size_t(n), '\0');
            n = MapSortKey(w, key.data(), key.size());
            if (n <= 0)
                return Narrow(w);
        }
        key.resize(size_t(n) - 1); // drop the terminating zero
        key.shrink_to_fit();       // a first start holds one key per record at once
        return key;
    }

    void AppendSortKey(std::string_view text, std::string& keys) override {
        const std::wstring w = Widen(text);
        if (w.empty())
            return;
        // Mapped straight into the keys' tail, as SortKey maps into its room.
        const size_t at = keys.size();
        keys.resize(at + KeyRoom(w));
        const int n = MapSortKey(w, &keys[at], keys.size() - at);
        keys.resize(n > 0 ? at + size_t(n) - 1 : at); // without the terminating zero
        if (n <= 0)
            keys += SortKey(text);
    }

    std::string Describe(uint32_t number) override { return support::SystemErrorText(number); }
};

} // namespace

uint32_t ThisProcessNumber() {
    return GetCurrentProcessId();
}

Platform& SystemPlatform() {
    static WinPlatform platform;
    return platform;
}

} // namespace ombriel
