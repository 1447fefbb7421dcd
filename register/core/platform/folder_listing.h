#pragma once
// One pass of a folder's listing. The names lie end to end in blocks that
// never move, so each name stays where it is while more are added: a
// register's Doc lists 100,000 names and more, and a string of its own for
// each would take about three times the room and a call to the allocator.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace ombriel {

// One ordinary file of a folder, as one pass of the folder's listing gives
// it; its name lives in the listing.
struct ListedFile {
    std::string_view name; // UTF-8, without folder
    uint64_t size = 0;
    int64_t writeTime = 0; // last write, in ticks (see Platform::Now)
};

class FolderListing {
  public:
    void Add(std::string_view name, uint64_t size, int64_t writeTime);
    void clear();

    size_t size() const { return files_.size(); }
    bool empty() const { return files_.empty(); }
    const ListedFile& operator[](size_t i) const { return files_[i]; }
    std::vector<ListedFile>::const_iterator begin() const { return files_.begin(); }
    std::vector<ListedFile>::const_iterator end() const { return files_.end(); }

  private:
    std::vector<ListedFile> files_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    size_t left_ = 0;
};

} // namespace ombriel
