#include "installer_driver.h"

#include "ui_driver.h"

#include <knownfolders.h>
#include <msi.h>
#include <msiquery.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <atomic>
#include <iterator>
#include <vector>

namespace installer {

namespace {

// msiexec under Wine takes a few seconds; an install that hangs on a box
// nobody can see must still end the test.
constexpr int kMsiexecTimeoutMs = 180000;

class MsiHandle {
  public:
    MsiHandle() = default;
    MsiHandle(const MsiHandle&) = delete;
    MsiHandle& operator=(const MsiHandle&) = delete;
    ~MsiHandle() {
        if (handle_)
            MsiCloseHandle(handle_);
    }
    MSIHANDLE* Out() { return &handle_; }
    MSIHANDLE Get() const { return handle_; }

  private:
    MSIHANDLE handle_ = 0;
};

template <typename T> class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (ptr_)
            ptr_->Release();
    }
    T** Out() { return &ptr_; }
    void** OutVoid() { return reinterpret_cast<void**>(&ptr_); }
    T* operator->() const { return ptr_; }

  private:
    T* ptr_ = nullptr;
};

std::string LastLines(const std::string& text, int count) {
    size_t pos = text.size();
    for (int found = 0; pos > 0 && found <= count;) {
        --pos;
        if (text[pos] == '\n')
            ++found;
    }
    return text.substr(pos);
}

std::wstring Trimmed(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

} // namespace

fs::path BuildFile(const char* rel) {
    return ui::ExeDir().parent_path() / ui::Widen(rel);
}

MsiexecResult RunMsiexec(const std::wstring& args) {
    static std::atomic<int> runs{0};
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const fs::path log =
        fs::path(temp) / (L"installer_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                          std::to_wstring(++runs) + L".log");

    MsiexecResult result;
    auto process = ui::Process::Start(fs::path(system) / L"msiexec.exe",
                                      args + L" /l*v \"" + log.wstring() + L"\"", {});
    if (process.WaitExit(kMsiexecTimeoutMs)) {
        result.exitCode = process.ExitCode();
    } else {
        process.Kill();
    }
    std::error_code ec;
    if (fs::exists(log, ec)) {
        std::string text = ui::ReadBytes(log);
        // The log is written in the ANSI code page or in UTF-16.
        if (text.size() >= 2 && text[1] == '\0') {
            std::string narrow;
            for (size_t i = 0; i < text.size(); i += 2)
                narrow += text[i];
            text = narrow;
        }
        result.logTail = LastLines(text, 30);
        fs::remove(log, ec);
    }
    return result;
}

Installation::Installation(const fs::path& msi, const std::wstring& properties) : msi_(msi) {
    install_ = RunMsiexec(L"/i \"" + msi.wstring() + L"\" /qn " + properties);
}

Installation::~Installation() {
    if (!undone_ && Succeeded())
        RunMsiexec(L"/x \"" + msi_.wstring() + L"\" /qn");
}

MsiexecResult Installation::Uninstall() {
    undone_ = true;
    return RunMsiexec(L"/x \"" + msi_.wstring() + L"\" /qn");
}

std::wstring PackageProperty(const fs::path& msi, const std::wstring& name) {
    MsiHandle db;
    if (MsiOpenDatabaseW(msi.wstring().c_str(), MSIDBOPEN_READONLY, db.Out()) != ERROR_SUCCESS)
        return {};
    MsiHandle view;
    const std::wstring query = L"SELECT `Value` FROM `Property` WHERE `Property` = '" + name + L"'";
    if (MsiDatabaseOpenViewW(db.Get(), query.c_str(), view.Out()) != ERROR_SUCCESS ||
        MsiViewExecute(view.Get(), 0) != ERROR_SUCCESS)
        return {};
    MsiHandle record;
    if (MsiViewFetch(view.Get(), record.Out()) != ERROR_SUCCESS)
        return {};
    wchar_t value[1024];
    DWORD size = DWORD(std::size(value));
    if (MsiRecordGetStringW(record.Get(), 1, value, &size) != ERROR_SUCCESS)
        return {};
    return std::wstring(value, size);
}

bool ProductInstalled(const std::wstring& productCode) {
    return MsiQueryProductStateW(productCode.c_str()) == INSTALLSTATE_DEFAULT;
}

std::wstring FileVersion(const fs::path& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.wstring().c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(exe.wstring().c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return {};
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

std::optional<ShellLink> ReadShortcut(const fs::path& lnk) {
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.OutVoid())))
        return std::nullopt;
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) ||
        FAILED(file->Load(lnk.wstring().c_str(), STGM_READ)))
        return std::nullopt;
    ShellLink result;
    std::vector<wchar_t> buffer(32768);
    if (FAILED(link->GetPath(buffer.data(), int(buffer.size()), nullptr, SLGP_RAWPATH)))
        return std::nullopt;
    result.target = buffer.data();
    buffer[0] = 0;
    if (FAILED(link->GetWorkingDirectory(buffer.data(), int(buffer.size()))))
        return std::nullopt;
    result.workingFolder = buffer.data();
    buffer[0] = 0;
    if (FAILED(link->GetArguments(buffer.data(), int(buffer.size()))))
        return std::nullopt;
    result.arguments = buffer.data();
    return result;
}

fs::path KnownFolder(const GUID& id) {
    wchar_t* path = nullptr;
    fs::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

std::optional<fs::path> FindStartMenuEntry(const std::wstring& name) {
    for (const GUID* folder : {&FOLDERID_CommonPrograms, &FOLDERID_Programs}) {
        const fs::path lnk = KnownFolder(*folder) / (name + L".lnk");
        std::error_code ec;
        if (fs::exists(lnk, ec))
            return lnk;
    }
    return std::nullopt;
}

bool SamePath(const fs::path& a, const fs::path& b) {
    const std::wstring x = Trimmed(a.wstring());
    const std::wstring y = Trimmed(b.wstring());
    return CompareStringOrdinal(x.c_str(), int(x.size()), y.c_str(), int(y.size()), TRUE) ==
           CSTR_EQUAL;
}

} // namespace installer
