// A tiny program the driver's own tests steer: it shows the box or dialog
// named on its command line and writes the user's answer to answer.txt in its
// working directory.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <string>

static void WriteAnswer(const std::wstring& text) {
    HANDLE f = CreateFileW(L"answer.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, text.data(), DWORD(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(f);
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmd, int) {
    std::wstring what = cmd;
    if (what == L"yesno") {
        int r = MessageBoxW(nullptr, L"Proceed with città?", L"Probe", MB_YESNO | MB_ICONQUESTION);
        WriteAnswer(std::to_wstring(r));
    } else if (what == L"open") {
        wchar_t file[4096] = {};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFile = file;
        ofn.nMaxFile = 4096;
        ofn.lpstrFilter = L"All\0*.*\0";
        ofn.Flags = OFN_EXPLORER;
        if (GetOpenFileNameW(&ofn))
            WriteAnswer(file);
        else
            WriteAnswer(L"cancel");
    }
    return 0;
}
