#include "core/file_io.h"

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

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

File::~File() { Close(); }
