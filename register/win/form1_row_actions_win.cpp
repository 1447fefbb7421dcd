// Form1's row menu, type-to-find and dropped files: the ways a Windows user
// reaches an entry beyond the buttons.
#include "form1_win.h"

#include "command_ui_win.h"
#include "commands_win.h"
#include "context_menu_win.h"
#include "resource.h"

#include "core/commands/drop_plan.h"
#include "core/commands/entry_path.h"
#include "core/commands/failure_box.h"
#include "core/platform/file_services.h"
#include "core/platform/process_launcher.h"
#include "support/long_path_win.h"
#include "support/text.h"

#include <commctrl.h>
#include <shellapi.h>

namespace ombriel {

void Form1::ConnectRowActions() {
    gridKeys_.onChar = [this](char32_t c) { OnTypedChar(c); };
    gridKeys_.onMenuKey = [this] { OnMenuKey(); };
    AttachGridKeys(Fgrid.Hwnd(), &gridKeys_);
    // In read-only mode nothing can be dropped: no target, no files taken.
    if (!ReadOnly()) {
        dropTarget_.Register(hwnd_, false, [this](DropRequest r) { QueueDrop(std::move(r)); });
        DragAcceptFiles(hwnd_, TRUE);
    }
}

// A right-click on a row chooses it, as a click would, and opens its menu
// there; one on no row opens none.
bool Form1::OnRowNotify(const NMHDR* hdr, LRESULT& result) {
    if (!Fgrid.Hwnd() || hdr->hwndFrom != Fgrid.Hwnd())
        return false;
    int item = -1;
    POINT at{};
    if (hdr->code == NM_RCLICK) {
        const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(hdr);
        item = click->iItem;
        at = click->ptAction;
        if (item < 0) {
            LVHITTESTINFO hit{};
            hit.pt = at;
            item = ListView_SubItemHitTest(Fgrid.Hwnd(), &hit) >= 0 ? hit.iItem : -1;
        }
    } else if (hdr->code == LVN_BEGINRDRAG) {
        // A right press that moved on the way is still a right-click.
        const auto* press = reinterpret_cast<const NMLISTVIEW*>(hdr);
        item = press->iItem;
        at = press->ptAction;
    } else {
        return false;
    }
    result = TRUE;
    if (item < 0)
        return true;
    Fgrid.SelectRow(item + 1);
    OnGridClick();
    ClientToScreen(Fgrid.Hwnd(), &at);
    OnRowMenu(at);
    return true;
}

void Form1::OnMenuKey() {
    if (SelectedRow_ < 1)
        return;
    Fgrid.SelectRow(SelectedRow_);
    OnRowMenu(Fgrid.MenuPoint(SelectedRow_));
}

void Form1::OnRowMenu(POINT screen) {
    // The item chosen comes back as the command it names, so the menu and
    // every other way of sending it run the same code.
    if (const int id = ShowRowMenu(hwnd_, screen, ReadOnly()))
        PostMessageW(hwnd_, WM_COMMAND, WPARAM(id), 0);
}

bool Form1::OnRowCommand(int id) {
    switch (id) {
    case IDM_ROW_APRI:
        if (SelectedRow_ >= 1) {
            gridModel_.SetRow(SelectedRow_);
            OnGridDoubleClick();
        }
        return true;
    case IDM_ROW_APRI_PERCORSO:
        ShowEntryInExplorer();
        return true;
    case IDM_ROW_COPIA_PERCORSO:
        CopyEntryPath();
        return true;
    case IDM_ROW_MODIFICA:
        if (!ReadOnly())
            ModifyDescription(*this);
        return true;
    case IDM_ROW_ELIMINA:
        if (!ReadOnly())
            DeleteEntry(*this);
        return true;
    default:
        return false;
    }
}

void Form1::CopyEntryPath() {
    const std::optional<SelectedEntry> entry = ChosenEntry();
    if (!entry)
        return;
    const std::string path = EntryFullPath(entry->nameOrPath, support::Utf8FromPath(StartFolder_));
    if (!CopyTextToClipboard(hwnd_, support::Widen(path)))
        ShowError(platform_.MakeError(GetLastError()), support::PathFromUtf8(path));
}

void Form1::ShowEntryInExplorer() {
    const std::optional<SelectedEntry> entry = ChosenEntry();
    if (!entry)
        return;
    const std::string path = EntryFullPath(entry->nameOrPath, support::Utf8FromPath(StartFolder_));
    const std::string explorer = support::Narrow(ExplorerPath());
    LaunchRequest request{explorer, SelectInExplorerCommand(explorer, path), WindowState::Normal};
    if (Error failed = SystemLauncher().Launch(request))
        ShowError(failed, ExplorerPath());
}

void Form1::OnTypedChar(char32_t c) {
    const int row = typeToFind_.Type(c, GetTickCount64(), gridModel_, SelectedRow_);
    if (row < 1)
        return;
    Fgrid.SelectRow(row);
    OnGridClick();
}

// Files dropped the way older programs drop them: a plain drop.
void Form1::OnDropFiles(HDROP drop) {
    std::vector<std::wstring> paths = DroppedPaths(drop);
    DragFinish(drop);
    if (!ReadOnly() && !paths.empty())
        QueueDrop(DropRequest{EntryKind::File, std::move(paths)});
}

// The adds run after the drop has returned, one drop after another: a drop
// made while the boxes of an earlier one are up waits for it.
void Form1::QueueDrop(DropRequest request) {
    drops_.push_back(std::move(request));
    if (!runningDrops_)
        PostMessageW(hwnd_, kMsgRunDrops, 0, 0);
}

void Form1::RunDrops() {
    if (runningDrops_)
        return;
    runningDrops_ = true;
    while (!drops_.empty()) {
        DropRequest request = std::move(drops_.front());
        drops_.pop_front();
        std::vector<DroppedItem> items;
        items.reserve(request.paths.size());
        for (const std::wstring& path : request.paths) {
            const DWORD attributes = GetFileAttributesW(support::ExtendedPath(path).c_str());
            items.push_back(
                DroppedItem{support::Narrow(path), attributes != INVALID_FILE_ATTRIBUTES &&
                                                       (attributes & FILE_ATTRIBUTE_DIRECTORY)});
        }
        WinCommandUi ui(hwnd_);
        AddDroppedFiles(request.kind, StartFolder_, items, ui, files_);
        ReloadRecords();
    }
    runningDrops_ = false;
}

} // namespace ombriel
