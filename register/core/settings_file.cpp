#include "core/settings_file.h"

#include "core/quoted_field.h"

namespace ombriel {
namespace {

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

} // namespace

Error LoadSaveSettings(Platform& platform, const std::filesystem::path& file,
                       std::string_view mode, ViewerPaths& paths) {
    if (mode == "carica") {
        return LoadSettings(platform, file, paths);
    }
    return platform.WriteFileAtomic(
        file, EncodeFieldFile({paths.PathAR, paths.PathWrd, paths.PathExc}));
}

} // namespace ombriel
