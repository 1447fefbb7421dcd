#include "core/records/settings_file.h"

#include "core/records/quoted_field.h"

namespace ombriel {

Error LoadSettings(Platform& platform, const std::filesystem::path& file, ViewerPaths& paths) {
    std::string bytes;
    // As for records: one byte past the limit marks a file cut short.
    if (Error e = platform.ReadFileHead(file, kSettingsReadLimit + 1, bytes)) {
        return e;
    }
    const bool tooLong = bytes.size() > kSettingsReadLimit;
    if (tooLong) {
        bytes.resize(kSettingsReadLimit);
    }
    auto fields = DecodeFieldFile(bytes, 3);
    std::string* targets[] = {&paths.PathAR, &paths.PathWrd, &paths.PathExc};
    for (size_t i = 0; i < fields.size(); ++i) {
        *targets[i] = std::move(fields[i]);
    }
    if (tooLong) {
        return platform.MakeError(kErrFileTooLarge);
    }
    return fields.size() == 3 ? Error{} : platform.MakeError(kErrEndOfFile);
}

Error SaveSettings(Platform& platform, const std::filesystem::path& file,
                   const ViewerPaths& paths) {
    const std::string bytes = EncodeFieldFile({paths.PathAR, paths.PathWrd, paths.PathExc});
    if (bytes.size() > kSettingsReadLimit)
        return platform.MakeError(kErrFileTooLarge); // it would not load back whole
    return platform.WriteFileAtomic(file, bytes);
}

} // namespace ombriel
