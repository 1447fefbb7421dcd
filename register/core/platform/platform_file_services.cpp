#include "core/platform/platform_file_services.h"

#include "core/records/record_file.h"
#include "core/records/record_store.h"

namespace ombriel {

Error PlatformFileServices::CreateRecord(const std::filesystem::path& recordFile,
                                         const std::string& target,
                                         const std::string& description) {
    return CreateRecordFile(platform_, recordFile, RecordFields{target, description});
}

Error PlatformFileServices::WriteRecord(const std::filesystem::path& recordFile,
                                        const std::string& target, const std::string& description) {
    return WriteRecordFile(platform_, recordFile, RecordFields{target, description});
}

Error PlatformFileServices::ReadRecord(const std::filesystem::path& recordFile,
                                       RecordFields& fields) {
    return ReadRecordFile(platform_, recordFile, fields);
}

std::vector<std::string>
PlatformFileServices::RemoveLeftoverTemporaries(const std::filesystem::path& folder) {
    return ombriel::RemoveLeftoverTemporaries(platform_, folder);
}

std::string PlatformFileServices::Describe(uint32_t number) {
    return platform_.Describe(number);
}

} // namespace ombriel
