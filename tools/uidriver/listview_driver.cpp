#include "listview_driver.h"

#include "remote_block.h"

#include <commctrl.h>

#include <vector>

namespace ui {
namespace {

constexpr int kTextChars = 4096;

} // namespace

int ListViewItemCount(HWND lv) {
    return int(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0));
}

int ListViewColumnWidth(HWND lv, int column) {
    return int(SendMessageW(lv, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
}

std::wstring ListViewHeaderText(HWND lv, int column) {
    HWND header = ListViewHeader(lv);
    RemoteBlock block(lv, sizeof(HDITEMW) + kTextChars * sizeof(wchar_t));
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(block.Address() + sizeof(HDITEMW));
    item.cchTextMax = kTextChars;
    block.Write(0, &item, sizeof item);
    SendMessageW(header, HDM_GETITEMW, WPARAM(column), reinterpret_cast<LPARAM>(block.Address()));
    std::vector<wchar_t> text(kTextChars);
    block.Read(sizeof(HDITEMW), text.data(), text.size() * sizeof(wchar_t));
    text.back() = L'\0';
    return text.data();
}

std::wstring ListViewCellText(HWND lv, int index, int column) {
    RemoteBlock block(lv, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(block.Address() + sizeof(LVITEMW));
    item.cchTextMax = kTextChars;
    block.Write(0, &item, sizeof item);
    SendMessageW(lv, LVM_GETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(block.Address()));
    std::vector<wchar_t> text(kTextChars);
    block.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
    text.back() = L'\0';
    return text.data();
}

RECT ListViewCellRect(HWND lv, int index, int column) {
    RemoteBlock block(lv, sizeof(RECT));
    RECT r{LVIR_BOUNDS, column, 0, 0};
    block.Write(0, &r, sizeof r);
    SendMessageW(lv, LVM_GETSUBITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(block.Address()));
    block.Read(0, &r, sizeof r);
    return r;
}

int ListViewFocusedItem(HWND lv) {
    return int(SendMessageW(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
}

int ListViewTopIndex(HWND lv) {
    return int(SendMessageW(lv, LVM_GETTOPINDEX, 0, 0));
}

int ListViewSelectedItem(HWND lv) {
    return int(SendMessageW(lv, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void ListViewSelectItem(HWND lv, int index) {
    RemoteBlock block(lv, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    block.Write(0, &item, sizeof item);
    SendMessageW(lv, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(block.Address()));
}

HWND ListViewHeader(HWND lv) {
    return reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
}

RECT ListViewHeaderItemRect(HWND lv, int column) {
    HWND header = ListViewHeader(lv);
    RemoteBlock block(header, sizeof(RECT));
    RECT r{};
    block.Write(0, &r, sizeof r);
    SendMessageW(header, HDM_GETITEMRECT, WPARAM(column),
                 reinterpret_cast<LPARAM>(block.Address()));
    block.Read(0, &r, sizeof r);
    return r;
}

int ListViewSelectedCount(HWND lv) {
    return int(SendMessageW(lv, LVM_GETSELECTEDCOUNT, 0, 0));
}

int WindowDpi(HWND hwnd) {
    UINT dpi = GetDpiForWindow(hwnd);
    return dpi ? int(dpi) : 96;
}

} // namespace ui
