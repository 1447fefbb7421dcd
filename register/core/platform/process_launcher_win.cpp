// Starts a viewer or an entry with CreateProcessW: the program is named
// explicitly, so the system never guesses it from a command line with spaces.
#include "core/platform/process_launcher.h"

#include "core/platform/platform.h"

#include "support/handles_win.h"
#include "support/text.h"

#include <windows.h>

#include <vector>

namespace ombriel {
namespace {

class WinLauncher : public ProcessLauncher {
  public:
    Error Launch(const LaunchRequest& request) override {
        Platform& platform = SystemPlatform();
        // An unset viewer path names no program at all.
        if (request.program.empty())
            return platform.MakeError(ERROR_FILE_NOT_FOUND);
        const std::wstring program = support::Widen(request.program);
        const std::wstring line = support::Widen(request.commandLine);
        std::vector<wchar_t> mutableLine(line.begin(), line.end());
        mutableLine.push_back(L'\0');

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow =
            request.windowState == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &info))
            return platform.MakeError(GetLastError());
        // The register keeps no link to what it started.
        support::UniqueHandle thread(info.hThread);
        support::UniqueHandle process(info.hProcess);
        return {};
    }
};

} // namespace

ProcessLauncher& SystemLauncher() {
    static WinLauncher launcher;
    return launcher;
}

} // namespace ombriel
