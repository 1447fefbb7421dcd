#include "core/split/keyword_scanner.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace zelbrin {

KeywordScanner::KeywordScanner(std::string keyword) : keyword_(std::move(keyword)) {}

void KeywordScanner::Feed(const char* data, size_t size, std::vector<uint64_t>& ends) {
    const size_t k = keyword_.size();
    if (k == 0 || size == 0) {
        consumed_ += size;
        return;
    }
    // The unmatched tail of earlier bytes goes in front, so that an
    // occurrence spanning two blocks is found.
    scratch_.resize(tailSize_ + size);
    std::memcpy(scratch_.data() + tailSize_, data, size);
    const uint64_t scratchStart = consumed_ - tailSize_;
    const char* first = scratch_.data();
    const char* last = first + scratch_.size();
    const std::boyer_moore_horspool_searcher searcher(keyword_.begin(), keyword_.end());
    const char* from = first;
    while (true) {
        const char* hit = std::search(from, last, searcher);
        if (hit == last)
            break;
        from = hit + k;
        ends.push_back(scratchStart + static_cast<uint64_t>(from - first));
    }
    // Keep at most k - 1 bytes that no occurrence has used, for the next block.
    const size_t available = static_cast<size_t>(last - from);
    const size_t keep = std::min(available, k - 1);
    std::memmove(scratch_.data(), last - keep, keep);
    tailSize_ = keep;
    scratch_.resize(keep);
    consumed_ += size;
}

} // namespace zelbrin
