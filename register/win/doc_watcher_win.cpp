#include "doc_watcher_win.h"

#include "support/long_path_win.h"

#include <vector>

namespace ombriel {
namespace {

// Record files are replaced through a temporary file and renamed into place,
// and documents are moved in: names, sizes and write times cover every
// change that shows in the grid. Reading a record changes none of them, so
// the window's own refresh never wakes the watch.
constexpr DWORD kDocChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

UniqueChangeNotification Watch(const std::filesystem::path& folder, DWORD filter) {
    return UniqueChangeNotification(
        FindFirstChangeNotificationW(support::ExtendedPath(folder).c_str(), FALSE, filter));
}

// Re-arms a watch after it fired; a watch that cannot be re-armed (a share
// that dropped) is let go and armed again from scratch later.
void Rearm(UniqueChangeNotification& watch) {
    if (!FindNextChangeNotification(watch.Get()))
        watch.Reset();
}

} // namespace

bool DocWatcher::Start(HWND window, UINT message, const std::filesystem::path& doc,
                       const std::filesystem::path& registerFolder) {
    Stop();
    window_ = window;
    message_ = message;
    doc_ = doc;
    folder_ = registerFolder;
    stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    poke_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!stop_ || !poke_)
        return false;
    Arm();
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DocWatcher::Stop() {
    if (thread_.joinable()) {
        SetEvent(stop_.Get());
        thread_.join();
    }
    docWatch_.Reset();
    folderWatch_.Reset();
}

void DocWatcher::Arm() {
    if (!folderWatch_)
        folderWatch_ = Watch(folder_, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (!docWatch_)
        docWatch_ = Watch(doc_, kDocChanges);
}

void DocWatcher::ReadingStarts() {
    readFrom_ = RefreshSchedule::Clock::now().time_since_epoch().count();
}

void DocWatcher::Poke() {
    if (poke_)
        SetEvent(poke_.Get());
}

uint32_t DocWatcher::Probe() const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(support::ExtendedPath(doc_).c_str(), GetFileExInfoStandard, &data)) {
        // What is missing is a folder: the user reads "path not found", not
        // "file not found".
        const DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : e;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_PATH_NOT_FOUND;
}

void DocWatcher::Post(bool relisting) {
    // The look at Doc happens here, on this thread: on a share that has
    // dropped it can take the system's whole network time-out, which the
    // window must not wait through.
    const uint32_t probe = Probe();
    if (relisting && probe != 0 && probe == lastPosted_)
        return;
    lastPosted_ = probe;
    probe_ = probe;
    // One message in the window's queue at a time: while one waits there, it
    // will read the newest look at Doc when it is taken.
    if (!queued_.exchange(true) && !PostMessageW(window_, message_, 0, 0))
        queued_ = false;
}

void DocWatcher::Run() {
    using Clock = RefreshSchedule::Clock;
    RefreshSchedule schedule(RefreshSchedule::Timing{}, Clock::now());
    UniqueChangeNotification& docWatch = docWatch_;
    UniqueChangeNotification& folderWatch = folderWatch_;
    for (;;) {
        Arm();
        schedule.SetWatching(docWatch.Valid());
        schedule.SetRefreshCost(std::chrono::milliseconds(costMs_.load()));

        std::vector<HANDLE> handles{stop_.Get(), poke_.Get()};
        const size_t docAt = docWatch ? handles.size() : SIZE_MAX;
        if (docWatch)
            handles.push_back(docWatch.Get());
        const size_t folderAt = folderWatch ? handles.size() : SIZE_MAX;
        if (folderWatch)
            handles.push_back(folderWatch.Get());

        const auto wait = schedule.WaitFor(Clock::now());
        const DWORD r = WaitForMultipleObjects(DWORD(handles.size()), handles.data(), FALSE,
                                               DWORD(std::min<int64_t>(wait.count(), 60000)));
        const auto now = Clock::now();
        if (r == WAIT_OBJECT_0)
            return;
        schedule.ReadFrom(Clock::time_point(Clock::duration(readFrom_.load())));
        if (r == WAIT_OBJECT_0 + 1) {
            Post(false);
            schedule.Asked(now);
            continue;
        }
        if (r == WAIT_FAILED) {
            // A handle went bad under the wait: start the watches afresh.
            docWatch.Reset();
            folderWatch.Reset();
            schedule.Changed(now);
        } else if (r != WAIT_TIMEOUT) {
            const size_t i = r - WAIT_OBJECT_0;
            schedule.Changed(now);
            if (i == docAt)
                Rearm(docWatch);
            if (i == folderAt) {
                Rearm(folderWatch);
                // Doc may have been created, removed or renamed: a watch
                // follows the folder it was opened on, so arm it on the path
                // again.
                docWatch.Reset();
            }
        }
        schedule.ReadFrom(Clock::time_point(Clock::duration(readFrom_.load())));
        if (schedule.Due(Clock::now())) {
            Post(!schedule.Pending());
            schedule.Asked(Clock::now());
        }
    }
}

} // namespace ombriel
