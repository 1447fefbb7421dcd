#include "core/grid/grid_model.h"

#include "core/grid/reload.h"
#include "core/records/record_cache.h"

namespace ombriel {
namespace {

constexpr std::array<Rgb, GridModel::kCols> kWhiteRow{kWhite, kWhite, kWhite};

std::string_view RecordCell(const StoredRecord& r, int col) {
    switch (col) {
    case 0:
        return r.documentMissing ? kMissingDocumentMark : std::string_view();
    case 1:
        return r.fields.description;
    default:
        return r.fields.target.empty() ? RecordKeyOf(r.fileName) : r.fields.target;
    }
}

} // namespace

GridModel::GridModel() : widths_{400, 5200, 4000} {}

int GridModel::Rows() const {
    return 1 + static_cast<int>(records_ ? records_->size() : rows_.size());
}

void GridModel::SetRows(int rows) {
    if (rows <= 1) {
        // Every data row goes: nothing of the records shown needs copying.
        records_ = nullptr;
        rows_.clear();
    } else {
        OwnRows();
        rows_.resize(static_cast<size_t>(rows - 1));
    }
    if (colors_.size() > static_cast<size_t>(Rows()))
        colors_.resize(static_cast<size_t>(Rows()));
    if (linkMarks_.size() > static_cast<size_t>(Rows()))
        linkMarks_.resize(static_cast<size_t>(Rows()));
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
    OwnRows();
    rows_.push_back(std::move(cells));
}

void GridModel::ShowRecords(std::shared_ptr<const std::vector<StoredRecord>> records) {
    rows_ = std::vector<Cells>();
    records_ = std::move(records);
    colors_.assign(size_t(Rows()), kWhiteRow);
    linkMarks_.clear();
}

void GridModel::OwnRows() {
    if (!records_)
        return;
    const std::shared_ptr<const std::vector<StoredRecord>> records = std::move(records_);
    rows_.clear();
    rows_.reserve(records->size());
    for (const StoredRecord& r : *records)
        rows_.push_back(Cells{std::string(RecordCell(r, 0)), std::string(RecordCell(r, 1)),
                              std::string(RecordCell(r, 2))});
}

std::string_view GridModel::TextMatrix(int row, int col) const {
    if (!Valid(row, col))
        return {};
    if (row == 0)
        return header_[size_t(col)];
    if (col == 0 && size_t(row) < linkMarks_.size() && linkMarks_[size_t(row)])
        return kMissingDocumentMark;
    if (records_)
        return RecordCell((*records_)[size_t(row - 1)], col);
    return rows_[size_t(row - 1)][size_t(col)];
}

void GridModel::SetTextMatrix(int row, int col, std::string text) {
    if (!Valid(row, col))
        return;
    if (row == 0) {
        header_[size_t(col)] = std::move(text);
        return;
    }
    OwnRows();
    rows_[size_t(row - 1)][size_t(col)] = std::move(text);
}

void GridModel::SetLinkMark(int row, bool missing) {
    if (!Valid(row, 0) || row == 0)
        return;
    if (linkMarks_.size() <= size_t(row)) {
        if (!missing)
            return;
        linkMarks_.resize(size_t(Rows()), 0);
    }
    linkMarks_[size_t(row)] = missing ? 1 : 0;
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
    if (!Valid(row_, col_))
        return;
    if (colors_.size() <= size_t(row_))
        colors_.resize(size_t(Rows()), kWhiteRow);
    colors_[size_t(row_)][size_t(col_)] = color;
}

Rgb GridModel::CellBackColor(int row, int col) const {
    if (row == 0 || col == 0) {
        return kFixedCellColor;
    }
    return Valid(row, col) && size_t(row) < colors_.size() ? colors_[size_t(row)][size_t(col)]
                                                           : kWhite;
}

} // namespace ombriel
