// The streaming keyword search against a plain std::search over the whole
// data: the same non-overlapping occurrences, whatever the keyword and
// wherever the block edges (and empty blocks) fall.
#include "../fuzz_check.h"
#include "core/split/keyword_scanner.h"

#include <algorithm>
#include <vector>

using namespace zelbrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // [keyword length][keyword][block-size seed][data...]
    if (size < 2)
        return 0;
    const size_t k = 1 + data[0] % 32;
    if (size < 2 + k)
        return 0;
    const std::string keyword(reinterpret_cast<const char*>(data + 1), k);
    const uint8_t seed = data[1 + k];
    const std::string text(reinterpret_cast<const char*>(data + 2 + k), size - 2 - k);

    std::vector<uint64_t> expected;
    for (auto at = text.begin();;) {
        at = std::search(at, text.end(), keyword.begin(), keyword.end());
        if (at == text.end())
            break;
        at += static_cast<std::ptrdiff_t>(k);
        expected.push_back(static_cast<uint64_t>(at - text.begin()));
    }

    KeywordScanner scanner(keyword);
    std::vector<uint64_t> ends;
    uint32_t state = seed * 2654435761u + 1;
    for (size_t at = 0; at < text.size();) {
        state = state * 1103515245u + 12345u;
        // Mostly short blocks, so that edges fall inside occurrences; now and
        // then an empty one.
        const size_t want = (state >> 16) % (2 * k + 3);
        const size_t n = std::min(want, text.size() - at);
        scanner.Feed(text.data() + at, n, ends);
        at += n;
    }
    FUZZ_CHECK(ends == expected);
    return 0;
}
