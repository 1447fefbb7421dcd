#include "core/files/sequential_reader.h"

#include <algorithm>

namespace zelbrin {

SequentialReader::SequentialReader(File& file, const std::filesystem::path& path, size_t stretch,
                                   size_t viewBytes)
    : file_(file), stretch_(std::min(stretch, viewBytes)), viewBytes_(viewBytes) {
    mapped_ = mapping_.Open(file, path);
}

std::span<const unsigned char> SequentialReader::Next() {
    if (mapped_ && offset_ < mapping_.Size() && (offset_ < viewEnd_ || NextView())) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(stretch_, viewEnd_ - offset_));
        const unsigned char* at = view_ + (offset_ - viewStart_);
        offset_ += n;
        return {at, n};
    }
    return ReadNext();
}

// The view that starts where the last one ended; false when the system
// refuses it, and the rest is read instead.
bool SequentialReader::NextView() {
    const size_t length =
        static_cast<size_t>(std::min<uint64_t>(viewBytes_, mapping_.Size() - offset_));
    view_ = mapping_.Map(offset_, length);
    if (!view_)
        return false;
    ++viewsMapped_;
    viewStart_ = offset_;
    viewEnd_ = offset_ + length;
    return true;
}

std::span<const unsigned char> SequentialReader::ReadNext() {
    if (ended_)
        return {};
    // Past the views, or refused one: the mapping has done its part.
    mapping_.Close();
    mapped_ = false;
    if (!positioned_) {
        positioned_ = true;
        if (offset_ != 0 && !file_.SeekTo(offset_)) {
            ended_ = true;
            return {};
        }
    }
    if (buffer_.empty())
        buffer_.resize(stretch_);
    size_t got = 0;
    if (!file_.Read(buffer_.data(), buffer_.size(), got) || got == 0) {
        ended_ = true;
        return {};
    }
    // A short read is the end of the file: no call more to find it out.
    ended_ = got < buffer_.size();
    offset_ += got;
    return {buffer_.data(), got};
}

} // namespace zelbrin
