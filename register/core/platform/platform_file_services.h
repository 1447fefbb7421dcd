#pragma once
// What the file services of every system do alike: records are written and
// read, leftover temporaries cleared and failures described through the
// platform they were handed. Each system adds its own moves, removals and
// folders.
#include "core/platform/file_services.h"
#include "core/platform/platform.h"

namespace ombriel {

class PlatformFileServices : public FileServices {
  public:
    PlatformFileServices(Platform& platform, bool alwaysCopy)
        : platform_(platform), alwaysCopy_(alwaysCopy) {}

    Error CreateRecord(const std::filesystem::path& recordFile, const std::string& target,
                       const std::string& description) override;
    Error WriteRecord(const std::filesystem::path& recordFile, const std::string& target,
                      const std::string& description) override;
    Error ReadRecord(const std::filesystem::path& recordFile, RecordFields& fields) override;
    std::vector<std::string>
    RemoveLeftoverTemporaries(const std::filesystem::path& folder) override;
    std::string Describe(uint32_t number) override;

  protected:
    Platform& platform_;
    // Every document move is made as one to another drive.
    const bool alwaysCopy_;
};

} // namespace ombriel
