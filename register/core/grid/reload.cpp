#include "core/grid/reload.h"

#include "core/records/record_list.h"

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

Error ReloadRecords(GridModel& grid, Platform& platform, const std::filesystem::path& folder,
                    bool readOnly) {
    Error listing;
    auto entries = LoadRecords(platform, folder, listing);
    if (listing)
        return listing;
    grid.SetRows(1);
    grid.Reserve(static_cast<int>(entries.size()) + 1);
    for (auto& e : entries) {
        std::string shown = e.fields.target.empty() ? e.key : std::move(e.fields.target);
        grid.AddRow({std::string(), std::move(e.fields.description), std::move(shown)});
    }
    FormatGrid(grid, readOnly);
    ColorRows(grid);
    return {};
}

} // namespace ombriel
