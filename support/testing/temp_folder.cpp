#include "support/testing/temp_folder.h"

#include "support/testing/files.h"

#include <random>

namespace support::testing {

TempFolder::TempFolder(const std::string& prefix) {
    std::random_device random;
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() /
                         (prefix + "-" + std::to_string(random()) + std::to_string(random()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
        if (ec)
            throw std::filesystem::filesystem_error("cannot make a test folder", candidate, ec);
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

} // namespace support::testing
