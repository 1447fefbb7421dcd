// The platform services on Windows: Win32 file functions (so failures carry
// the system's own error numbers), the user's locale for the order of names,
// and the system's message texts in the user's language.
#include "core/platform.h"

#include "core/wide_text.h"

#include <windows.h>

#include <algorithm>

namespace ombriel {
namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (Valid()) {
            CloseHandle(h_);
        }
    }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE Get() const { return h_; }
    void Close() {
        if (Valid()) {
            CloseHandle(h_);
        }
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) {
            FindClose(h_);
        }
    }
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

// Paths beyond MAX_PATH work only in their extended form, whatever the
// system's long-path setting.
std::wstring ExtendedPath(const std::filesystem::path& path) {
    std::wstring p = path.wstring();
    std::replace(p.begin(), p.end(), L'/', L'\\');
    if (p.size() < MAX_PATH - 12 || p.rfind(L"\\\\?\\", 0) == 0) {
        return p;
    }
    DWORD n = GetFullPathNameW(p.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        return p;
    }
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(p.c_str(), n, full.data(), nullptr);
    full.resize(n);
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

class WinPlatform final : public Platform {
public:
    Error ReadFileHead(const std::filesystem::path& file, size_t limit,
                       std::string& bytes) override {
        bytes.clear();
        Handle h(CreateFileW(ExtendedPath(file).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!h.Valid()) {
            return MakeError(GetLastError());
        }
        // Record files are small: one read of a stack buffer usually takes all.
        char chunk[8192];
        while (bytes.size() < limit) {
            DWORD want = DWORD(std::min(sizeof chunk, limit - bytes.size()));
            DWORD got = 0;
            if (!ReadFile(h.Get(), chunk, want, &got, nullptr)) {
                return MakeError(GetLastError());
            }
            bytes.append(chunk, got);
            if (got < want) {
                break;
            }
        }
        return {};
    }

    Error WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes) override {
        std::filesystem::path tempPath = file;
        tempPath += L".tmp~";
        std::wstring temp = ExtendedPath(tempPath);
        std::wstring target = ExtendedPath(file);
        {
            Handle h(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!h.Valid()) {
                return MakeError(GetLastError());
            }
            size_t done = 0;
            while (done < bytes.size()) {
                DWORD part = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
                DWORD wrote = 0;
                if (!WriteFile(h.Get(), bytes.data() + done, part, &wrote, nullptr)) {
                    DWORD e = GetLastError();
                    CloseHandleAndDelete(h, temp);
                    return MakeError(e);
                }
                done += wrote;
            }
            if (!FlushFileBuffers(h.Get())) {
                DWORD e = GetLastError();
                CloseHandleAndDelete(h, temp);
                return MakeError(e);
            }
        }
        // A read-only target refuses the replacement, as it refuses a write.
        DWORD attrs = GetFileAttributesW(target.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
            DeleteFileW(temp.c_str());
            return MakeError(ERROR_ACCESS_DENIED);
        }
        if (!MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD e = GetLastError();
            DeleteFileW(temp.c_str());
            return MakeError(e);
        }
        return {};
    }

    Error ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                    std::vector<std::string>& names) override {
        std::wstring searchPattern = ExtendedPath(folder / Widen(pattern));
        WIN32_FIND_DATAW fd;
        FindHandle h(FindFirstFileExW(searchPattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                                      nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (h.Get() == INVALID_HANDLE_VALUE) {
            DWORD e = GetLastError();
            if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES) {
                return {};
            }
            return MakeError(e);
        }
        constexpr DWORD kSkip =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            if ((fd.dwFileAttributes & kSkip) == 0) {
                names.push_back(Narrow(fd.cFileName));
            }
        } while (FindNextFileW(h.Get(), &fd));
        DWORD e = GetLastError();
        return e == ERROR_NO_MORE_FILES ? Error{} : MakeError(e);
    }

    std::string SortKey(std::string_view text) override {
        std::wstring w = Widen(text);
        if (w.empty()) {
            return {};
        }
        int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE,
                              w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr, 0);
        if (n <= 0) {
            return Narrow(w);
        }
        std::string key(size_t(n), '\0');
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, w.c_str(),
                      int(w.size()), reinterpret_cast<LPWSTR>(key.data()), n, nullptr, nullptr,
                      0);
        key.resize(size_t(n) - 1); // drop the terminating zero
        return key;
    }

    std::string Describe(uint32_t number) override {
        wchar_t* text = nullptr;
        DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, number, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
        std::wstring w = n ? std::wstring(text, n) : std::wstring();
        LocalFree(text);
        while (!w.empty() && (w.back() == L'\n' || w.back() == L'\r' || w.back() == L' ')) {
            w.pop_back();
        }
        if (w.empty()) {
            w = L"Errore " + std::to_wstring(number) + L".";
        }
        return Narrow(w);
    }

private:
    static void CloseHandleAndDelete(Handle& h, const std::wstring& temp) {
        h.Close();
        DeleteFileW(temp.c_str());
    }
};

} // namespace

Platform& SystemPlatform() {
    static WinPlatform platform;
    return platform;
}

} // namespace ombriel
