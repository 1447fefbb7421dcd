#include "core/grid/grid_model.h"

namespace ombriel {
namespace {
const std::string kEmpty;
}

GridModel::GridModel() : rows_(1), widths_{400, 5200, 4000} {}

void GridModel::SetRows(int rows) {
    rows_.resize(static_cast<size_t>(rows < 1 ? 1 : rows));
    if (row_ >= Rows()) {
        row_ = Rows() - 1;
    }
}

void GridModel::AddItem(std::string_view text) {
    Cells cells;
    for (int c = 0; c < kCols; ++c) {
        size_t tab = text.find('\t');
        cells[static_cast<size_t>(c)] = std::string(text.substr(0, tab));
        if (tab == std::string_view::npos) {
            break;
        }
        text.remove_prefix(tab + 1);
    }
    AddRow(std::move(cells));
}

void GridModel::AddRow(Cells cells) {
    rows_.push_back(RowData{std::move(cells)});
}

const std::string& GridModel::TextMatrix(int row, int col) const {
    return Valid(row, col) ? rows_[size_t(row)].cells[size_t(col)] : kEmpty;
}

void GridModel::SetTextMatrix(int row, int col, std::string text) {
    if (Valid(row, col)) {
        rows_[size_t(row)].cells[size_t(col)] = std::move(text);
    }
}

void GridModel::SetRow(int row) {
    if (row >= 0 && row < Rows()) {
        row_ = row;
    }
}

void GridModel::SetCol(int col) {
    if (col >= 0 && col < kCols) {
        col_ = col;
    }
}

void GridModel::SetCellBackColor(Rgb color) {
    if (Valid(row_, col_)) {
        rows_[size_t(row_)].colors[size_t(col_)] = color;
    }
}

Rgb GridModel::CellBackColor(int row, int col) const {
    if (row == 0 || col == 0) {
        return kFixedCellColor;
    }
    return Valid(row, col) ? rows_[size_t(row)].colors[size_t(col)] : kWhite;
}

} // namespace ombriel
