#pragma once
// The content of the record grid Fgrid: rows of three cells with their
// background colours, the column widths, the current cell and the hint. The
// window draws it; the register's logic only talks to this model. Row 0 is
// the fixed header row and column 0 the fixed selector column.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

using Rgb = uint32_t; // 0xRRGGBB

constexpr Rgb MakeRgb(int r, int g, int b) {
    return Rgb(r) << 16 | Rgb(g) << 8 | Rgb(b);
}
inline constexpr Rgb kFixedCellColor = MakeRgb(224, 224, 224);
inline constexpr Rgb kWhite = MakeRgb(255, 255, 255);

class GridModel {
  public:
    static constexpr int kCols = 3;
    using Cells = std::array<std::string, kCols>;

    GridModel();

    // Number of rows, header row included. Setting it removes rows from the
    // end or appends empty ones; the header row always stays.
    int Rows() const { return static_cast<int>(rows_.size()); }
    void SetRows(int rows);
    void Reserve(int rows) { rows_.reserve(static_cast<size_t>(rows)); }

    // Appends a row; text holds the cells from column 0 on, separated by tab
    // characters.
    void AddItem(std::string_view tabSeparated);
    // Appends a row from its cells (texts may hold any character).
    void AddRow(Cells cells);

    const std::string& TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, std::string text);

    int ColWidth(int col) const { return widths_[static_cast<size_t>(col)]; }
    void SetColWidth(int col, int twips) { widths_[static_cast<size_t>(col)] = twips; }

    // The current cell.
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row);
    void SetCol(int col);

    // Paints the current cell only.
    void SetCellBackColor(Rgb color);
    Rgb CellBackColor(int row, int col) const;

    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(std::string text) { toolTip_ = std::move(text); }

  private:
    struct RowData {
        Cells cells;
        std::array<Rgb, kCols> colors{kWhite, kWhite, kWhite};
    };
    bool Valid(int row, int col) const {
        return row >= 0 && row < Rows() && col >= 0 && col < kCols;
    }

    std::vector<RowData> rows_;
    std::array<int, kCols> widths_{};
    int row_ = 0;
    int col_ = 0;
    std::string toolTip_;
};

} // namespace ombriel
