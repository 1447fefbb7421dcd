#include "core/grid/link_check_queue.h"

#include <algorithm>

namespace ombriel {

std::string ServerOf(std::string_view path) {
    std::string server;
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 2 && separator(path[0]) && separator(path[1])) {
        const size_t end = path.find_first_of("\\/", 2);
        server = std::string(path.substr(0, end));
    } else if (path.size() >= 2 && path[1] == ':') {
        server = std::string(path.substr(0, 2));
    }
    for (char& c : server) {
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
        else if (c == '/')
            c = '\\';
    }
    return server;
}

LinkCheckQueue::Entry* LinkCheckQueue::Entries::Find(std::string_view key, std::string_view path) {
    auto at = std::lower_bound(byKey.begin(), byKey.end(), key,
                               [&](uint32_t i, std::string_view k) { return KeyOf(list[i]) < k; });
    if (at == byKey.end() || KeyOf(list[*at]) != key || PathOf(list[*at]) != path)
        return nullptr;
    return &list[*at];
}

std::vector<int> LinkCheckQueue::SetEntries(std::vector<LinkEntry> entries) {
    std::vector<int> missing;
    {
        std::lock_guard lock(mutex_);
        // The old entries stay until the new ones took what they knew.
        Entries old = std::move(entries_);
        entries_ = Entries{};
        std::sort(entries.begin(), entries.end(),
                  [](const LinkEntry& a, const LinkEntry& b) { return a.row < b.row; });
        size_t textSize = 0;
        for (const LinkEntry& link : entries)
            textSize += link.key.size() + link.path.size();
        entries_.text.reserve(textSize);
        entries_.list.reserve(entries.size());
        // Neighbouring rows mostly share their server: looked up once.
        auto server = servers_.end();
        for (const LinkEntry& link : entries) {
            Entry e;
            e.row = link.row;
            e.keyAt = entries_.text.size();
            e.keySize = uint32_t(link.key.size());
            e.pathSize = uint32_t(link.path.size());
            entries_.text += link.key;
            entries_.text += link.path;
            std::string name = ServerOf(link.path);
            if (server == servers_.end() || server->first != name)
                server = servers_.try_emplace(std::move(name)).first;
            e.server = server;
            // Known only for the same target: a changed path is never shown
            // with the old path's mark.
            if (const Entry* known = old.Find(link.key, link.path)) {
                e.state = known->state;
                e.checkedAt = known->checkedAt;
            }
            entries_.list.push_back(e);
        }
        entries_.byKey.resize(entries_.list.size());
        for (size_t i = 0; i < entries_.byKey.size(); ++i)
            entries_.byKey[i] = uint32_t(i);
        std::sort(entries_.byKey.begin(), entries_.byKey.end(), [&](uint32_t a, uint32_t b) {
            return entries_.KeyOf(entries_.list[a]) < entries_.KeyOf(entries_.list[b]);
        });

        ready_.clear();
        onScreen_.clear();
        changes_.clear();
        for (auto& [name, server] : servers_)
            server.waiting.clear();
        for (size_t i = 0; i < entries_.list.size(); ++i) {
            const Entry& e = entries_.list[i];
            if (e.state == State::Unknown)
                e.server->second.waiting.push_back(i);
            else if (e.state == State::Missing)
                missing.push_back(e.row);
        }
        for (auto& [name, server] : servers_)
            MakeReady(server);
    }
    wake_.notify_all();
    return missing;
}

LinkCheckQueue::Entry* LinkCheckQueue::EntryAt(int row) {
    auto& list = entries_.list;
    auto at = std::lower_bound(list.begin(), list.end(), row,
                               [](const Entry& e, int r) { return e.row < r; });
    return at != list.end() && at->row == row ? &*at : nullptr;
}

const LinkCheckQueue::Entry* LinkCheckQueue::EntryAt(int row) const {
    return const_cast<LinkCheckQueue*>(this)->EntryAt(row);
}

bool LinkCheckQueue::Stale(const Entry& e) const {
    return e.state == State::Unknown || shownAt_ - e.checkedAt >= freshMs_;
}

void LinkCheckQueue::MakeReady(Server& server) {
    if (!server.busy && !server.waiting.empty())
        ready_.emplace(server.waiting.front(), &server);
}

void LinkCheckQueue::ShowRows(int firstRow, int lastRow, int64_t nowMs) {
    {
        std::lock_guard lock(mutex_);
        shownAt_ = nowMs;
        onScreen_.clear();
        const auto& list = entries_.list;
        auto at = std::lower_bound(list.begin(), list.end(), firstRow,
                                   [](const Entry& e, int r) { return e.row < r; });
        for (; at != list.end() && at->row <= lastRow; ++at) {
            if (Stale(*at))
                onScreen_.push_back(size_t(at - list.begin()));
        }
        if (onScreen_.empty())
            return;
    }
    wake_.notify_all();
}

LinkCheckJob LinkCheckQueue::Hand(Entry& e) {
    e.server->second.busy = true;
    return LinkCheckJob{std::string(entries_.KeyOf(e)), std::string(entries_.PathOf(e)),
                        e.server->first};
}

std::optional<LinkCheckJob> LinkCheckQueue::TakeOnScreen() {
    // A handful of rows: a row whose server is busy waits in place for its
    // turn, the rows after it go on.
    for (size_t i = 0; i < onScreen_.size(); ++i) {
        Entry& e = entries_.list[onScreen_[i]];
        if (!Stale(e)) {
            onScreen_.erase(onScreen_.begin() + std::ptrdiff_t(i--));
            continue;
        }
        if (e.server->second.busy)
            continue;
        onScreen_.erase(onScreen_.begin() + std::ptrdiff_t(i));
        return Hand(e);
    }
    return std::nullopt;
}

std::optional<LinkCheckJob> LinkCheckQueue::TakeNext() {
    while (!ready_.empty()) {
        Server* server = ready_.begin()->second;
        ready_.erase(ready_.begin());
        // Given a row on screen meanwhile: back in line when that ends.
        if (server->busy)
            continue;
        const size_t index = server->waiting.front();
        server->waiting.pop_front();
        Entry& e = entries_.list[index];
        // Checked meanwhile because it was on screen: nothing more to do.
        if (e.state != State::Unknown) {
            MakeReady(*server);
            continue;
        }
        return Hand(e);
    }
    return std::nullopt;
}

std::optional<LinkCheckJob> LinkCheckQueue::TryTake() {
    std::lock_guard lock(mutex_);
    if (stopped_)
        return std::nullopt;
    if (auto job = TakeOnScreen())
        return job;
    return TakeNext();
}

std::optional<LinkCheckJob> LinkCheckQueue::Take() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopped_)
            return std::nullopt;
        if (auto job = TakeOnScreen())
            return job;
        if (auto job = TakeNext())
            return job;
        wake_.wait(lock);
    }
}

bool LinkCheckQueue::Record(Entry& e, bool exists, int64_t nowMs) {
    const bool wasMissing = e.state == State::Missing;
    e.state = exists ? State::Exists : State::Missing;
    e.checkedAt = nowMs;
    if (wasMissing == !exists)
        return false;
    if (!e.changed)
        changes_.push_back(size_t(&e - entries_.list.data()));
    e.changed = true;
    return true;
}

bool LinkCheckQueue::Complete(const LinkCheckJob& job, bool exists, int64_t nowMs) {
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        if (auto server = servers_.find(job.server); server != servers_.end()) {
            server->second.busy = false;
            MakeReady(server->second);
        }
        // The entry may have changed or gone while it was checked.
        if (Entry* e = entries_.Find(job.key, job.path))
            changed = Record(*e, exists, nowMs);
    }
    // The server is free again for the checks waiting on it.
    wake_.notify_all();
    return changed;
}

void LinkCheckQueue::Found(int row, bool exists, int64_t nowMs) {
    std::lock_guard lock(mutex_);
    if (Entry* e = EntryAt(row))
        Record(*e, exists, nowMs);
}

std::vector<LinkMarkChange> LinkCheckQueue::TakeChanges() {
    std::lock_guard lock(mutex_);
    std::vector<LinkMarkChange> out;
    out.reserve(changes_.size());
    // In row order, as the entries are.
    std::sort(changes_.begin(), changes_.end());
    for (size_t i : changes_) {
        Entry& e = entries_.list[i];
        e.changed = false;
        out.push_back({e.row, e.state == State::Missing});
    }
    changes_.clear();
    return out;
}

bool LinkCheckQueue::IsMissing(int row) const {
    std::lock_guard lock(mutex_);
    const Entry* e = EntryAt(row);
    return e && e->state == State::Missing;
}

std::optional<std::string> LinkCheckQueue::PathOf(int row) const {
    std::lock_guard lock(mutex_);
    const Entry* e = EntryAt(row);
    return e ? std::optional<std::string>(entries_.PathOf(*e)) : std::nullopt;
}

void LinkCheckQueue::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

size_t LinkCheckQueue::PendingCount() const {
    std::lock_guard lock(mutex_);
    return size_t(std::count_if(entries_.list.begin(), entries_.list.end(),
                                [](const Entry& e) { return e.state == State::Unknown; }));
}

} // namespace ombriel
