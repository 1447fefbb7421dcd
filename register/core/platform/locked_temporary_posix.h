#pragma once
// A writer's temporary file that is locked before its name appears: the
// clean-up of leftovers takes only temporary files whose lock it can get, so
// a writer's file must never be seen unlocked, not even for a moment.
#include "support/unique_fd_posix.h"

#include <filesystem>

namespace ombriel {

// Creates a new temporary file of this writer beside file (a name from
// TemporaryNameFor, never one that exists), open for writing and locked,
// naming it in temp. errno on failure, else 0.
int CreateLockedTemporary(const std::filesystem::path& file, std::filesystem::path& temp,
                          support::UniqueFd& fd);

} // namespace ombriel
