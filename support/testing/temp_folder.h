#pragma once
// A fresh folder for one test, under the system's temporary folder, removed
// with everything in it when the test is over.
#include <filesystem>
#include <string>

namespace support::testing {

class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "test");
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const {
        return path_ / relative;
    }

  private:
    std::filesystem::path path_;
};

} // namespace support::testing
