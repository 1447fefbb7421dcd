#pragma once
// A read-only mapping of a file opened for reading, and one view of it at a
// time: the file's bytes as the system's cache holds them, reached with no
// copy into a buffer and no system call per block (under Wine every ReadFile
// is a call to its server). A view commits no memory: its pages are the
// cache's own.
#include "core/files/file_io.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace zelbrin {

// A view starts at a multiple of this: Windows' allocation granularity, a
// multiple of every page size.
inline constexpr uint64_t kFileViewAlignment = 65536;

class FileMapping {
  public:
    FileMapping() = default;
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;
    ~FileMapping() { Close(); }

    // Maps `file`, open for reading, which lies at `path`. False when it
    // cannot be mapped, or should not be: an empty file, or a file on a
    // drive that can fail or go away while it is read (a share, a removable
    // disk), where a failed read would come as a fault in the program
    // instead of an error it can report. `file` must stay open meanwhile.
    bool Open(File& file, const std::filesystem::path& path);
    // The bytes the mapping covers, fixed when it was opened.
    uint64_t Size() const { return size_; }
    // Maps [offset, offset + length) of the file in place of the view before
    // it; offset is a multiple of kFileViewAlignment and the stretch lies
    // within Size(). nullptr when the system refuses (or, where a file can
    // shrink under its mapping, when it no longer reaches that far).
    const unsigned char* Map(uint64_t offset, size_t length);
    void Close();

  private:
    void Unmap();

    // Windows: the section, owned; POSIX: the descriptor of the File.
    intptr_t system_ = -1;
    const unsigned char* view_ = nullptr;
    size_t viewLength_ = 0;
    uint64_t size_ = 0;
};

} // namespace zelbrin
