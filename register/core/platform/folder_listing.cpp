#include "core/platform/folder_listing.h"

#include <algorithm>
#include <cstring>

namespace ombriel {
namespace {

constexpr size_t kBlockBytes = 64 * 1024;

} // namespace

void FolderListing::Add(std::string_view name, uint64_t size, int64_t writeTime) {
    if (name.size() > left_) {
        const size_t room = std::max(kBlockBytes, name.size());
        blocks_.push_back(std::make_unique<char[]>(room));
        free_ = blocks_.back().get();
        left_ = room;
    }
    std::memcpy(free_, name.data(), name.size());
    files_.push_back(ListedFile{std::string_view(free_, name.size()), size, writeTime});
    free_ += name.size();
    left_ -= name.size();
}

void FolderListing::clear() {
    // The room goes too: a listing is cleared when its names are done with.
    files_ = std::vector<ListedFile>();
    blocks_ = std::vector<std::unique_ptr<char[]>>();
    free_ = nullptr;
    left_ = 0;
}

} // namespace ombriel
