#include "core/files/file_io.h"

namespace zelbrin {

File::File(File&& other) noexcept : handle_(other.handle_), lastError_(other.lastError_) {
    other.handle_ = kClosed;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        lastError_ = other.lastError_;
        other.handle_ = kClosed;
    }
    return *this;
}

File::~File() {
    Close();
}

} // namespace zelbrin
