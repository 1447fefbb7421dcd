// The platform services on Windows: Win32 file functions (so failures carry
// the system's own error numbers), the user's locale for the order of names,
// and the system's message texts in the user's language.
#include "core/platform/platform.h"

#include "core/platform/temporary_name.h"

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

    Error WriteFileNew(const std::filesystem::path& file, std::string_view bytes) override {
        std::wstring temp;
        if (DWORD err =
                support::WriteTemporary(bytes, TemporaryNamesFor(file), kTemporaryNameTries, temp))
            return MakeError(err);
        // A rename that may not replace gives the data its name only if the
        // name is free, in one call, on a share too.
        DWORD err = support::PublishTemporary(temp, file, false);
        if (err == ERROR_SUCCESS)
            return {};
        if (err == ERROR_FILE_EXISTS)
            err = ERROR_ALREADY_EXISTS;
        return MakeError(err);
    }

    Error ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                    std::vector<std::string>& names) override {
        const std::wstring searchPattern = ExtendedPath(folder / Widen(pattern));
        WIN32_FIND_DATAW fd;
        UniqueFindHandle h(FindFirstFileExW(searchPattern.c_str(), FindExInfoBasic, &fd,
                                            FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
        if (!h) {
            const DWORD e = GetLastError();
            if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES)
                return {};
            return MakeError(e);
        }
        constexpr DWORD kSkip =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            if ((fd.dwFileAttributes & kSkip) == 0)
                names.push_back(Narrow(fd.cFileName));
        } while (FindNextFileW(h.Get(), &fd));
        const DWORD e = GetLastError();
        return e == ERROR_NO_MORE_FILES ? Error{} : MakeError(e);
    }

    std::string SortKey(std::string_view text) override {
        const std::wstring w = Widen(text);
        if (w.empty())
            return {};
        const int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE,
                                    w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr, 0);
        if (n <= 0)
            return Narrow(w);
        std::string key(size_t(n), '\0');
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, w.c_str(),
                      int(w.size()), reinterpret_cast<LPWSTR>(key.data()), n, nullptr, nullptr, 0);
        key.resize(size_t(n) - 1); // drop the terminating zero
        return key;
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
