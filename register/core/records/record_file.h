#pragma once
// One record file of the Doc folder: RecordKey + ".dat", two quoted fields,
// Target (empty for a file entry, the full path for a link entry) and
// Description.
#include "core/platform/error.h"
#include "core/platform/platform.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace ombriel {

inline constexpr std::string_view kRecordExtension = ".dat";
// Only the first two fields count; a record file longer than this is damaged,
// and reading its head is enough to show what it holds.
inline constexpr size_t kRecordReadLimit = 256 * 1024;

struct RecordFields {
    std::string target;
    std::string description;
};

// Parses record file bytes. A file that ends before its second field yields
// the fields found and complete == false.
RecordFields ParseRecord(std::string_view bytes, bool& complete);

// The bytes of a record file.
std::string FormatRecord(const RecordFields& fields);

// Reads a record file; on failure, fields holds whatever could be read.
Error ReadRecordFile(Platform& platform, const std::filesystem::path& file, RecordFields& fields);

// Writes a record file in one step (a failure leaves the previous file whole).
Error WriteRecordFile(Platform& platform, const std::filesystem::path& file,
                      const RecordFields& fields);

// The record file name of a key, and the key of a record file name.
std::string RecordFileName(std::string_view key);
std::string RecordKeyOf(std::string_view fileName);

// The key of a grid row: the text of its column 2 after the last "\", or the
// whole text when it holds none.
std::string RecordKeyFromShown(std::string_view shown);

} // namespace ombriel
