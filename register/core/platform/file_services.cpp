#include "core/platform/file_services.h"

namespace ombriel {

Error FileServices::ReadRecord(const std::filesystem::path& recordFile, RecordFields& fields) {
    return SystemFileServices().ReadRecord(recordFile, fields);
}

bool FileServices::IsCopyOf(const std::filesystem::path& source,
                            const std::filesystem::path& document) {
    return SystemFileServices().IsCopyOf(source, document);
}

std::vector<std::string>
FileServices::RemoveLeftoverTemporaries(const std::filesystem::path& folder) {
    return SystemFileServices().RemoveLeftoverTemporaries(folder);
}

} // namespace ombriel
