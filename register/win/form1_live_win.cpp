// Form1's live view: the grid follows changes that others make in Doc while
// the window is open, and says once when Doc cannot be reached.
#include "form1_win.h"

#include "command_ui_win.h"

#include "core/grid/refresh_position.h"
#include "core/grid/reload.h"
#include "core/platform/file_services.h"
#include "support/text.h"

#include <chrono>

namespace ombriel {

void Form1::StartWatching() {
    watcher_.Start(hwnd_, kDocChangedMessage, StartFolder_ / L"Doc", StartFolder_);
}

void Form1::EndBusy() {
    if (--busyDepth_ == 0 && refreshPending_) {
        // The refresh that had to wait runs once, on a fresh look at Doc.
        refreshPending_ = false;
        watcher_.Poke();
    }
}

void Form1::OnDocChanged() {
    watcher_.Taken();
    // A box or dialog of the register is open (its own message loop brought
    // the message here), or a command is under way: refreshing now would
    // move the rows under the command's feet.
    if (busyDepth_ > 0 || !IsWindowEnabled(hwnd_)) {
        refreshPending_ = true;
        return;
    }
    RefreshFromDoc(watcher_.LastProbe());
}

void Form1::RefreshFromDoc(uint32_t probe) {
    const auto started = std::chrono::steady_clock::now();
    const std::filesystem::path doc = StartFolder_ / L"Doc";
    Error failure = probe ? platform_.MakeError(probe) : Error{};
    if (failure && reachability_.MissingMeansEmpty(failure))
        failure = {}; // no Doc yet: an empty register, as at the start
    // Doc may have gone since the watcher looked; a missing Doc lists as
    // empty, and that is a register gone from sight, not one emptied.
    if (!failure && probe == 0 && reachability_.Seen() && !files_.Exists(doc))
        failure = platform_.MakeError(kErrPathNotFound);
    if (!failure) {
        const GridPosition before = CapturePosition(gridModel_, SelectedRow_, Fgrid.TopRow());
        watcher_.ReadingStarts();
        // In place, as a command's reload: a second grid beside the first
        // would double the memory a large register takes.
        failure = ombriel::ReloadRecords(gridModel_, *store_, ReadOnly());
        watcher_.ReadingEnds();
        if (!failure) {
            const RestoredPosition after = RestorePosition(gridModel_, before);
            SelectedRow_ = after.selectedRow;
            gridModel_.SetRow(after.currentRow);
            gridModel_.SetCol(after.col);
            Fgrid.Refresh();
            Fgrid.ShowPosition(after.selectedRow, after.topRow);
            linkMarks_.Reload(store_->Records(), StartFolder_);
            // As a new click on the chosen row would: a missing entry
            // keeps saying why.
            if (after.setHint)
                Fgrid.SetToolTipText(RowHint(after.selectedRow, after.hint));
        }
    }
    watcher_.SetRefreshCost(std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started));
    DocListed(failure, probe == 0);
}

void Form1::DocListed(const Error& listing, bool docExists) {
    if (!listing) {
        reachability_.Listed(docExists);
        return;
    }
    // The grid keeps what it shows; the user hears of it once.
    if (!reachability_.Failed())
        return;
    Busy busy(*this);
    WinCommandUi ui(hwnd_);
    ShowDocUnreachable(ui, support::Utf8FromPath(StartFolder_ / L"Doc"), listing);
}

} // namespace ombriel
