#include "core/records/record_store.h"

#include "core/platform/temporary_name.h"
#include "core/records/cache_pruning.h"
#include "core/records/record_list.h"
#include "core/records/sort_keys.h"

#include "support/text.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <string_view>
#include <thread>

namespace ombriel {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A read result that says what the file holds, not that it could not be read.
bool IsContentResult(uint32_t number) {
    return number == kErrNone || number == kErrEndOfFile || number == kErrFileTooLarge;
}

} // namespace

bool IsTemporaryFileName(std::string_view name) {
    return EndsWith(name, kTemporarySuffix);
}

std::vector<std::string> RemoveLeftoverTemporaries(Platform& platform,
                                                   const std::filesystem::path& folder,
                                                   const std::vector<std::string>& names) {
    std::vector<std::string> stayed;
    for (const std::string& name : names)
        if (IsTemporaryFileName(name) &&
            platform.RemoveUnheldFile(folder / support::PathFromUtf8(name)))
            stayed.push_back(name);
    return stayed;
}

std::vector<std::string> RemoveLeftoverTemporaries(Platform& platform,
                                                   const std::filesystem::path& folder) {
    // Only the temporaries: on a share, a listing of the whole of a large
    // Doc before every add would cost more than the add.
    std::string pattern = "*";
    pattern += kTemporarySuffix;
    std::vector<std::string> names;
    if (platform.ListFiles(folder, pattern, names))
        return {};
    return RemoveLeftoverTemporaries(platform, folder, names);
}

RecordStore::RecordStore(Platform& platform, std::filesystem::path docFolder,
                         std::filesystem::path cacheFile)
    : platform_(platform), docFolder_(std::move(docFolder)),
      docFolderText_(support::Utf8FromPath(docFolder_)), cacheFile_(std::move(cacheFile)) {}

void RecordStore::LoadCache() {
    cacheLoaded_ = true;
    if (cacheFile_.empty())
        return;
    std::string bytes;
    // Far more than any register's cache: a file this long is no cache.
    constexpr size_t kCacheReadLimit = size_t(1) << 31;
    // Room for the whole file at once: read in growing steps, a register's
    // cache would take up to twice its size for a moment.
    FolderListing cacheFolder;
    if (!platform_.ListFolder(cacheFile_.parent_path(), cacheFolder))
        for (const ListedFile& f : cacheFolder)
            if (f.name == support::Utf8FromPath(cacheFile_.filename()) && f.size < kCacheReadLimit)
                bytes.reserve(size_t(f.size) + 1);
    if (platform_.ReadFileHead(cacheFile_, kCacheReadLimit, bytes))
        return;
    RecordCache cache;
    if (!DecodeRecordCache(bytes, cache) || cache.registerPath != docFolderText_)
        return;
    bytes = std::string(); // the records are decoded: the file's bytes may go
    const int64_t settledBefore = cache.takenAt - kSettleSeconds * kTicksPerSecond;
    // A record written a moment before the cache was taken may have been
    // rewritten since with the same size and time: it is read again.
    std::erase_if(cache.records,
                  [&](const StoredRecord& r) { return r.writeTime > settledBefore; });
    *records_ = std::move(cache.records);
    ordered_ = cache.orderProbe == platform_.SortKey(kOrderProbeText);
    // A register that is opened but never changed is written again now and
    // then, or another register's start would take its cache for one left
    // behind (cache_pruning.h).
    if (cache.takenAt < platform_.Now() - kCacheKeptSeconds / 3 * kTicksPerSecond)
        cacheDirty_ = true;
}

void RecordStore::ForgetCache() {
    *records_ = std::vector<StoredRecord>();
    ordered_ = true;
    cacheLoaded_ = false;
    cacheDirty_ = false;
}

RecordStore::ListingIndex RecordStore::IndexListing(const FolderListing& listing) {
    temporaries_.clear();
    for (const ListedFile& f : listing)
        if (IsTemporaryFileName(f.name))
            temporaries_.emplace_back(f.name);
    ListingIndex index;
    index.records = NameTable(listing, NameTable::Match::Exact, [](std::string_view name) {
        return !IsTemporaryFileName(name) && IsRecordFileName(name);
    });
    index.taken = index.records.NotEntered();
    index.present = NameTable(listing, NameTable::Match::Folded);
    return index;
}

RecordStore::CarriedOver RecordStore::CarryOver(const FolderListing& listing, ListingIndex& index) {
    // In place: a command's reload keeps nearly every record of a large
    // register, and then moves few or none, where a second vector of them
    // all would be filled and its room taken on every reload.
    std::vector<StoredRecord>& records = *records_;
    CarriedOver out;
    out.listedAt.reserve(index.records.Count());
    size_t kept = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const size_t at = index.records.Find(records[i].fileName);
        if (at == NameTable::npos || index.taken[at]) {
            out.removed = true;
            continue;
        }
        index.taken[at] = 1;
        if (kept != i)
            records[kept] = std::move(records[i]);
        ++kept;
        out.listedAt.push_back(uint32_t(at));
    }
    records.erase(records.begin() + ptrdiff_t(kept), records.end());
    out.keptCount = kept;
    records.reserve(index.records.Count());
    for (size_t at = 0; at < listing.size(); ++at) {
        if (index.taken[at])
            continue;
        index.taken[at] = 1;
        StoredRecord r;
        r.fileName = listing[at].name;
        records.push_back(std::move(r));
        out.listedAt.push_back(uint32_t(at));
    }
    return out;
}

std::vector<StoredRecord*> RecordStore::RecordsToRead(std::vector<StoredRecord>& records,
                                                      const FolderListing& listing,
                                                      const std::vector<uint32_t>& listedAt) {
    // New records, changed ones, and those read too soon after their last
    // write to be trusted unread.
    std::vector<StoredRecord*> jobs;
    for (size_t i = 0; i < records.size(); ++i) {
        StoredRecord& r = records[i];
        const ListedFile& f = listing[listedAt[i]];
        if (r.settled && r.size == f.size && r.writeTime == f.writeTime)
            continue;
        r.size = f.size;
        r.writeTime = f.writeTime;
        jobs.push_back(&r);
    }
    return jobs;
}

void RecordStore::NoteUnlistedDocuments(std::vector<StoredRecord>& records,
                                        const NameTable& present) {
    for (StoredRecord& r : records) {
        const std::string_view key = RecordKeyOf(r.fileName);
        r.documentMissing = !key.empty() && present.Find(key) == NameTable::npos;
    }
}

void RecordStore::KeepMissingFileEntries(std::vector<StoredRecord>& records) {
    for (StoredRecord& r : records)
        r.documentMissing = r.documentMissing && r.fields.target.empty();
}

Error RecordStore::Refresh() {
    // The cache's file is read and let go before the listing is taken, so
    // that a second start never holds the two at once.
    const bool cacheLoadedNow = !cacheLoaded_;
    if (cacheLoadedNow)
        LoadCache();
    const int64_t listedAt = platform_.Now();
    FolderListing listing;
    if (Error e = platform_.ListFolder(docFolder_, listing)) {
        if (cacheLoadedNow)
            ForgetCache(); // as if never read: it is read again next time
        return e;
    }

    ListingIndex index = IndexListing(listing);
    CarriedOver carried = CarryOver(listing, index);
    std::vector<StoredRecord>& records = *records_;
    const std::vector<StoredRecord*> jobs = RecordsToRead(records, listing, carried.listedAt);
    // Which documents are there is known from the listing alone; it goes,
    // with its index, before the records' texts are read into their room.
    NoteUnlistedDocuments(records, index.present);
    index = ListingIndex();
    listing.clear();
    carried.listedAt = std::vector<uint32_t>();
    {
        // The readers fill the records' texts while this thread works out
        // their order from the names alone, then joins them.
        Readers readers(*this, jobs, listedAt);
        std::vector<size_t> order = OrderOf(records, carried.keptCount);
        readers.Finish();
        ApplyOrder(records, order);
    }
    ordered_ = true;
    lastReadCount_ = jobs.size();
    if (!jobs.empty() || carried.removed)
        cacheDirty_ = true;
    KeepMissingFileEntries(records); // a link has no document in Doc
    return {};
}

void RecordStore::ReadOne(StoredRecord& record, int64_t listedAt) {
    RecordFields fields;
    const Error e =
        ReadRecordFile(platform_, docFolder_ / support::PathFromUtf8(record.fileName), fields);
    record.error = e.number;
    if (!IsContentResult(e.number)) {
        // Locked by a writer, or a read that failed: what was read before
        // (if anything) is shown meanwhile, and the file is read again at the
        // next refresh.
        record.settled = false;
        return;
    }
    record.fields = std::move(fields);
    // A write time in the future (another clock) or within the last few
    // seconds may hide a rewrite that keeps it: such a record is read again.
    record.settled = record.writeTime <= listedAt - kSettleSeconds * kTicksPerSecond;
}

RecordStore::Readers::Readers(RecordStore& store, const std::vector<StoredRecord*>& jobs,
                              int64_t listedAt)
    : store_(store), jobs_(jobs), listedAt_(listedAt) {
    // Each job fills its own record, so the outcome is the same however the
    // reads interleave.
    const size_t wanted = std::min(kMostReaders, jobs.size() / kReadsPerThread);
    for (size_t t = 1; t < wanted; ++t) {
        try {
            helpers_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break; // fewer threads read the same records
        }
    }
}

RecordStore::Readers::~Readers() {
    Finish();
}

void RecordStore::Readers::Work() {
    for (size_t i; (i = next_.fetch_add(1, std::memory_order_relaxed)) < jobs_.size();)
        store_.ReadOne(*jobs_[i], listedAt_);
}

void RecordStore::Readers::Finish() {
    Work();
    for (std::thread& t : helpers_)
        t.join();
    helpers_.clear();
}

std::vector<size_t> RecordStore::OrderOf(const std::vector<StoredRecord>& records,
                                         size_t keptCount) {
    // The grid's order: the sort keys of the locale, then the bytes of the
    // names. The first keptCount records are in it already unless they come
    // from another locale's order. A few new names go where a search among
    // the kept ones puts them; many are sorted with the rest.
    auto less = [](std::string_view ka, std::string_view na, std::string_view kb,
                   std::string_view nb) {
        if (int c = ka.compare(kb))
            return c < 0;
        return na < nb;
    };
    const size_t addedCount = records.size() - keptCount;
    if (ordered_ && addedCount == 0)
        return {};
    std::vector<size_t> order;
    order.reserve(records.size());
    if (ordered_ && addedCount * 40 < keptCount) {
        SortKeys addedKeys(platform_, addedCount);
        for (size_t i = keptCount; i < records.size(); ++i)
            addedKeys.Add(records[i].fileName);
        std::vector<size_t> added(addedCount);
        std::iota(added.begin(), added.end(), keptCount);
        std::sort(added.begin(), added.end(), [&](size_t a, size_t b) {
            return less(addedKeys[a - keptCount], records[a].fileName, addedKeys[b - keptCount],
                        records[b].fileName);
        });
        size_t from = 0;
        for (size_t i : added) {
            // The first kept record that sorts after the new one.
            size_t lo = from, hi = keptCount;
            while (lo < hi) {
                const size_t mid = lo + (hi - lo) / 2;
                if (less(platform_.SortKey(records[mid].fileName), records[mid].fileName,
                         addedKeys[i - keptCount], records[i].fileName))
                    lo = mid + 1;
                else
                    hi = mid;
            }
            for (; from < lo; ++from)
                order.push_back(from);
            order.push_back(i);
        }
        for (; from < keptCount; ++from)
            order.push_back(from);
        return order;
    }
    SortKeys keys(platform_, records.size());
    for (const StoredRecord& r : records)
        keys.Add(r.fileName);
    order.resize(records.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return less(keys[a], records[a].fileName, keys[b], records[b].fileName);
    });
    return order;
}

void RecordStore::ApplyOrder(std::vector<StoredRecord>& records, std::vector<size_t>& order) {
    // In place, cycle by cycle: no second copy of a register's records is
    // ever held. order[i] names the record that goes to place i.
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        StoredRecord held = std::move(records[start]);
        size_t at = start;
        while (order[at] != start) {
            const size_t from = order[at];
            records[at] = std::move(records[from]);
            order[at] = at;
            at = from;
        }
        records[at] = std::move(held);
        order[at] = at;
    }
}

void RecordStore::SaveCacheIfChanged() {
    if (cacheFile_.empty() || !cacheDirty_)
        return;
    RecordCache header;
    header.takenAt = platform_.Now();
    header.registerPath = docFolderText_;
    header.orderProbe = platform_.SortKey(kOrderProbeText);
    std::error_code ignored;
    std::filesystem::create_directories(cacheFile_.parent_path(), ignored);
    // Encoded as it is written: the records are never held twice.
    const Error e =
        platform_.WriteFileAtomicInPieces(cacheFile_, [&](const Platform::PieceSink& put) {
            EncodeRecordCache(header, *records_, put);
        });
    if (!e)
        cacheDirty_ = false;
}

} // namespace ombriel
