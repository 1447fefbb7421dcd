#include "core/grid/row_selection.h"

namespace ombriel {

RowClick ClickRow(int currentRow, int currentColumn,
                  const std::function<std::string(int row, int column)>& cellText) {
    RowClick click;
    click.selectedRow = currentRow > 0 ? currentRow : 0;
    if (click.selectedRow != 0 && currentColumn == 2)
        click.hint = cellText(click.selectedRow, 2);
    return click;
}

} // namespace ombriel
