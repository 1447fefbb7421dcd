#pragma once
// Finds a keyword in a stream fed block by block, also across block edges
// and after zero bytes. Occurrences do not overlap.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelbrin {

class KeywordScanner {
  public:
    explicit KeywordScanner(std::string keyword);
    // Appends to `ends` the stream offset just past each occurrence that
    // ends within these bytes.
    void Feed(const char* data, size_t size, std::vector<uint64_t>& ends);

  private:
    std::string keyword_;
    std::vector<char> scratch_;
    size_t tailSize_ = 0;   // unmatched bytes kept at the front of scratch_
    uint64_t consumed_ = 0; // stream bytes fed so far
};

} // namespace zelbrin
