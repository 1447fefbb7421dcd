#pragma once
// The file steps both programs take on Windows, each passing the crash hook
// first where it changes a file, each returning 0 or the system's error
// code: every byte of a write (WriteFile takes 32-bit counts), and a file
// that appears under its name only whole, through a temporary file beside
// it. Each program keeps its own rules (names, numbering) on top.
#include "support/handles_win.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace support {

// Writes every byte, in slices; a write that takes nothing counts as a full
// disk.
uint32_t WriteAll(HANDLE file, const void* data, size_t size);

uint32_t RemoveFile(const std::filesystem::path& file);
// replace: an existing file of the new name is replaced.
uint32_t RenameFile(const std::filesystem::path& from, const std::filesystem::path& to,
                    bool replace);

// Makes a new temporary file with `create` (given its extended path; it must
// fail with ERROR_FILE_EXISTS or ERROR_ALREADY_EXISTS on a taken name) under
// the names `nextName` gives, at most `tries` of them; `temp` is the one
// made.
uint32_t CreateTemporary(const std::function<std::filesystem::path()>& nextName, int tries,
                         const std::function<uint32_t(const std::wstring& temp)>& create,
                         std::wstring& temp);

// Gives a whole temporary file the target's name in one step (replacing the
// target when `replace`, never when not), or removes the temporary. A name
// another process holds open for a moment (a register on a share read by
// another PC) is tried again for a moment before the refusal counts.
uint32_t PublishTemporary(const std::wstring& temp, const std::filesystem::path& target,
                          bool replace);

// What fills a new file: handed the function that writes one piece (0 or
// the system's error code), it writes its pieces in turn and returns the
// first failure. Data too large to hold at once is written as it is made.
using FileFill = std::function<uint32_t(const std::function<uint32_t(std::string_view)>& write)>;

// Writes what `fill` makes, flushed, into a new temporary file (see
// CreateTemporary), kept open in `held` until the caller has given it its
// name: whoever cleans up leftovers cannot delete a file that is open, and
// its sharing lets the rename through. Nothing is left behind when it fails.
uint32_t WriteTemporary(const FileFill& fill,
                        const std::function<std::filesystem::path()>& nextName, int tries,
                        std::wstring& temp, UniqueHandle& held);

// Writes `bytes`, flushed, into a new temporary file and gives it the
// target's name: the file is replaced (or, without `replace`, created) whole
// or not at all. A read-only target refuses the replacement, as it refuses
// a write.
uint32_t WriteThroughTemporary(const std::filesystem::path& target, std::string_view bytes,
                               const std::function<std::filesystem::path()>& nextName, int tries,
                               bool replace);
// The same for what `fill` makes.
uint32_t WriteThroughTemporary(const std::filesystem::path& target, const FileFill& fill,
                               const std::function<std::filesystem::path()>& nextName, int tries,
                               bool replace);

} // namespace support
