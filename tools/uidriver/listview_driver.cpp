#include "listview_driver.h"

#include <commctrl.h>

#include <stdexcept>
#include <vector>

namespace ui {
namespace {

// A block of memory in the process that owns a window.
class RemoteBlock {
public:
    RemoteBlock(HWND owner, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               pid);
        if (!process_) {
            throw std::runtime_error("cannot open the window's process");
        }
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
        if (!address_) {
            CloseHandle(process_);
            throw std::runtime_error("cannot take memory in the window's process");
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    ~RemoteBlock() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    char* Address() const { return static_cast<char*>(address_); }
    void Write(size_t offset, const void* data, size_t n) const {
        WriteProcessMemory(process_, Address() + offset, data, n, nullptr);
    }
    void Read(size_t offset, void* data, size_t n) const {
        ReadProcessMemory(process_, Address() + offset, data, n, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

constexpr int kTextChars = 4096;

} // namespace

int ListViewItemCount(HWND lv) { return int(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewColumnWidth(HWND lv, int column) {
    return int(SendMessageW(lv, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
}

std::wstring ListViewHeaderText(HWND lv, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(lv, LVM_GETHEADER, 0, 0));
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

int ListViewSelectedCount(HWND lv) { return int(SendMessageW(lv, LVM_GETSELECTEDCOUNT, 0, 0)); }

int WindowDpi(HWND hwnd) {
    UINT dpi = GetDpiForWindow(hwnd);
    return dpi ? int(dpi) : 96;
}

} // namespace ui
