#pragma once
// The records of one register's Doc folder, kept for the whole run: every
// refresh lists the folder once and reads only the record files that are new
// or whose size or last-write time changed since they were read, so a
// command's reload costs one listing plus what changed. A cache of an earlier
// run (record_cache.h) spares a start the same way; the files stay the only
// truth. The records are kept in the grid's order.
#include "core/platform/error.h"
#include "core/platform/platform.h"
#include "core/records/name_table.h"
#include "core/records/record_cache.h"

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace ombriel {

class RecordStore {
  public:
    // docFolder: the register's Doc. cacheFile: where the records are kept
    // between runs; empty for no cache.
    RecordStore(Platform& platform, std::filesystem::path docFolder,
                std::filesystem::path cacheFile = {});
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Brings the records up to date with Doc. A Doc that is there but cannot
    // be listed returns the failure and leaves the records as they were; a
    // missing Doc gives no records and no failure.
    Error Refresh();

    const std::vector<StoredRecord>& Records() const { return *records_; }
    // The same records, for a reader that may outlive the store (the grid):
    // the vector stays as long as either holds it, and follows every refresh
    // for as long as the store lives.
    std::shared_ptr<const std::vector<StoredRecord>> SharedRecords() const { return records_; }
    // The temporary files ("*.tmp~") the last listing found in Doc.
    const std::vector<std::string>& Temporaries() const { return temporaries_; }
    // Record files the last refresh had to read.
    size_t LastReadCount() const { return lastReadCount_; }

    // Writes the cache when the records differ from what it last held; a
    // failure is silent (the cache is only ever a help).
    void SaveCacheIfChanged();
    // True when the last refresh read enough files that the next start would
    // lose much by finding the cache as it is.
    bool CacheWorthSavingNow() const { return cacheDirty_ && lastReadCount_ >= kEagerSaveReads; }

    // Record files read by one thread; more are shared out among a few.
    static constexpr size_t kReadsPerThread = 64;
    static constexpr size_t kMostReaders = 4;
    static constexpr size_t kEagerSaveReads = 256;

  private:
    // The reading of the records in jobs, by a few threads started at once;
    // the thread that made it joins them in Finish (or at its end).
    class Readers {
      public:
        Readers(RecordStore& store, const std::vector<StoredRecord*>& jobs, int64_t listedAt);
        Readers(const Readers&) = delete;
        Readers& operator=(const Readers&) = delete;
        ~Readers();
        void Finish();

      private:
        void Work();
        RecordStore& store_;
        const std::vector<StoredRecord*>& jobs_;
        const int64_t listedAt_;
        std::atomic<size_t> next_{0};
        std::vector<std::thread> helpers_;
    };

    // The listing as a refresh looks at it: the record files by name, each
    // flagged once taken (every other name of the listing is flagged from
    // the start), and every name for the test whether a document is there.
    struct ListingIndex {
        NameTable records;
        std::vector<char> taken; // by position in the listing
        NameTable present;
    };
    // records_ after the carry-over: the kept records first, in their order,
    // then the new ones.
    struct CarriedOver {
        std::vector<uint32_t> listedAt; // each record's position in the listing
        size_t keptCount = 0;
        bool removed = false; // some record of the last refresh is gone
    };

    // Only into a store that holds no records yet.
    void LoadCache();
    void ForgetCache();
    // Also notes the listing's temporaries.
    ListingIndex IndexListing(const FolderListing& listing);
    // Drops from records_ the records no longer listed, then adds the new ones.
    CarriedOver CarryOver(const FolderListing& listing, ListingIndex& index);
    // Takes the listed size and time into each record that must be read.
    static std::vector<StoredRecord*> RecordsToRead(std::vector<StoredRecord>& records,
                                                    const FolderListing& listing,
                                                    const std::vector<uint32_t>& listedAt);
    // A file entry whose document is not in Doc is marked in two steps: by
    // the listing, before the records are read; then, once read, only the
    // file entries (no link target) keep the mark.
    static void NoteUnlistedDocuments(std::vector<StoredRecord>& records, const NameTable& present);
    static void KeepMissingFileEntries(std::vector<StoredRecord>& records);
    void ReadOne(StoredRecord& record, int64_t listedAt);
    // Where each record goes in the grid's order (see ApplyOrder); empty
    // when they are in it already. Reads the records' names only.
    std::vector<size_t> OrderOf(const std::vector<StoredRecord>& records, size_t keptCount);
    static void ApplyOrder(std::vector<StoredRecord>& records, std::vector<size_t>& order);

    Platform& platform_;
    std::filesystem::path docFolder_;
    std::string docFolderText_;
    std::filesystem::path cacheFile_;
    std::shared_ptr<std::vector<StoredRecord>> records_ =
        std::make_shared<std::vector<StoredRecord>>();
    // records_ is in the order of this run's locale (a cache of another
    // locale's order is sorted again).
    bool ordered_ = true;
    bool cacheLoaded_ = false;
    bool cacheDirty_ = false;
    std::vector<std::string> temporaries_;
    size_t lastReadCount_ = 0;
};

// True for the name of a temporary file a writer fills before it gives the
// data its real name.
bool IsTemporaryFileName(std::string_view name);

// Removes the temporary files named in names (from a listing of folder) that
// killed writers left behind; a file some writer still holds open stays, and
// a file that cannot be removed is silently left. Returns the names that stay.
std::vector<std::string> RemoveLeftoverTemporaries(Platform& platform,
                                                   const std::filesystem::path& folder,
                                                   const std::vector<std::string>& names);
// The same for a fresh listing of folder; a folder that cannot be listed
// keeps its files.
std::vector<std::string> RemoveLeftoverTemporaries(Platform& platform,
                                                   const std::filesystem::path& folder);

} // namespace ombriel
