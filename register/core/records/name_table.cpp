#include "core/records/name_table.h"

#include <bit>

namespace ombriel {
namespace {

// The byte at i as a comparison without regard to case sees it: A-Z as a-z,
// and U+00C0..U+00DE (but U+00D7), C3 80..C3 9E in UTF-8, as their small
// letters. A byte folds to C3 only when it is C3, so two names fold alike
// exactly when they compare alike.
unsigned char FoldedAt(std::string_view s, size_t i) {
    auto x = static_cast<unsigned char>(s[i]);
    if (x >= 'A' && x <= 'Z')
        return static_cast<unsigned char>(x + 32);
    if (i > 0 && s[i - 1] == '\xC3' && x >= 0x80 && x <= 0x9E && x != 0x97)
        return static_cast<unsigned char>(x + 0x20);
    return x;
}

} // namespace

bool SameNameFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldedAt(a, i) != FoldedAt(b, i))
            return false;
    return true;
}

NameTable::NameTable(const FolderListing& listing, Match match,
                     const std::function<bool(std::string_view)>& admit)
    : listing_(&listing), match_(match) {
    // At most half full, so that a search ends after a probe or two.
    slots_.assign(std::bit_ceil(2 * listing.size() + 2), 0);
    mask_ = slots_.size() - 1;
    for (size_t at = 0; at < listing.size(); ++at) {
        const std::string_view name = listing[at].name;
        if (admit && !admit(name))
            continue;
        size_t slot = Hash(name) & mask_;
        while (slots_[slot] != 0 && !Same(listing[slots_[slot] - 1].name, name))
            slot = (slot + 1) & mask_;
        if (slots_[slot] == 0) { // the first of names that match is the one found
            slots_[slot] = uint32_t(at + 1);
            ++count_;
        }
    }
}

size_t NameTable::Find(std::string_view name) const {
    if (slots_.empty())
        return npos;
    for (size_t slot = Hash(name) & mask_; slots_[slot] != 0; slot = (slot + 1) & mask_)
        if (Same((*listing_)[slots_[slot] - 1].name, name))
            return slots_[slot] - 1;
    return npos;
}

std::vector<char> NameTable::NotEntered() const {
    std::vector<char> flags(listing_ ? listing_->size() : 0, 1);
    for (const uint32_t slot : slots_)
        if (slot != 0)
            flags[slot - 1] = 0;
    return flags;
}

size_t NameTable::Hash(std::string_view name) const {
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < name.size(); ++i) {
        h ^= match_ == Match::Folded ? FoldedAt(name, i) : static_cast<unsigned char>(name[i]);
        h *= 1099511628211ull;
    }
    return size_t(h ^ (h >> 29));
}

bool NameTable::Same(std::string_view a, std::string_view b) const {
    return match_ == Match::Folded ? SameNameFolded(a, b) : a == b;
}

} // namespace ombriel
