#include "hold_file.h"

#include "support/testing/files.h"
#include "support/testing/wait.h"
#include "support/unique_fd_posix.h"

#include <fcntl.h>
#include <sys/file.h>

bool HoldAsWriter(const std::filesystem::path& file, const std::filesystem::path& ready,
                  const std::filesystem::path& release) {
    // As the register's writers hold their temporary files: open and locked.
    support::UniqueFd fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd || ::flock(fd.Get(), LOCK_EX) != 0)
        return false;
    support::testing::WriteBytes(ready, "");
    return support::testing::WaitUntil([&] { return std::filesystem::exists(release); },
                                       std::chrono::minutes(2), std::chrono::milliseconds(5));
}
