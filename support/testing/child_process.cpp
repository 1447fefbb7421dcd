#include "support/testing/child_process.h"

namespace support::testing {

ChildEnd RunChild(const std::filesystem::path& exe, const std::vector<std::string>& args,
                  const std::filesystem::path& workdir) {
    ChildProcess child(exe, args, workdir);
    return child.Wait();
}

} // namespace support::testing
