#pragma once
// Fgrid on screen: a virtual list view that draws a GridModel. Only the rows
// in sight are ever asked for, so 100,000 records scroll as smoothly as ten.
// Row 0 of the model is the header; model row r is list item r - 1.
#include "core/grid_model.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

class GridView {
public:
    GridView(ombriel::GridModel& model) : model_(model) {}
    GridView(const GridView&) = delete;
    GridView& operator=(const GridView&) = delete;

    void Create(HWND parent, int id);
    HWND Hwnd() const { return hwnd_; }

    // Shows the model after it has changed: row count, header texts, column
    // widths, the current cell and the hint.
    void Refresh();
    // Column widths in twips at the given DPI.
    void ApplyDpi(int dpi);
    void SetFont(HFONT font);
    // The grid's pop-up hint; an empty text shows none.
    void SetToolTipText(const std::string& text);

    // Raised after a click has made the clicked cell current, and after the
    // click of a double-click.
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

    // WM_NOTIFY from the list view or its header; returns true when handled.
    bool HandleNotify(NMHDR* hdr, LRESULT& result);

private:
    void UpdateColumns();
    void SetCurrentFromPoint(POINT screenPoint);
    LRESULT CustomDraw(NMLVCUSTOMDRAW* cd);
    LRESULT HeaderCustomDraw(NMCUSTOMDRAW* cd);
    static LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR data);

    ombriel::GridModel& model_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    int dpi_ = 96;
    std::wstring textBuffer_;
    std::wstring tipText_;
};
