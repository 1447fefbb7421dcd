#include "support/testing/child_process.h"

#include "support/handles_win.h"
#include "support/text.h"

#include <windows.h>

#include <shellapi.h>

#include <stdexcept>
#include <utility>

namespace support::testing {
namespace {

// The exit code a killed helper program ends with.
constexpr UINT kKilledExitCode = 0xDEAD;

// One argument as CommandLineToArgvW reads it back unchanged.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE AsHandle(long long id) {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(id));
}

} // namespace

std::filesystem::path ExecutableFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return std::filesystem::path(path).parent_path();
}

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    const UniqueLocalMemory<LPWSTR*> wide(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(Narrow(wide.Get()[i]));
    return args;
}

void KillThisProcess() {
    for (;;)
        TerminateProcess(GetCurrentProcess(), kKilledExitCode);
}

ChildProcess::ChildProcess(const std::filesystem::path& exe, const std::vector<std::string>& args,
                           const std::filesystem::path& workdir) {
    std::filesystem::path program = exe.is_absolute() ? exe : ExecutableFolder() / exe;
    if (!program.has_extension())
        program += L".exe";
    std::wstring commandLine = Quoted(program.wstring());
    for (const std::string& a : args)
        commandLine += L" " + Quoted(Widen(a));
    // No standard handles of the test's: Wine's helper processes could keep
    // a pipe of the test runner open through them.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr,
                                        nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        workdir.empty() ? nullptr : workdir.c_str(), &si, &pi);
    const DWORD err = GetLastError();
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (!started)
        throw std::runtime_error("cannot start " + Narrow(program.wstring()) + ", error " +
                                 std::to_string(err));
    CloseHandle(pi.hThread);
    id_ = reinterpret_cast<intptr_t>(pi.hProcess);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : id_(std::exchange(other.id_, -1)) {}

ChildProcess::~ChildProcess() {
    if (id_ < 0)
        return;
    TerminateProcess(AsHandle(id_), 1);
    Wait();
}

ChildEnd ChildProcess::Wait() {
    if (id_ < 0)
        return {};
    HANDLE process = AsHandle(std::exchange(id_, -1));
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (code == kKilledExitCode)
        return {true, -1};
    return {false, int(code)};
}

} // namespace support::testing
