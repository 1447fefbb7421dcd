#include "core/grid/refresh_position.h"

#include "core/commands/entry_key.h"

#include <algorithm>

namespace ombriel {
namespace {

std::string KeyOfRow(const GridModel& grid, int row) {
    return EntryKeyOf(grid.TextMatrix(row, 2)).key;
}

bool IsDataRow(const GridModel& grid, int row) {
    return row >= 1 && row < grid.Rows();
}

// The row of key, nearest to where it was: an entry moves by as many rows
// as were added or removed above it, which is a few in a refresh, so the
// search starts at its old place and widens. 0 when no row has the key.
int FindKey(const GridModel& grid, const std::string& key, int near) {
    const int rows = grid.Rows();
    near = std::clamp(near, 1, std::max(1, rows - 1));
    for (int d = 0; near - d >= 1 || near + d < rows; ++d) {
        if (near - d >= 1 && KeyOfRow(grid, near - d) == key)
            return near - d;
        if (d > 0 && near + d < rows && KeyOfRow(grid, near + d) == key)
            return near + d;
    }
    return 0;
}

} // namespace

GridPosition CapturePosition(const GridModel& grid, int selectedRow, int topRow) {
    GridPosition p;
    p.col = grid.Col();
    if (IsDataRow(grid, selectedRow)) {
        p.selectedRow = selectedRow;
        p.selectedKey = KeyOfRow(grid, selectedRow);
        p.hint = !grid.ToolTipText().empty();
    }
    if (IsDataRow(grid, topRow)) {
        p.topRow = topRow;
        p.topKey = KeyOfRow(grid, topRow);
    }
    return p;
}

RestoredPosition RestorePosition(const GridModel& grid, const GridPosition& before) {
    RestoredPosition r;
    r.col = before.col;
    const int rows = grid.Rows();
    r.setHint = before.selectedRow != 0;
    if (before.selectedRow != 0)
        r.selectedRow = FindKey(grid, before.selectedKey, before.selectedRow);
    if (rows > 1) {
        const int top = before.topRow != 0 ? FindKey(grid, before.topKey, before.topRow) : 0;
        r.topRow = top != 0 ? top : std::clamp(before.topRow, 1, rows - 1);
    }
    r.currentRow = r.selectedRow != 0 ? r.selectedRow : (rows > 1 ? r.topRow : 0);
    if (r.selectedRow != 0 && before.hint && r.col == 2)
        r.hint = grid.TextMatrix(r.selectedRow, 2);
    return r;
}

} // namespace ombriel
