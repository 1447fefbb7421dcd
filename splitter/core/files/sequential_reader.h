#pragma once
// Reads a file once from its start to its end, a stretch at a time: through
// views of it in the system's cache when it can be mapped (see file_view.h),
// else through a buffer. Either way the bytes come from the file as stored,
// never from memory a writer still holds.
#include "core/files/file_io.h"
#include "core/files/file_view.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace zelbrin {

// Large enough that mapping a view costs nothing beside reading it, also
// under Wine (where each view is a call to its server), and small enough
// that the pages in sight add little to the process's working set: 4, 16
// and 64 MiB read a GiB back equally fast. A multiple of kFileViewAlignment.
inline constexpr size_t kReadViewBytes = size_t{4} << 20;

class SequentialReader {
  public:
    // `file` is open for reading at its start and lies at `path`; it stays
    // open while the reader is used. Stretches are at most `stretch` bytes;
    // `viewBytes` is a multiple of kFileViewAlignment.
    SequentialReader(File& file, const std::filesystem::path& path, size_t stretch,
                     size_t viewBytes = kReadViewBytes);

    // The next bytes of the file, valid until the next call; empty at the
    // end of the file, and from a failed read on (the bytes before it count
    // as read). Where a view cannot be mapped the rest is read through a
    // buffer of `stretch` bytes, allocated only then; the file is read to
    // its end as it is then, also when it grew meanwhile.
    std::span<const unsigned char> Next();

    // The views mapped so far, for tests of the way the bytes were read.
    uint64_t ViewsMapped() const { return viewsMapped_; }

  private:
    bool NextView();
    std::span<const unsigned char> ReadNext();

    File& file_;
    const size_t stretch_;
    const size_t viewBytes_;
    FileMapping mapping_;
    bool mapped_ = false;
    const unsigned char* view_ = nullptr;
    uint64_t viewStart_ = 0;
    uint64_t viewEnd_ = 0;
    uint64_t offset_ = 0; // of the next byte to hand out
    uint64_t viewsMapped_ = 0;
    // Reading through the buffer.
    std::vector<unsigned char> buffer_;
    bool positioned_ = false;
    bool ended_ = false;
};

} // namespace zelbrin
