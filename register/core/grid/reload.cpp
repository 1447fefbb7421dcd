#include "core/grid/reload.h"

#include "core/records/record_store.h"

namespace ombriel {

bool IsReadOnlyArg(std::string_view commandArg) {
    return commandArg == "RO";
}

void FormatGrid(GridModel& grid, bool readOnly) {
    grid.SetTextMatrix(0, 1,
                       "DESCRIZIONE FILE (" + std::to_string(grid.Rows() - 1) + " file o link)");
    grid.SetTextMatrix(0, 2, "NOME O PERCORSO FILE");
    grid.SetColWidth(0, 400);
    grid.SetColWidth(1, readOnly ? 9200 : 5200);
    grid.SetColWidth(2, readOnly ? 0 : 4000);
}

Rgb TypeColor(std::string_view shown) {
    if (shown.size() < 3) {
        return kWhite;
    }
    std::string type(shown.substr(shown.size() - 3));
    for (char& c : type) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c + 32);
        }
    }
    if (type == "xls") {
        return MakeRgb(192, 255, 192);
    }
    if (type == "doc") {
        return MakeRgb(192, 255, 255);
    }
    if (type == "pdf") {
        return MakeRgb(255, 192, 192);
    }
    if (type == "exe") {
        return MakeRgb(255, 255, 192);
    }
    return kWhite;
}

void ColorRows(GridModel& grid) {
    for (int r = 1; r < grid.Rows(); ++r) {
        Rgb color = TypeColor(grid.TextMatrix(r, 2));
        grid.SetRow(r);
        for (int c = 1; c <= 2; ++c) {
            grid.SetCol(c);
            grid.SetCellBackColor(color);
        }
    }
}

Error ReloadRecords(GridModel& grid, RecordStore& store, bool readOnly) {
    if (Error e = store.Refresh())
        return e;
    // The grid reads the texts where the store keeps them.
    grid.ShowRecords(store.SharedRecords());
    FormatGrid(grid, readOnly);
    ColorRows(grid);
    // The list opens at its top, and the keyboard starts there too.
    if (grid.Rows() > 1)
        grid.SetRow(1);
    // Many records read (a first start, a bulk of changes) are kept for the
    // next start at once: a run that ends without closing its window still
    // spares the next one. The grid holds no texts of its own by now, so the
    // cache's image is the only second copy of them, and only for a moment.
    if (store.CacheWorthSavingNow())
        store.SaveCacheIfChanged();
    return {};
}

Error ReloadRecords(GridModel& grid, Platform& platform, const std::filesystem::path& folder,
                    bool readOnly) {
    RecordStore store(platform, folder);
    return ReloadRecords(grid, store, readOnly);
}

} // namespace ombriel
