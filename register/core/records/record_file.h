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
// The largest record file read whole. A longer one is damaged: reading its
// head is enough to show what it holds, and the writer never makes one.
inline constexpr size_t kRecordReadLimit = 256 * 1024;

// The longest texts the program hands the writer, in UTF-16 units: a target
// comes from the open-file dialog (a path of at most 32,767 units), a
// description from the input box, whose edit takes no more than this.
inline constexpr size_t kTargetMaxUnits = 32767;
inline constexpr size_t kDescriptionMaxUnits = 50000;

// The most bytes a record of texts of these lengths can take whatever their
// characters: a UTF-16 unit is at most 3 bytes stored (a doubled quote 2, a
// character beyond Windows-1252 3 as UTF-8, a surrogate pair 4 for two
// units), plus the byte-order mark and each field's quotes and line end.
constexpr size_t RecordBytesAtMost(size_t targetUnits, size_t descriptionUnits) {
    return 3 + (2 + 3 * targetUnits + 2) + (2 + 3 * descriptionUnits + 2);
}
static_assert(RecordBytesAtMost(kTargetMaxUnits, kDescriptionMaxUnits) <= kRecordReadLimit,
              "a record the program writes must read back whole");

struct RecordFields {
    std::string target;
    std::string description;
};

// Parses record file bytes. A file that ends before its second field yields
// the fields found and complete == false.
RecordFields ParseRecord(std::string_view bytes, bool& complete);

// The bytes of a record file.
std::string FormatRecord(const RecordFields& fields);

// Reads a record file; on failure, fields holds whatever could be read. A file
// longer than kRecordReadLimit fails with kErrFileTooLarge.
Error ReadRecordFile(Platform& platform, const std::filesystem::path& file, RecordFields& fields);

// Writes a record file in one step (a failure leaves the previous file whole).
// Fields whose file would exceed kRecordReadLimit are refused with
// kErrFileTooLarge and nothing is written: the reader could not take it whole.
Error WriteRecordFile(Platform& platform, const std::filesystem::path& file,
                      const RecordFields& fields);

// Writes a new record file in one step, only if none of that name exists
// (kErrAlreadyExists, nothing written); refuses what WriteRecordFile refuses.
Error CreateRecordFile(Platform& platform, const std::filesystem::path& file,
                       const RecordFields& fields);

// The record file name of a key, and the key of a record file name.
std::string RecordFileName(std::string_view key);
std::string_view RecordKeyOf(std::string_view fileName);

// The key of a grid row: the text of its column 2 after the last "\", or the
// whole text when it holds none.
std::string RecordKeyFromShown(std::string_view shown);

} // namespace ombriel
