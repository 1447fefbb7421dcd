#pragma once
// Helper programs that tests start beside themselves: to run an operation in
// a process of its own that can die at a chosen moment, or several at once
// on the same files.
#include <filesystem>
#include <string>
#include <vector>

namespace support::testing {

// The folder of the running executable; helper programs are built beside
// the tests that start them.
std::filesystem::path ExecutableFolder();

// The arguments a program was started with, as UTF-8, without its own name
// (on Windows read from the process's wide command line, so any path passes).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Ends the running process at once, as a kill from outside would: nothing
// after this point runs, no buffer is flushed, no destructor runs.
[[noreturn]] void KillThisProcess();

// How a helper program ended.
struct ChildEnd {
    bool killed = false; // by KillThisProcess (or a kill from outside)
    int exitCode = -1;   // when it ended by itself
};

class ChildProcess {
  public:
    // Starts exe (a program name in ExecutableFolder(), ".exe" added on
    // Windows, or a full path) with UTF-8 arguments in `workdir` (empty: the
    // test's working directory), its input empty; on Windows its output goes
    // nowhere. Throws when it cannot be started.
    ChildProcess(const std::filesystem::path& exe, const std::vector<std::string>& args,
                 const std::filesystem::path& workdir = {});
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ChildProcess(ChildProcess&& other) noexcept;
    // Kills the program if it still runs, so a failed test leaves none behind.
    ~ChildProcess();

    // Waits for the program to end.
    ChildEnd Wait();

  private:
    long long id_ = -1; // pid, or the process handle on Windows
};

// Starts exe with args, waits for it and tells how it ended.
ChildEnd RunChild(const std::filesystem::path& exe, const std::vector<std::string>& args,
                  const std::filesystem::path& workdir = {});

} // namespace support::testing
