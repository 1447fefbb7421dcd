#pragma once
// The list of records in a Doc folder, in the order the grid shows them:
// ascending by record file name under the user's locale-aware,
// case-insensitive comparison.
#include "core/platform/error.h"
#include "core/platform/platform.h"
#include "core/records/record_file.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ombriel {

struct RecordEntry {
    std::string fileName; // RecordKey + ".dat"
    std::string key;
    RecordFields fields;
    Error error; // why the fields are incomplete; the entry is shown anyway
};

// True for a name the record search keeps: its own name ends in ".dat" (in any
// case). A wildcard search can also match on a generated short name.
bool IsRecordFileName(std::string_view name);

// Sorts file names in place into the grid's order.
void SortRecordNames(Platform& platform, std::vector<std::string>& names);

// The record file names of folder, sorted. A missing folder gives none.
Error ListRecordNames(Platform& platform, const std::filesystem::path& folder,
                      std::vector<std::string>& names);

// Every record of folder, sorted, each read once. A damaged or unreadable
// record never stops the listing: its entry keeps what could be read. A
// folder that cannot be listed gives none.
std::vector<RecordEntry> LoadRecords(Platform& platform, const std::filesystem::path& folder);

} // namespace ombriel
