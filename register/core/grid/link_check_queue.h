#pragma once
// Which link targets to check for existence, in which order, and what the
// checks found. Checker threads take jobs and hand back results; the window's
// thread tells the queue which rows are on screen and collects the rows whose
// mark must change. Rows on screen go first, then the rest of the register in
// row order; a result is trusted for a while, then checked again when its row
// is on screen. At most one check per server runs at a time, so a server that
// does not answer holds one checker, never all of them, and its waiting rows
// never stand in the way of another server's.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

// A link entry of the grid: its row, its record file's name and the path its
// existence is tested on. The texts are the caller's, looked at only while
// SetEntries runs: the queue keeps its own copy of all of them in one piece,
// so a register of tens of thousands of links holds no string per link.
struct LinkEntry {
    int row = 0;
    std::string_view key;
    std::string_view path;
};

struct LinkCheckJob {
    std::string key;
    std::string path;
    std::string server;
};

struct LinkMarkChange {
    int row = 0;
    bool missing = false;
};

// The part of a path that one server answers for: "\\server" for a network
// path, the drive ("c:") otherwise; lower case.
std::string ServerOf(std::string_view path);

class LinkCheckQueue {
  public:
    // freshMs: how long a result is trusted before a row on screen is checked
    // again.
    explicit LinkCheckQueue(int64_t freshMs) : freshMs_(freshMs) {}

    // The link entries after a reload. A result for the same key and path is
    // kept, so its row shows its mark at once; a changed path is checked
    // again. Returns the rows that start marked missing.
    std::vector<int> SetEntries(std::vector<LinkEntry> entries);

    // Rows firstRow..lastRow are on screen: those never checked, or checked
    // at least the fresh time before nowMs, go ahead of every other row.
    void ShowRows(int firstRow, int lastRow, int64_t nowMs);

    // For a checker thread: waits for a job whose server has no check in
    // flight; nothing once the queue is stopped.
    std::optional<LinkCheckJob> Take();
    // The same without waiting: nothing when no job can be given now.
    std::optional<LinkCheckJob> TryTake();
    // For a checker thread: the result of a job Take gave; its server is
    // free again. True when a row's mark changes (the window is then told to
    // collect the changes).
    bool Complete(const LinkCheckJob& job, bool exists, int64_t nowMs);

    // A check the window's thread made itself (a double-click looks again).
    void Found(int row, bool exists, int64_t nowMs);

    // For the window's thread: the rows whose mark changed since the last
    // call or the last SetEntries.
    std::vector<LinkMarkChange> TakeChanges();

    // Whether the row is a link whose target was last found missing.
    bool IsMissing(int row) const;
    // The path the row's target is looked for at; nothing for a row that is
    // not a link.
    std::optional<std::string> PathOf(int row) const;

    // Wakes every waiting checker and makes Take return nothing from now on.
    void Stop();

    // Link entries with no result yet.
    size_t PendingCount() const;

  private:
    enum class State : uint8_t { Unknown, Exists, Missing };
    struct Server {
        std::deque<size_t> waiting; // entries never checked, in row order
        bool busy = false;
    };
    // Kept across reloads: a check in flight keeps its server busy.
    using Servers = std::map<std::string, Server, std::less<>>;
    struct Entry {
        int row = 0;
        uint32_t keySize = 0;
        uint32_t pathSize = 0;
        State state = State::Unknown;
        bool changed = false; // in changes_
        size_t keyAt = 0;     // in the texts, the path right after the key
        Servers::iterator server;
        int64_t checkedAt = 0;
    };
    // The entries of a reload with their texts, and their index by key.
    struct Entries {
        std::vector<Entry> list; // in row order
        std::string text;
        std::vector<uint32_t> byKey; // indexes into list, in the order of their keys
        std::string_view KeyOf(const Entry& e) const {
            return std::string_view(text).substr(e.keyAt, e.keySize);
        }
        std::string_view PathOf(const Entry& e) const {
            return std::string_view(text).substr(e.keyAt + e.keySize, e.pathSize);
        }
        Entry* Find(std::string_view key, std::string_view path);
    };

    Entry* EntryAt(int row);
    const Entry* EntryAt(int row) const;
    bool Stale(const Entry& e) const;
    void MakeReady(Server& server);
    std::optional<LinkCheckJob> TakeOnScreen();
    std::optional<LinkCheckJob> TakeNext();
    LinkCheckJob Hand(Entry& e);
    bool Record(Entry& e, bool exists, int64_t nowMs);

    const int64_t freshMs_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopped_ = false;
    Entries entries_;
    Servers servers_;
    // Servers free to check, by the entry index of their first waiting row,
    // so the rest of the register goes in row order across servers.
    std::set<std::pair<size_t, Server*>> ready_;
    std::vector<size_t> onScreen_; // entries on screen still to check
    int64_t shownAt_ = 0;          // the moment of the last ShowRows
    std::vector<size_t> changes_;  // entries whose mark changed, each once
};

} // namespace ombriel
