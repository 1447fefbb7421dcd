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
    if (Error e = platform.ReadFileHead(file, kRecordReadLimit, bytes)) {
        return e;
    }
    bool complete = false;
    fields = ParseRecord(bytes, complete);
    return complete ? Error{} : platform.MakeError(kErrEndOfFile);
}

Error WriteRecordFile(Platform& platform, const std::filesystem::path& file,
                      const RecordFields& fields) {
    return platform.WriteFileAtomic(file, FormatRecord(fields));
}

std::string RecordFileName(std::string_view key) {
    return std::string(key) + std::string(kRecordExtension);
}

std::string RecordKeyOf(std::string_view fileName) {
    if (fileName.size() < kRecordExtension.size()) {
        return {};
    }
    return std::string(fileName.substr(0, fileName.size() - kRecordExtension.size()));
}

std::string RecordKeyFromShown(std::string_view shown) {
    size_t slash = shown.rfind('\\');
    return std::string(slash == std::string_view::npos ? shown : shown.substr(slash + 1));
}

} // namespace ombriel
