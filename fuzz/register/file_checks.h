#pragma once
// The rules the record and settings readers and writers are held to, for any
// file: a file longer than the reader's limit is never reported complete (its
// head is read as any file's would be), and whatever was read the writer
// either stores so that it reads back the same or refuses as too large,
// leaving nothing behind.
#include "../fuzz_check.h"
#include "core/records/quoted_field.h"
#include "core/records/record_file.h"
#include "core/records/settings_file.h"
#include "memory_platform.h"

inline void CheckRecordFile(const std::string& file) {
    using namespace ombriel;
    MemoryPlatform platform;
    platform.files["in.dat"] = file;

    RecordFields fields;
    const Error read = ReadRecordFile(platform, "in.dat", fields);
    bool complete = false;
    const RecordFields head = ParseRecord(file.substr(0, kRecordReadLimit), complete);
    FUZZ_CHECK(fields.target == head.target && fields.description == head.description);
    if (file.size() > kRecordReadLimit)
        FUZZ_CHECK(read.number == kErrFileTooLarge);
    else
        FUZZ_CHECK(read.number == (complete ? kErrNone : kErrEndOfFile));
    FUZZ_CHECK(IsWellFormedUtf8(fields.target) && IsWellFormedUtf8(fields.description));

    const Error written = WriteRecordFile(platform, "out.dat", fields);
    if (FormatRecord(fields).size() > kRecordReadLimit) {
        FUZZ_CHECK(written.number == kErrFileTooLarge);
        FUZZ_CHECK(platform.files.count("out.dat") == 0);
        return;
    }
    FUZZ_CHECK(!written);
    RecordFields back;
    FUZZ_CHECK(!ReadRecordFile(platform, "out.dat", back));
    FUZZ_CHECK(back.target == fields.target && back.description == fields.description);
}

inline void CheckSettingsFile(const std::string& file) {
    using namespace ombriel;
    MemoryPlatform platform;
    platform.files["in.ini"] = file;

    const ViewerPaths before{"keep-pdf", "keep-doc", "keep-xls"};
    ViewerPaths paths = before;
    const Error loaded = LoadSettings(platform, "in.ini", paths);
    const auto fields = DecodeFieldFile(std::string_view(file).substr(0, kSettingsReadLimit), 3);
    if (file.size() > kSettingsReadLimit)
        FUZZ_CHECK(loaded.number == kErrFileTooLarge);
    else
        FUZZ_CHECK(loaded.number == (fields.size() == 3 ? kErrNone : kErrEndOfFile));
    // Paths read are set, the others keep their values.
    const std::string* got[] = {&paths.PathAR, &paths.PathWrd, &paths.PathExc};
    const std::string* kept[] = {&before.PathAR, &before.PathWrd, &before.PathExc};
    for (size_t i = 0; i < 3; ++i)
        FUZZ_CHECK(*got[i] == (i < fields.size() ? fields[i] : *kept[i]));

    const Error saved = SaveSettings(platform, "out.ini", paths);
    if (EncodeFieldFile({paths.PathAR, paths.PathWrd, paths.PathExc}).size() > kSettingsReadLimit) {
        FUZZ_CHECK(saved.number == kErrFileTooLarge);
        FUZZ_CHECK(platform.files.count("out.ini") == 0);
        return;
    }
    FUZZ_CHECK(!saved);
    ViewerPaths back;
    FUZZ_CHECK(!LoadSettings(platform, "out.ini", back));
    FUZZ_CHECK(back.PathAR == paths.PathAR && back.PathWrd == paths.PathWrd &&
               back.PathExc == paths.PathExc);
}
