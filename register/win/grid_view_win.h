#pragma once
// Fgrid on screen: a virtual list view that draws a GridModel. Only the rows
// in sight are ever asked for, so 100,000 records scroll as smoothly as ten.
// Row 0 of the model is the header; model row r is list item r - 1.
#include "core/grid/grid_model.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace ombriel {

class GridView {
  public:
    explicit GridView(GridModel& model) : model_(model) {}
    GridView(const GridView&) = delete;
    GridView& operator=(const GridView&) = delete;

    void Create(HWND parent, int id);
    HWND Hwnd() const { return hwnd_; }

    // Shows the model after it has changed: row count, header texts, column
    // widths, the current cell and the hint.
    void Refresh();
    // After a refresh that keeps the user's place: highlights the chosen row
    // (0: none) and scrolls so that topRow is the first row in sight.
    void ShowPosition(int selectedRow, int topRow);
    // The first data row in sight; 0 when the grid has no data rows.
    int TopRow() const;
    // Column widths in twips at the given DPI.
    void ApplyDpi(int dpi);
    void SetFont(HFONT font);
    // The grid's pop-up hint; an empty text shows none.
    void SetToolTipText(const std::string& text);

    // Makes data row `row` current and selected, scrolled into sight, as a
    // click on it in the current column does, without raising onClick.
    void SelectRow(int row);
    // The screen point where a menu for data row `row` opens: below its
    // first text, where the keyboard's menu appears in every list.
    POINT MenuPoint(int row) const;

    // Raised after a click, or a move with the keyboard, has made a cell
    // current; a click on the heading row or below the last row leaves no
    // row current (row 0).
    std::function<void()> onClick;
    // Raised after a double-click has made the clicked cell current (and
    // raised onClick for it), and for Enter on the selected row, which opens
    // it the same way.
    std::function<void()> onDoubleClick;
    // Delete and F2 on the grid, as every list takes them: delete or edit
    // the selected entry.
    std::function<void()> onDeleteKey;
    std::function<void()> onEditKey;

    // WM_NOTIFY from the list view or its header; returns true when handled.
    bool HandleNotify(NMHDR* hdr, LRESULT& result);

  private:
    void UpdateColumns();
    void SetCurrentCell(int item, int subItem);
    void ChooseClickedCell(int item, int subItem, POINT at);
    void Raise(const std::function<void()>& handler) const;
    bool OnKeyDown(WPARAM key);
    bool BlocksHeaderChange(const NMHEADERW* nm) const;
    LRESULT CustomDraw(NMLVCUSTOMDRAW* cd);
    LRESULT HeaderCustomDraw(NMCUSTOMDRAW* cd);
    static LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR data);
    static LRESULT CALLBACK HeaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR data);

    GridModel& model_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    int dpi_ = 96;
    // Set while the program itself sets the column widths, the only time
    // the header may change them.
    bool settingColumns_ = false;
    // Set while the grid itself highlights the row a click chose.
    bool settingSelection_ = false;
    std::wstring textBuffer_;
    std::wstring tipText_;
};

} // namespace ombriel
