#include "core/records/sort_keys.h"

namespace ombriel {

SortKeys::SortKeys(Platform& platform, size_t expected) : platform_(platform) {
    ends_.reserve(expected);
}

void SortKeys::Add(std::string_view text) {
    platform_.AppendSortKey(text, bytes_);
    ends_.push_back(bytes_.size());
}

} // namespace ombriel
