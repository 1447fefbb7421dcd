#pragma once
// Rebuilds the grid from the record files of the Doc folder, then labels,
// sizes and colours it.
#include "core/grid/grid_model.h"
#include "core/platform/platform.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace ombriel {

// Read-only mode: the command-line argument is exactly "RO".
bool IsReadOnlyArg(std::string_view commandArg);

// Header texts and column widths.
void FormatGrid(GridModel& grid, bool readOnly);

// Background colour of a row by the type of its column-2 text.
Rgb TypeColor(std::string_view shown);

// Paints columns 1 and 2 of every data row; the current cell ends on the
// last data row, column 2.
void ColorRows(GridModel& grid);

// The grid after a reload of folder. The caller clears its selected row.
// A folder that exists but cannot be listed (a share that dropped, no
// rights) leaves the grid as it was and gives the listing's failure; a
// missing folder is an empty register.
Error ReloadRecords(GridModel& grid, Platform& platform, const std::filesystem::path& folder,
                    bool readOnly);

} // namespace ombriel
