#pragma once
// The file steps both programs take on a POSIX system (where their cores
// are tested natively), as support/file_win.h has them on Windows: each
// passes the crash hook first where it changes a file and returns 0 or
// errno.
#include "support/unique_fd_posix.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

namespace support {

// Writes every byte; a write that takes nothing counts as a full disk.
int WriteAll(int fd, const void* data, size_t size);

// Makes a new temporary file with `create` (given its path; it must fail
// with EEXIST on a taken name) under the names `nextName` gives, at most
// `tries` of them (EBUSY when all are taken: not EEXIST, which would say
// the target exists); `temp` is the one made.
int CreateTemporary(const std::function<std::filesystem::path()>& nextName, int tries,
                    const std::function<int(const std::filesystem::path& temp)>& create,
                    std::filesystem::path& temp);

// A new temporary file, open for writing in `fd` and locked (flock) before
// its name appears, under the names `nextName` gives (see CreateTemporary;
// all in one folder): whoever cleans up leftovers takes only temporaries
// whose lock it can get, so a writer's file is never seen unlocked.
int CreateLockedTemporary(const std::function<std::filesystem::path()>& nextName, int tries,
                          std::filesystem::path& temp, UniqueFd& fd);

// What fills a new file: handed the function that writes one piece (0 or
// errno), it writes its pieces in turn and returns the first failure.
using FileFill = std::function<int(const std::function<int(std::string_view)>& write)>;

// Writes what `fill` makes, durable, into a new locked temporary file, kept
// open and locked in `held` until the caller has given it its name; nothing
// is left behind when it fails.
int WriteTemporary(const FileFill& fill, const std::function<std::filesystem::path()>& nextName,
                   int tries, std::filesystem::path& temp, UniqueFd& held);

// Gives a whole temporary file the target's name in one step: replacing the
// target (rename) or only when the name is free (link, then the temporary
// name goes, so a crash between the two leaves the file whole and one
// unlisted name more). The temporary never stays.
int PublishTemporary(const std::filesystem::path& temp, const std::filesystem::path& target,
                     bool replace);

// WriteTemporary, then PublishTemporary; a target the user made read-only
// refuses the replacement, as on Windows.
int WriteThroughTemporary(const std::filesystem::path& target, std::string_view bytes,
                          const std::function<std::filesystem::path()>& nextName, int tries,
                          bool replace);
// The same for what `fill` makes.
int WriteThroughTemporary(const std::filesystem::path& target, const FileFill& fill,
                          const std::function<std::filesystem::path()>& nextName, int tries,
                          bool replace);

} // namespace support
