#include "support/testing/child_process.h"

namespace support::testing {

ChildEnd RunChild(const std::filesystem::path& exe, const std::vector<std::string>& args) {
    ChildProcess child(exe, args);
    return child.Wait();
}

} // namespace support::testing
