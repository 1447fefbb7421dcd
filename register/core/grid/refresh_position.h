#pragma once
// Where the user is in the grid, kept across a refresh that another PC's
// change brought: the chosen entry and the first row in sight are found again
// by their RecordKey, since a row number points at another entry as soon as
// an entry is added or removed above it.
#include "core/grid/grid_model.h"

#include <string>

namespace ombriel {

struct GridPosition {
    int selectedRow = 0;     // SelectedRow before the refresh; 0 = none
    std::string selectedKey; // the chosen entry's RecordKey
    int topRow = 0;          // the first row in sight before the refresh; 0 = none
    std::string topKey;      // its RecordKey
    int col = 0;             // the grid's current column
    bool hint = false;       // the chosen row's name or path is shown as the hint
};

// The position before the refresh. selectedRow is SelectedRow (0 = none),
// topRow the first data row in sight (1 for the top of the list).
GridPosition CapturePosition(const GridModel& grid, int selectedRow, int topRow);

struct RestoredPosition {
    int selectedRow = 0; // the chosen entry's new row; 0 when it is gone
    int topRow = 1;      // the row to show first
    int currentRow = 0;  // the grid's current row: the chosen one, else the first in sight
    int col = 0;
    std::string hint; // as a click on the chosen row in the kept column would set it
    // Whether hint replaces the grid's hint: only when a row was chosen. With
    // none, the hint keeps its last text, as it does until the next click.
    bool setHint = false;
};

// The same position in the refreshed grid. An entry deleted elsewhere leaves
// no row chosen and no hint, as a click beside the rows would; a first row
// that is gone gives way to the row now at its place.
RestoredPosition RestorePosition(const GridModel& grid, const GridPosition& before);

} // namespace ombriel
