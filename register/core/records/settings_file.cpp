#include "core/records/settings_file.h"

#include "core/records/quoted_field.h"

namespace ombriel {

Error LoadSettings(Platform& platform, const std::filesystem::path& file, ViewerPaths& paths) {
    std::string bytes;
    if (Error e = platform.ReadFileHead(file, kSettingsReadLimit, bytes)) {
        return e;
    }
    auto fields = DecodeFieldFile(bytes, 3);
    std::string* targets[] = {&paths.PathAR, &paths.PathWrd, &paths.PathExc};
    for (size_t i = 0; i < fields.size(); ++i) {
        *targets[i] = std::move(fields[i]);
    }
    return fields.size() == 3 ? Error{} : platform.MakeError(kErrEndOfFile);
}

Error SaveSettings(Platform& platform, const std::filesystem::path& file,
                   const ViewerPaths& paths) {
    return platform.WriteFileAtomic(file,
                                    EncodeFieldFile({paths.PathAR, paths.PathWrd, paths.PathExc}));
}

} // namespace ombriel
