#pragma once
// A click on the grid: which row becomes the selection Modify and Delete act
// on, and the hint the grid shows.
#include <functional>
#include <string>

namespace ombriel {

struct RowClick {
    int selectedRow = 0; // 0: no row selected
    std::string hint;    // empty: no hint
};

// currentRow and currentColumn: the grid's current cell after the click.
// cellText(row, column) reads a cell.
RowClick ClickRow(int currentRow, int currentColumn,
                  const std::function<std::string(int row, int column)>& cellText);

} // namespace ombriel
