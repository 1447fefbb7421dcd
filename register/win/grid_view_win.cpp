#include "grid_view_win.h"

#include "support/handles_win.h"
#include "support/text.h"

#include <commctrl.h>

namespace ombriel {
namespace {

using support::Widen;

COLORREF ToColorRef(Rgb c) {
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

} // namespace

void GridView::Create(HWND parent, int id) {
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                            0, 0, 10, 10, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                            GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    // The header reports its drawing to the list view, which does not pass it
    // on everywhere: catch it there to paint the fixed row grey.
    SetWindowSubclass(hwnd_, &GridView::ListViewProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(ListView_GetHeader(hwnd_), &GridView::HeaderProc, 2,
                      reinterpret_cast<DWORD_PTR>(this));
    for (int c = 0; c < GridModel::kCols; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.cx = 10;
        col.pszText = const_cast<wchar_t*>(L"");
        col.iSubItem = c;
        ListView_InsertColumn(hwnd_, c, &col);
    }
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = parent;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
}

void GridView::SetFont(HFONT font) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void GridView::ApplyDpi(int dpi) {
    dpi_ = dpi;
    UpdateColumns();
}

void GridView::UpdateColumns() {
    settingColumns_ = true;
    for (int c = 0; c < GridModel::kCols; ++c) {
        std::wstring text = Widen(model_.TextMatrix(0, c));
        LVCOLUMNW col{};
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = MulDiv(model_.ColWidth(c), dpi_, 1440);
        col.pszText = text.data();
        ListView_SetColumn(hwnd_, c, &col);
    }
    settingColumns_ = false;
}

void GridView::Refresh() {
    const int items = model_.Rows() - 1;
    ListView_SetItemCountEx(hwnd_, items, 0);
    UpdateColumns();
    // The current cell gets the focus frame, not the selection: no row
    // counts as chosen after a refill, and a highlight would hide its colour.
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (model_.Row() >= 1) {
        ListView_SetItemState(hwnd_, model_.Row() - 1, LVIS_FOCUSED, LVIS_FOCUSED);
        // The current row is in sight, so the keyboard starts where the user looks.
        ListView_EnsureVisible(hwnd_, model_.Row() - 1, FALSE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void GridView::ShowPosition(int selectedRow, int topRow) {
    if (selectedRow >= 1) {
        settingSelection_ = true;
        ListView_SetItemState(hwnd_, selectedRow - 1, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        settingSelection_ = false;
    }
    RECT item{};
    if (topRow < 1 || !ListView_GetItemRect(hwnd_, 0, &item, LVIR_BOUNDS))
        return;
    const int lines = (topRow - 1) - ListView_GetTopIndex(hwnd_);
    if (lines != 0)
        ListView_Scroll(hwnd_, 0, lines * (item.bottom - item.top));
}

int GridView::TopRow() const {
    return model_.Rows() > 1 ? ListView_GetTopIndex(hwnd_) + 1 : 0;
}

void GridView::SetToolTipText(const std::string& text) {
    model_.SetToolTipText(text);
    tipText_ = Widen(text);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = GetParent(hwnd_);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = tipText_.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tooltip_, TTM_ACTIVATE, tipText_.empty() ? FALSE : TRUE, 0);
}

void GridView::SetCurrentCell(int item, int subItem) {
    if (item < 0) {
        // No row is chosen: nothing may stay highlighted as if it were.
        model_.SetRow(0);
        ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
        return;
    }
    model_.SetRow(item + 1);
    model_.SetCol(subItem);
    // A click on any cell chooses its row, and the selector column shows it:
    // the list alone would mark the row only for a click in its first column.
    settingSelection_ = true;
    ListView_SetItemState(hwnd_, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    settingSelection_ = false;
}

void GridView::SelectRow(int row) {
    if (row < 1 || row >= model_.Rows())
        return;
    SetCurrentCell(row - 1, model_.Col());
    ListView_EnsureVisible(hwnd_, row - 1, FALSE);
}

POINT GridView::MenuPoint(int row) const {
    RECT cell{};
    POINT at{0, 0};
    if (row >= 1 && ListView_GetSubItemRect(hwnd_, row - 1, 1, LVIR_LABEL, &cell))
        at = POINT{cell.left, cell.bottom};
    ClientToScreen(hwnd_, &at);
    return at;
}

// The cell is the list's own hit test of the press, never the pointer's
// position: a pen, a touch or a remote click leaves the pointer elsewhere.
void GridView::ChooseClickedCell(int item, int subItem, POINT at) {
    if (item < 0 || subItem < 0) {
        LVHITTESTINFO hit{};
        hit.pt = at;
        if (ListView_SubItemHitTest(hwnd_, &hit) >= 0) {
            item = hit.iItem;
            subItem = hit.iSubItem;
        }
    }
    SetCurrentCell(item, subItem < 0 ? 0 : subItem);
}

void GridView::Raise(const std::function<void()>& handler) const {
    if (handler) {
        handler();
    }
}

// Keys every list takes: Enter opens, Delete deletes, F2 edits. Returns true
// when the key is used up here.
bool GridView::OnKeyDown(WPARAM key) {
    switch (key) {
    case VK_RETURN: {
        const int selected = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
        if (selected >= 0) {
            SetCurrentCell(selected, model_.Col());
            Raise(onDoubleClick);
        }
        return true;
    }
    case VK_DELETE:
        Raise(onDeleteKey);
        return true;
    case VK_F2:
        Raise(onEditKey);
        return true;
    case VK_ADD:
        // Ctrl and + would fit every column to its texts.
        return GetKeyState(VK_CONTROL) < 0;
    default:
        return false;
    }
}

bool GridView::BlocksHeaderChange(const NMHEADERW* nm) const {
    return !settingColumns_ && nm->pitem && (nm->pitem->mask & HDI_WIDTH);
}

LRESULT CALLBACK GridView::ListViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<GridView*>(data);
    switch (msg) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lp);
        if (hdr->hwndFrom != ListView_GetHeader(hwnd)) {
            break;
        }
        if (hdr->code == NM_CUSTOMDRAW) {
            return self->HeaderCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(hdr));
        }
        // The column widths are the program's: the user neither drags a
        // divider nor fits a column to its texts.
        if (hdr->code == HDN_BEGINTRACKW || hdr->code == HDN_BEGINTRACKA ||
            hdr->code == HDN_DIVIDERDBLCLICKW || hdr->code == HDN_DIVIDERDBLCLICKA) {
            return TRUE;
        }
        if ((hdr->code == HDN_ITEMCHANGINGW || hdr->code == HDN_ITEMCHANGINGA) &&
            self->BlocksHeaderChange(reinterpret_cast<NMHEADERW*>(hdr))) {
            return TRUE;
        }
        break;
    }
    case WM_GETDLGCODE: {
        // The window's dialog navigation would take Enter for a default
        // button; on the grid it opens the selected entry.
        LRESULT code = DefSubclassProc(hwnd, msg, wp, lp);
        const auto* key = reinterpret_cast<const MSG*>(lp);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_KEYDOWN:
        if (self->OnKeyDown(wp)) {
            return 0;
        }
        if (wp == VK_UP || wp == VK_DOWN || wp == VK_HOME || wp == VK_END || wp == VK_PRIOR ||
            wp == VK_NEXT) {
            // The list moves its selection first; the row it lands on is then
            // chosen as if it had been clicked.
            LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
            const int focused = ListView_GetNextItem(hwnd, -1, LVNI_FOCUSED);
            if (focused >= 0) {
                self->SetCurrentCell(focused, self->model_.Col());
                self->Raise(self->onClick);
            }
            return result;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK GridView::HeaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR data) {
    auto* self = reinterpret_cast<GridView*>(data);
    switch (msg) {
    case WM_SETCURSOR:
        // No sizing arrows over the dividers: the widths cannot be changed.
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A click on the heading row chooses no row; it never reaches the
        // header, so no divider can be dragged or double-clicked either.
        self->SetCurrentCell(-1, 0);
        self->Raise(self->onClick);
        return 0;
    default:
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
}

bool GridView::HandleNotify(NMHDR* hdr, LRESULT& result) {
    if (hdr->hwndFrom != hwnd_) {
        return false;
    }
    switch (hdr->code) {
    case LVN_GETDISPINFOW: {
        auto* di = reinterpret_cast<NMLVDISPINFOW*>(hdr);
        if (di->item.mask & LVIF_TEXT) {
            textBuffer_ = Widen(model_.TextMatrix(di->item.iItem + 1, di->item.iSubItem));
            lstrcpynW(di->item.pszText, textBuffer_.c_str(), di->item.cchTextMax);
        }
        result = 0;
        return true;
    }
    case NM_CLICK:
    case NM_DBLCLK: {
        const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(hdr);
        ChooseClickedCell(click->iItem, click->iSubItem, click->ptAction);
        // A press the list took for the start of a drag sends no click, and
        // a double-click may then come without one: the row double-clicked
        // is chosen all the same, so a later Delete acts on the row opened.
        Raise(onClick);
        if (hdr->code == NM_DBLCLK)
            Raise(onDoubleClick);
        result = 0;
        return true;
    }
    case LVN_ITEMCHANGED: {
        // Whatever highlights a row (a press whose click the list never
        // reports, because the pointer moved on the way), that row is the one
        // the commands act on: the row shown chosen and SelectedRow agree.
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(hdr);
        const bool selected =
            (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
        if (!settingSelection_ && change->iItem >= 0 && selected) {
            model_.SetRow(change->iItem + 1);
            Raise(onClick);
        }
        result = 0;
        return true;
    }
    case LVN_BEGINDRAG: {
        // The grid drags nothing: a press that moved is still a click.
        const auto* press = reinterpret_cast<const NMLISTVIEW*>(hdr);
        ChooseClickedCell(press->iItem, -1, press->ptAction);
        Raise(onClick);
        result = 0;
        return true;
    }
    case NM_CUSTOMDRAW:
        result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(hdr));
        return true;
    default:
        return false;
    }
}

LRESULT GridView::CustomDraw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const int row = int(cd->nmcd.dwItemSpec) + 1;
        const int col = cd->iSubItem;
        const bool selected = col == 0 && (cd->nmcd.uItemState & CDIS_SELECTED);
        if (!selected) {
            cd->clrTextBk = ToColorRef(model_.CellBackColor(row, col));
            cd->clrText = RGB(0, 0, 0);
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

LRESULT GridView::HeaderCustomDraw(NMCUSTOMDRAW* cd) {
    switch (cd->dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int col = int(cd->dwItemSpec);
        support::UniqueBrush brush(CreateSolidBrush(ToColorRef(kFixedCellColor)));
        FillRect(cd->hdc, &cd->rc, brush.Get());
        RECT edge = cd->rc;
        DrawEdge(cd->hdc, &edge, BDR_RAISEDINNER, BF_RECT);
        std::wstring text = Widen(model_.TextMatrix(0, col));
        RECT tr = cd->rc;
        InflateRect(&tr, -MulDiv(4, dpi_, 96), 0);
        SetBkMode(cd->hdc, TRANSPARENT);
        SetTextColor(cd->hdc, RGB(0, 0, 0));
        DrawTextW(cd->hdc, text.c_str(), int(text.size()), &tr,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

} // namespace ombriel
