#pragma once
// The small file layer of split and join: one class over a system file
// handle (CreateFileW on Windows, open(2) elsewhere) with 64-bit sizes, every
// read and write examined, and the system's error kept for the message.
// Every call that creates, writes, renames or removes a file passes the crash
// hook of support/crash_point.h first.
#include "support/unique_resource.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace zelbrin {

enum class FileAccess { Read, Write, ReadWrite };
// Whom else the file is shared with while it is open.
enum class FileShare { None, Read, Write, ReadWrite };
// OpenExisting fails on a missing file; CreateAlways creates or truncates.
enum class FileDisposition { OpenExisting, CreateAlways };

// The system's file handle (a HANDLE on Windows, a descriptor elsewhere),
// held as a number so this header names no system type; closed by the
// system file of file_io_win.cpp or file_io_posix.cpp.
struct SystemFileTraits {
    using Handle = intptr_t;
    static constexpr Handle kNone = -1;
    static bool Valid(Handle h) { return h != kNone; }
    static bool Close(Handle h);
};

class File {
  public:
    // False when the file cannot be opened; LastError() tells why.
    bool Open(const std::filesystem::path& path, FileAccess access, FileShare share,
              FileDisposition disposition);
    bool IsOpen() const { return handle_.Valid(); }
    // The system's handle, for a mapping of the file (core/files/file_view.h).
    intptr_t SystemHandle() const { return handle_.Get(); }

    // Reads until `size` bytes or the end of the file. `got` < `size` only at
    // the end of the file. False on a failed read.
    bool Read(void* buffer, size_t size, size_t& got);
    // True only when every byte was written.
    bool Write(const void* buffer, size_t size);
    bool SeekTo(uint64_t offset);
    std::optional<uint64_t> Size();
    // Closes the handle; false if the system reports data it could not
    // write (a full or removed drive can surface only here).
    bool Close();

    // The system error code of the last failed call (errno / GetLastError).
    int LastError() const { return lastError_; }

  private:
    support::UniqueResource<SystemFileTraits> handle_;
    int lastError_ = 0;
};

// Free bytes that the current user may write on the volume that holds the
// folder itself (a mounted folder or a network share is measured on its own
// volume); nullopt when the system cannot tell, e.g. the folder is missing.
std::optional<uint64_t> FreeBytesInFolder(const std::filesystem::path& folder);

// The size of an existing file; nullopt when there is no such file.
std::optional<uint64_t> FileSizeAt(const std::filesystem::path& path);
// 0, or the system's error code (errno / GetLastError).
int RemoveFileAt(const std::filesystem::path& path);
// Replaces an existing file of the new name; 0 or the system's error code.
int RenameFileAt(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace zelbrin
