// A stand-in viewer for the end-to-end tests: writes how it was started to
// "cmdline.txt" in its working directory, as UTF-8 lines: its own path, the
// window state it was asked for, the whole command line, then each argument
// as a program would parse it. Written to a temporary name and renamed, so a
// test never reads half a file.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[32768];
    DWORD len = GetModuleFileNameW(nullptr, self, 32768);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    std::string report = "exe=" + Utf8(std::wstring(self, len)) + "\r\n";
    report += "show=" + std::to_string(show) + "\r\n";
    report += "line=" + Utf8(GetCommandLineW()) + "\r\n";
    int argc = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i)
            report += "arg=" + Utf8(argv[i]) + "\r\n";
        LocalFree(argv);
    }

    HANDLE file = CreateFileW(L"cmdline.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD wrote = 0;
    BOOL ok = WriteFile(file, report.data(), DWORD(report.size()), &wrote, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW(L"cmdline.tmp", L"cmdline.txt", MOVEFILE_REPLACE_EXISTING))
        return 1;
    return 0;
}
