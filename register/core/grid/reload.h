#pragma once
// Rebuilds the grid from the record files of the Doc folder, then labels,
// sizes and colours it.
#include "core/grid/grid_model.h"
#include "core/platform/error.h"
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

class RecordStore;

// The mark column 0 shows on a file entry whose document is not in Doc.
inline constexpr std::string_view kMissingDocumentMark = "!";

// The grid after a refresh of store: rows in the store's order, labelled,
// sized and coloured, the current cell on the first data row (the rows the
// user sees first). The grid shows the store's records where the store keeps
// them (GridModel::ShowRecords). The caller clears its selected row. A refresh that read many
// records writes the store's cache (see RecordStore::CacheWorthSavingNow). A Doc that cannot be
// listed returns the failure and leaves grid and store as they were.
Error ReloadRecords(GridModel& grid, RecordStore& store, bool readOnly);

// The same for one reload of folder, with nothing kept for the next.
Error ReloadRecords(GridModel& grid, Platform& platform, const std::filesystem::path& folder,
                    bool readOnly);

} // namespace ombriel
