#include "hold_file.h"

#include "support/handles_win.h"
#include "support/long_path_win.h"
#include "support/testing/files.h"
#include "support/testing/wait.h"

#include <windows.h>

bool HoldAsWriter(const std::filesystem::path& file, const std::filesystem::path& ready,
                  const std::filesystem::path& release) {
    // As a copy in progress holds it: writing, others may read, none delete.
    support::UniqueHandle h(CreateFileW(support::ExtendedPath(file).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h)
        return false;
    support::testing::WriteBytes(ready, "");
    return support::testing::WaitUntil([&] { return std::filesystem::exists(release); },
                                       std::chrono::minutes(2), std::chrono::milliseconds(5));
}
