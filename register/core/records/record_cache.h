#pragma once
// The parsed records of one register as a previous run left them, so that a
// start reads only the record files that changed since. The record files stay
// the only truth: a cached record stands for its file only while the file's
// name, size and last-write time are the ones it was read with, and only
// when it was read long enough after that write that a rewrite of the same
// size could not have kept the same time. Anything wrong with a cache file
// (cut short, damaged, of another version, of another register) makes it
// worth nothing, never a failure.
//
// Layout, little-endian: the 8 bytes "OMBRCACH" and the version (u32), the
// payload, then the payload's length (u64) and its CRC-32 (u32), last so
// that a writer streams the payload without holding it. The payload: the moment
// the cache was taken (i64 ticks), the register's Doc folder (text), the
// locale's order probe (text), the number of records (u32) and each record:
// file name (text), size (u64), write time (i64), read failure number (u32),
// target and description (texts). A text is its length in bytes (u32) and
// its UTF-8 bytes.
#include "core/records/record_file.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

inline constexpr uint32_t kRecordCacheVersion = 2;

// A record as it was read from its file, with the file's stamp.
struct StoredRecord {
    std::string fileName; // RecordKey + ".dat"
    uint64_t size = 0;
    int64_t writeTime = 0;
    RecordFields fields;
    uint32_t error = 0; // why the fields are incomplete, 0 when they are whole
    // Read so long after its write time that a rewrite keeping size and time
    // is impossible: only such a record may stand for its file unread.
    bool settled = false;
    // A file entry whose document is not in Doc (from the same listing).
    bool documentMissing = false;
};

struct RecordCache {
    int64_t takenAt = 0;               // ticks, the moment the cache was written
    std::string registerPath;          // the Doc folder it describes (UTF-8)
    std::string orderProbe;            // the locale's sort key of a fixed text
    std::vector<StoredRecord> records; // in the grid's order, all settled
};

// How close to the moment a record was read (or its cache taken) its write
// time may lie before the record must be read again: more than the coarsest
// time resolution of the file systems a register lives on (2 s) and the
// usual drift between a PC's clock and its file server's.
inline constexpr int64_t kSettleSeconds = 5;

// The text whose sort key tells whether the locale still orders names as it
// did when a cache was written.
inline constexpr std::string_view kOrderProbeText = "Aa-B_b 1.\xC3\xA8\xC3\x89z~";

uint32_t Crc32(std::string_view bytes);

// The cache file's bytes: header's moment, folder and probe, and the settled
// records among records (the others must be read again in any case), handed
// to put piece by piece, a few dozen KiB at a time, so that a register's
// records are never held encoded whole; a put that returns false ends it.
void EncodeRecordCache(const RecordCache& header, const std::vector<StoredRecord>& records,
                       const std::function<bool(std::string_view)>& put);
// The same bytes in one string.
std::string EncodeRecordCache(const RecordCache& header, const std::vector<StoredRecord>& records);
// True only for a whole cache of this version whose checksum and every
// length hold, with well-formed texts; cache is left empty otherwise.
bool DecodeRecordCache(std::string_view bytes, RecordCache& cache);

// The cache file of the register whose Doc folder is docFolder, in the user's
// cache folder: named by a hash of the folder's full path, so registers of
// every share and drive each have their own.
std::filesystem::path RecordCacheFile(const std::filesystem::path& cacheFolder,
                                      std::string_view docFolderUtf8);

} // namespace ombriel
