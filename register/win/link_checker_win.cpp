#include "link_checker_win.h"

#include "core/commands/open_entry.h"
#include "core/grid/reload.h"
#include "support/long_path_win.h"
#include "support/text.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <system_error>
#include <thread>

namespace ombriel {
namespace {

// How long a result is trusted before its row, back on screen, is checked
// again. Half a minute: a document put back or moved away shows within that
// time of the user looking at its row, the rows on screen cost a few dozen
// checks per half minute, and a server that takes its 30 s to time out is
// not asked again before its last answer came back.
// OMBRIEL_LINK_RECHECK_MS shortens it for the tests.
int64_t FreshTime() {
    constexpr int64_t kDefault = 30000;
    const wchar_t* text = _wgetenv(L"OMBRIEL_LINK_RECHECK_MS");
    const long long ms = text ? std::wcstoll(text, nullptr, 10) : 0;
    return ms > 0 ? ms : kDefault;
}

// The rows on screen are looked at this often: a scroll, a resize or a
// result gone stale needs nothing else to be noticed.
constexpr UINT kLookEveryMs = 400;
int64_t NowMs() {
    return int64_t(GetTickCount64());
}

} // namespace

// What the window and the checkers share. The checkers hold it too, so a
// checker still stuck in the system when the window has gone touches only
// memory that lives until it returns.
struct LinkMarks::Shared {
    Shared(LinkMarks::ExistsTest test) : exists(std::move(test)), queue(FreshTime()) {}
    const LinkMarks::ExistsTest exists;
    LinkCheckQueue queue;
    std::atomic<HWND> window{nullptr};
    // A message is on its way: the changes after it ride along, so a first
    // start that finds thousands of targets missing posts a few messages,
    // not one each.
    std::atomic<bool> posted{false};

    // The double-click's looks, made by one thread started with the
    // checkers: a thread started at the moment of the click may take
    // seconds to run (under Wine it now and then does), one that waits for
    // the next look answers at once. A look stuck on a server that does not
    // answer holds only the looks after it, which then keep the last result.
    std::mutex lookMutex;
    std::condition_variable lookWake;
    uint64_t asked = 0;    // looks asked for; the last one's path below
    uint64_t answered = 0; // the look whose answer is below
    std::string lookPath;
    bool lookFound = false;
    bool stopped = false;

    void LookForever() {
        std::unique_lock lock(lookMutex);
        for (uint64_t done = 0;;) {
            lookWake.wait(lock, [&] { return stopped || asked != done; });
            if (stopped)
                return;
            done = asked;
            const std::string path = lookPath;
            lock.unlock();
            const bool found = exists(path);
            lock.lock();
            answered = done;
            lookFound = found;
            lookWake.notify_all();
        }
    }
};

bool TargetExists(const std::string& path) {
    const std::wstring full = support::ExtendedPath(support::PathFromUtf8(path));
    if (GetFileAttributesW(full.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    // Only "not there" counts as missing: a target that exists but may not
    // be looked at (access denied, in use) is no reason for the mark.
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return false;
    default:
        return true;
    }
}

LinkMarks::~LinkMarks() {
    if (!shared_)
        return;
    if (window_)
        KillTimer(window_, kTimerId);
    // Idle checkers return at once. One stuck in a network call is left to
    // end by itself: it holds its own share of the queue, posts nothing
    // once the window is forgotten here, and the process's exit ends it, so
    // it never keeps the window, or the program, waiting.
    shared_->window = nullptr;
    shared_->queue.Stop();
    {
        std::lock_guard lock(shared_->lookMutex);
        shared_->stopped = true;
    }
    shared_->lookWake.notify_all();
}

void LinkMarks::Start(HWND window, HWND list) {
    window_ = window;
    list_ = list;
    shared_ = std::make_shared<Shared>(exists_);
    shared_->window = window;
    // A thread the system refuses leaves fewer checkers (with none, no
    // marks), or no looks: the double-click then keeps the last result.
    try {
        std::thread([s = shared_] { s->LookForever(); }).detach();
        for (int i = 0; i < kCheckers; ++i) {
            std::thread([s = shared_] {
                while (auto job = s->queue.Take()) {
                    const bool exists = s->exists(job->path);
                    if (s->queue.Complete(*job, exists, NowMs()) && !s->posted.exchange(true)) {
                        if (HWND w = s->window.load();
                            !w || !PostMessageW(w, kChangedMessage, 0, 0))
                            s->posted = false;
                    }
                }
            }).detach();
        }
    } catch (const std::system_error&) {
    }
    SetTimer(window_, kTimerId, kLookEveryMs, nullptr);
}

void LinkMarks::Reload(const std::vector<StoredRecord>& records,
                       const std::filesystem::path& startFolder) {
    if (!shared_)
        return;
    const std::string folder = support::Utf8FromPath(startFolder);
    // Where a double-click looks for each target, end to end in one text.
    std::string paths;
    std::vector<std::pair<size_t, size_t>> pathAt; // (record, end of its path)
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].fields.target.empty())
            continue;
        paths += DocumentPath(records[i].fields.target, folder);
        pathAt.push_back({i, paths.size()});
    }
    std::vector<LinkEntry> links;
    links.reserve(pathAt.size());
    size_t start = 0;
    for (const auto& [i, end] : pathAt) {
        links.push_back(
            {int(i) + 1, records[i].fileName, std::string_view(paths).substr(start, end - start)});
        start = end;
    }
    for (int row : shared_->queue.SetEntries(std::move(links))) {
        if (row >= model_.Rows())
            continue;
        model_.SetLinkMark(row, true);
        if (onMarkChanged)
            onMarkChanged(row);
    }
    // The grid was rebuilt just now and has not been painted since: the
    // marks known show with it, never blank for a moment.
    if (list_)
        InvalidateRect(list_, nullptr, FALSE);
    ShowRowsOnScreen();
}

std::pair<int, int> LinkMarks::RowsOnScreen() const {
    if (!list_ || !IsWindowVisible(list_))
        return {0, -1};
    const int top = ListView_GetTopIndex(list_);
    const int count = ListView_GetCountPerPage(list_);
    // Model rows are items + 1; one more for the row cut off at the bottom.
    return {top + 1, top + count + 1};
}

void LinkMarks::ShowRowsOnScreen() {
    const auto [first, last] = RowsOnScreen();
    if (first <= last)
        shared_->queue.ShowRows(first, last, NowMs());
}

void LinkMarks::ApplyChanges() {
    // Cleared first: a change recorded from now on posts again.
    shared_->posted = false;
    // Only rows on screen are redrawn, and in one go: a start that finds
    // thousands of targets missing would otherwise invalidate each row by
    // itself, which under Wine kept the window busy for seconds.
    const auto [top, bottom] = RowsOnScreen();
    int firstShown = INT_MAX, lastShown = -1;
    for (const LinkMarkChange& change : shared_->queue.TakeChanges()) {
        if (change.row < 1 || change.row >= model_.Rows())
            continue;
        model_.SetLinkMark(change.row, change.missing);
        if (change.row >= top && change.row <= bottom) {
            firstShown = std::min(firstShown, change.row);
            lastShown = std::max(lastShown, change.row);
        }
        if (onMarkChanged)
            onMarkChanged(change.row);
    }
    if (lastShown >= 0)
        ListView_RedrawItems(list_, firstShown - 1, lastShown - 1);
}

bool LinkMarks::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
    if (!shared_)
        return false;
    if (msg == WM_TIMER && wp == kTimerId) {
        ShowRowsOnScreen();
        return true;
    }
    if (msg == kChangedMessage) {
        ApplyChanges();
        return true;
    }
    return false;
}

bool LinkMarks::ReportIfMissing(int row, CommandUi& ui) {
    if (!shared_)
        return false;
    const std::optional<std::string> path = shared_->queue.PathOf(row);
    if (!path)
        return false;
    // The look runs on the looking thread, so a server that does not
    // answer holds the window for a moment only.
    Shared& s = *shared_;
    std::unique_lock lock(s.lookMutex);
    const uint64_t look = ++s.asked;
    s.lookPath = *path;
    s.lookWake.notify_all();
    if (s.lookWake.wait_for(lock, lookAgain_, [&] { return s.answered == look; })) {
        const bool found = s.lookFound;
        lock.unlock();
        s.queue.Found(row, found, NowMs());
        ApplyChanges();
    } else {
        lock.unlock();
    }
    if (!shared_->queue.IsMissing(row))
        return false;
    ReportMissingLink(*path, ui);
    return true;
}

} // namespace ombriel
