#include "core/files/file_view.h"

#include <sys/mman.h>
#include <sys/stat.h>

// Here a file can be made shorter while it is mapped, and a page beyond its
// new end faults: each view is mapped only as far as the file then reaches,
// which leaves the time one view is read in for another process to cut it.
// (The shipped program runs on Windows, which refuses to shrink a mapped
// file.)

namespace zelbrin {
namespace {

std::optional<uint64_t> RegularFileSize(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

} // namespace

bool FileMapping::Open(File& file, const std::filesystem::path&) {
    Close();
    const int fd = static_cast<int>(file.SystemHandle());
    const std::optional<uint64_t> size = RegularFileSize(fd);
    if (!size || *size == 0)
        return false;
    system_ = fd;
    size_ = *size;
    return true;
}

const unsigned char* FileMapping::Map(uint64_t offset, size_t length) {
    Unmap();
    const std::optional<uint64_t> now = RegularFileSize(static_cast<int>(system_));
    if (!now || *now < offset + length)
        return nullptr;
    void* view = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, static_cast<int>(system_),
                        static_cast<off_t>(offset));
    if (view == MAP_FAILED)
        return nullptr;
    ::madvise(view, length, MADV_SEQUENTIAL);
    view_ = static_cast<const unsigned char*>(view);
    viewLength_ = length;
    return view_;
}

void FileMapping::Unmap() {
    if (view_)
        ::munmap(const_cast<unsigned char*>(view_), viewLength_);
    view_ = nullptr;
    viewLength_ = 0;
}

void FileMapping::Close() {
    Unmap();
    system_ = -1; // the descriptor stays the File's
    size_ = 0;
}

} // namespace zelbrin
