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

// The look at Doc the program makes.
uint32_t ProbeDoc(const std::filesystem::path& doc) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(support::ExtendedPath(doc).c_str(), GetFileExInfoStandard, &data)) {
        // What is missing is a folder: the user reads "path not found", not
        // "file not found".
        const DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : e;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_PATH_NOT_FOUND;
}

// How long closing the window waits for the thread to end by itself.
constexpr DWORD kStopWaitMs = 2000;

// Re-arms a watch after it fired; a watch that cannot be re-armed (a share
// that dropped) is let go and armed again from scratch later.
void Rearm(UniqueChangeNotification& watch) {
    if (!FindNextChangeNotification(watch.Get()))
        watch.Reset();
}

} // namespace

struct DocWatcher::State {
    void Run();
    void Arm();
    // Looks at Doc and posts; a re-listing that finds Doc still missing or
    // out of reach, as the last look did, posts nothing: there is nothing
    // new for the window to read, nor to tell.
    void Post(bool relisting);
    bool Stopping() const { return WaitForSingleObject(stop.Get(), 0) == WAIT_OBJECT_0; }

    ProbeFunction probeDoc = ProbeDoc;
    support::UniqueHandle stop; // manual-reset event: the thread ends
    support::UniqueHandle poke; // auto-reset event: a message is wanted now
    support::UniqueHandle done; // manual-reset event: the thread has ended
    // Used by the thread alone once it runs.
    UniqueChangeNotification docWatch;
    UniqueChangeNotification folderWatch;
    HWND window = nullptr;
    UINT message = 0;
    std::filesystem::path doc;
    std::filesystem::path folder;
    std::atomic<bool> queued{false};
    std::atomic<uint32_t> probe{0};
    uint32_t lastPosted = 0; // the look at Doc of the last message (thread only)
    std::atomic<int64_t> costMs{0};
    // The window's last reading of Doc, in ticks of the schedule's clock.
    std::atomic<RefreshSchedule::Clock::rep> readFrom{0};
    std::atomic<RefreshSchedule::Clock::rep> readUntil{0};
    void TellReadings(RefreshSchedule& schedule) const;
};

bool DocWatcher::Start(HWND window, UINT message, const std::filesystem::path& doc,
                       const std::filesystem::path& registerFolder) {
    Stop();
    auto state = std::make_shared<State>();
    if (probe_)
        state->probeDoc = probe_;
    state->window = window;
    state->message = message;
    state->doc = doc;
    state->folder = registerFolder;
    state->stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    state->poke.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    state->done.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!state->stop || !state->poke || !state->done)
        return false;
    state->Arm();
    try {
        thread_ = std::thread([state] {
            state->Run();
            SetEvent(state->done.Get());
        });
    } catch (const std::system_error&) {
        return false;
    }
    state_ = std::move(state);
    return true;
}

void DocWatcher::Stop() {
    if (!thread_.joinable()) {
        state_.reset();
        return;
    }
    SetEvent(state_->stop.Get());
    if (WaitForSingleObject(state_->done.Get(), kStopWaitMs) == WAIT_OBJECT_0)
        thread_.join();
    else
        thread_.detach(); // it holds its state, and posts nothing once stopped
    state_.reset();
}

void DocWatcher::Taken() {
    if (state_)
        state_->queued = false;
}

uint32_t DocWatcher::LastProbe() const {
    return state_ ? state_->probe.load() : 0;
}

void DocWatcher::SetRefreshCost(std::chrono::milliseconds cost) {
    if (state_)
        state_->costMs = cost.count();
}

void DocWatcher::ReadingStarts() {
    if (state_)
        state_->readFrom = RefreshSchedule::Clock::now().time_since_epoch().count();
}

void DocWatcher::ReadingEnds() {
    if (state_)
        state_->readUntil = RefreshSchedule::Clock::now().time_since_epoch().count();
}

void DocWatcher::State::TellReadings(RefreshSchedule& schedule) const {
    using Clock = RefreshSchedule::Clock;
    schedule.ReadFrom(Clock::time_point(Clock::duration(readFrom.load())));
    schedule.ReadUntil(Clock::time_point(Clock::duration(readUntil.load())));
}

void DocWatcher::Poke() {
    if (state_)
        SetEvent(state_->poke.Get());
}

void DocWatcher::State::Arm() {
    if (!folderWatch)
        folderWatch = Watch(folder, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (!docWatch)
        docWatch = Watch(doc, kDocChanges);
}

void DocWatcher::State::Post(bool relisting) {
    // The look at Doc happens here, on this thread: on a share that has
    // dropped it can take the system's whole network time-out, which the
    // window must not wait through.
    const uint32_t seen = probeDoc(doc);
    if (Stopping() || (relisting && seen != 0 && seen == lastPosted))
        return;
    lastPosted = seen;
    probe = seen;
    // One message in the window's queue at a time: while one waits there, it
    // will read the newest look at Doc when it is taken.
    if (!queued.exchange(true) && !PostMessageW(window, message, 0, 0))
        queued = false;
}

void DocWatcher::State::Run() {
    using Clock = RefreshSchedule::Clock;
    RefreshSchedule schedule(RefreshSchedule::Timing{}, Clock::now());
    for (;;) {
        Arm();
        schedule.SetWatching(docWatch.Valid());
        schedule.SetRefreshCost(std::chrono::milliseconds(costMs.load()));

        std::vector<HANDLE> handles{stop.Get(), poke.Get()};
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
        TellReadings(schedule);
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
        TellReadings(schedule);
        if (schedule.Due(Clock::now())) {
            Post(!schedule.Pending());
            schedule.Asked(Clock::now());
        }
    }
}

} // namespace ombriel
