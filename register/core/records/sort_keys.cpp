#include "core/records/sort_keys.h"

namespace ombriel {

namespace {

// Keys enough to tell how long the rest will be, near enough.
constexpr size_t kSampleKeys = 64;

} // namespace

SortKeys::SortKeys(Platform& platform, size_t expected) : platform_(platform), expected_(expected) {
    ends_.reserve(expected);
}

void SortKeys::Add(std::string_view text) {
    platform_.AppendSortKey(text, bytes_);
    ends_.push_back(bytes_.size());
    // Room for all of them at once, with an eighth to spare: a string that
    // grows by doubling holds its old room beside the new one for a moment,
    // and ends up to twice as large as it needs.
    if (ends_.size() == kSampleKeys && expected_ > 2 * kSampleKeys)
        bytes_.reserve(bytes_.size() / kSampleKeys * expected_ / 8 * 9);
}

} // namespace ombriel
