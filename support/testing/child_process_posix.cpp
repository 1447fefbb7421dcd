#include "support/testing/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace support::testing {

std::filesystem::path ExecutableFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void KillThisProcess() {
    for (;;)
        ::kill(::getpid(), SIGKILL);
}

ChildProcess::ChildProcess(const std::filesystem::path& exe, const std::vector<std::string>& args,
                           const std::filesystem::path& workdir) {
    const std::filesystem::path program = exe.is_absolute() ? exe : ExecutableFolder() / exe;
    std::vector<std::string> all{program.string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!workdir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workdir.c_str());
    pid_t pid = -1;
    const int err = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0)
        throw std::runtime_error("cannot start " + program.string() + ": " + std::strerror(err));
    id_ = pid;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : id_(std::exchange(other.id_, -1)) {}

ChildProcess::~ChildProcess() {
    if (id_ < 0)
        return;
    ::kill(pid_t(id_), SIGKILL);
    Wait();
}

ChildEnd ChildProcess::Wait() {
    if (id_ < 0)
        return {};
    int status = 0;
    while (::waitpid(pid_t(id_), &status, 0) < 0 && errno == EINTR) {
    }
    id_ = -1;
    if (WIFSIGNALED(status))
        return {WTERMSIG(status) == SIGKILL, -1};
    return {false, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace support::testing
