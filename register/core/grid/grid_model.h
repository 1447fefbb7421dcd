#pragma once
// The content of the record grid Fgrid: rows of three cells with their
// background colours, the column widths, the current cell and the hint. The
// window draws it; the register's logic only talks to this model. Row 0 is
// the fixed header row and column 0 the fixed selector column.
//
// The data rows are either the grid's own texts or the records of a
// RecordStore, read where the store keeps them: a register's texts are held
// once, not once by the store and again by the grid.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

struct StoredRecord;

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
    int Rows() const;
    void SetRows(int rows);
    void Reserve(int rows) { rows_.reserve(static_cast<size_t>(rows)); }

    // Appends a row; text holds the cells from column 0 on, separated by tab
    // characters.
    void AddItem(std::string_view tabSeparated);
    // Appends a row from its cells (texts may hold any character).
    void AddRow(Cells cells);

    // Makes records the data rows, without copying a text: row r shows
    // records[r - 1] (column 0 the missing-document mark, column 1 the
    // description, column 2 the link's target or the file entry's key). The
    // grid holds the vector and reads it as it is at each read, so a row
    // beyond its end reads empty, never freed memory, whatever its owner did
    // to it since. Every row starts white.
    void ShowRecords(std::shared_ptr<const std::vector<StoredRecord>> records);
    // Copies the texts of the records shown into the grid's own rows, so the
    // records may go. Changing a data row's text, or adding or removing rows,
    // does the same first.
    void OwnRows();
    bool ShowsRecords() const { return records_ != nullptr; }

    // A cell's text. The view stays valid until the grid's rows, or the
    // records it shows, next change: a caller that keeps it longer copies it.
    std::string_view TextMatrix(int row, int col) const;
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

    // A row whose linked document was found missing shows the mark in
    // column 0 whatever its text, without the grid taking a copy of the
    // records it shows. Every new set of records starts unmarked.
    void SetLinkMark(int row, bool missing);
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(std::string text) { toolTip_ = std::move(text); }

  private:
    using Colors = std::array<Rgb, kCols>;
    bool Valid(int row, int col) const {
        return row >= 0 && row < Rows() && col >= 0 && col < kCols;
    }

    Cells header_;
    // The data rows, row r at r - 1: the grid's own, or the records shown.
    std::vector<Cells> rows_;
    std::shared_ptr<const std::vector<StoredRecord>> records_;
    // The colours of each row from 0 on; rows beyond it are white.
    std::vector<Colors> colors_;
    std::vector<char> linkMarks_; // by row; rows beyond it are unmarked
    std::array<int, kCols> widths_{};
    int row_ = 0;
    int col_ = 0;
    std::string toolTip_;
};

} // namespace ombriel
