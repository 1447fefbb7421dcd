#include "core/records/record_file.h"

#include "core/records/quoted_field.h"

namespace ombriel {

RecordFields ParseRecord(std::string_view bytes, bool& complete) {
    auto fields = DecodeFieldFile(bytes, 2);
    RecordFields r;
    if (fields.size() > 0) {
        r.target = std::move(fields[0]);
    }
    if (fields.size() > 1) {
        r.description = std::move(fields[1]);
    }
    complete = fields.size() == 2;
    return r;
}

std::string FormatRecord(const RecordFields& fields) {
    return EncodeFieldFile({fields.target, fields.description});
}

Error ReadRecordFile(Platform& platform, const std::filesystem::path& file, RecordFields& fields) {
    std::string bytes;
    // One byte past the limit tells a file of exactly the limit from a longer
    // one, whose fields may be cut short and must not pass as complete.
    if (Error e = platform.ReadFileHead(file, kRecordReadLimit + 1, bytes)) {
        return e;
    }
    const bool tooLong = bytes.size() > kRecordReadLimit;
    if (tooLong) {
        bytes.resize(kRecordReadLimit);
    }
    bool complete = false;
    fields = ParseRecord(bytes, complete);
    if (tooLong) {
        return platform.MakeError(kErrFileTooLarge);
    }
    return complete ? Error{} : platform.MakeError(kErrEndOfFile);
}

Error WriteRecordFile(Platform& platform, const std::filesystem::path& file,
                      const RecordFields& fields) {
    const std::string bytes = FormatRecord(fields);
    if (bytes.size() > kRecordReadLimit) {
        return platform.MakeError(kErrFileTooLarge);
    }
    return platform.WriteFileAtomic(file, bytes);
}

Error CreateRecordFile(Platform& platform, const std::filesystem::path& file,
                       const RecordFields& fields) {
    const std::string bytes = FormatRecord(fields);
    if (bytes.size() > kRecordReadLimit) {
        return platform.MakeError(kErrFileTooLarge);
    }
    return platform.WriteFileNew(file, bytes);
}

std::string RecordFileName(std::string_view key) {
    return std::string(key) + std::string(kRecordExtension);
}

std::string_view RecordKeyOf(std::string_view fileName) {
    if (fileName.size() < kRecordExtension.size()) {
        return {};
    }
    return fileName.substr(0, fileName.size() - kRecordExtension.size());
}

std::string RecordKeyFromShown(std::string_view shown) {
    size_t slash = shown.rfind('\\');
    return std::string(slash == std::string_view::npos ? shown : shown.substr(slash + 1));
}

} // namespace ombriel
