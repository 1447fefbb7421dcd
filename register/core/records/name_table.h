#pragma once
// The names of one listing of a folder, each found in one step. A large
// register's Doc lists 200,000 names; a table of positions in the listing
// holds them in a few bytes each, where a node-based table would take
// several times the listing's own room on top of it.
#include "core/platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace ombriel {

// Names as the Windows file system compares them, near enough: ASCII and the
// Latin-1 letters without regard to case.
bool SameNameFolded(std::string_view a, std::string_view b);

class NameTable {
  public:
    enum class Match { Exact, Folded };
    static constexpr size_t npos = size_t(-1);

    NameTable() = default;
    // Enters the names of listing that admit accepts (all, without it); the
    // listing must outlive the table.
    NameTable(const FolderListing& listing, Match match,
              const std::function<bool(std::string_view)>& admit = {});
    // The position in the listing of the entered name that matches, or npos.
    size_t Find(std::string_view name) const;
    // How many names were entered.
    size_t Count() const { return count_; }
    // By position in the listing: 1 where Find never answers with that
    // position (a name not admitted, or a later one matching an earlier).
    std::vector<char> NotEntered() const;

  private:
    size_t Hash(std::string_view name) const;
    bool Same(std::string_view a, std::string_view b) const;

    const FolderListing* listing_ = nullptr;
    Match match_ = Match::Exact;
    std::vector<uint32_t> slots_; // a listing position + 1; 0 for a free slot
    size_t mask_ = 0;
    size_t count_ = 0;
};

} // namespace ombriel
