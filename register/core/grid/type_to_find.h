#pragma once
// Type-to-find in the grid, as in Explorer's lists: the letters typed within
// a short pause of each other make a prefix, and the selection moves to the
// next entry whose description starts with it, whatever the case and the
// accents. Typing one letter again and again steps through the entries that
// start with it.
#include "core/grid/grid_model.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ombriel {

// A character with its case and accent taken away: "È", "é" and "e" all give
// 'e'; letters without a plain form (and everything else) stay as they are,
// lower-cased where Unicode's Latin letters have a lower case.
char32_t FoldForSearch(char32_t c);

// Whether the UTF-8 text starts with the folded prefix, folding the text on
// the way (no copy is made).
bool StartsWithFolded(std::string_view utf8, std::u32string_view foldedPrefix);

class TypeToFind {
  public:
    // A pause longer than this starts a new search.
    static constexpr uint64_t kPauseMs = 1000;

    // A typed character at time nowMs (any steady clock). currentRow: the
    // grid's selected data row, 0 when none. Returns the data row to select,
    // or 0 when no description matches (the selection stays).
    int Type(char32_t c, uint64_t nowMs, const GridModel& grid, int currentRow);

    // The folded prefix being searched.
    const std::u32string& Prefix() const { return prefix_; }

  private:
    std::u32string prefix_;
    uint64_t lastMs_ = 0;
    bool typed_ = false;
};

} // namespace ombriel
