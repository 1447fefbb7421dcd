#pragma once
// The system's services, watched and steered by a test: reads of record
// files are counted, the clock can be set, and one record file's next read or
// the next listing can be made to fail as a lock or a lost share would.
#include "core/platform/platform.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace ombriel::testing {

class TestPlatform : public Platform {
  public:
    explicit TestPlatform(Platform& real = SystemPlatform()) : real_(real) {}

    // Reads of files whose name ends in ".dat" (the cache's are not counted).
    int RecordReads() const { return reads_.load(); }
    void ResetReads() { reads_ = 0; }
    std::optional<int64_t> clock; // the moment Now() gives; the real one when empty
    // The next read of this file name fails as a file another PC holds locked.
    void LockOnce(const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex_);
        locked_.insert(name);
    }
    std::optional<uint32_t> listingFailure; // every listing fails with it

    Error ReadFileHead(const std::filesystem::path& file, size_t limit,
                       std::string& bytes) override {
        const std::string name = file.filename().string();
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".dat") == 0)
            ++reads_;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (locked_.erase(name)) {
                bytes.clear();
                return MakeError(kErrSharingViolation);
            }
        }
        return real_.ReadFileHead(file, limit, bytes);
    }
    Error WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes) override {
        return real_.WriteFileAtomic(file, bytes);
    }
    Error WriteFileAtomicInPieces(const std::filesystem::path& file,
                                  const std::function<void(const PieceSink&)>& write) override {
        return real_.WriteFileAtomicInPieces(file, write);
    }
    Error WriteFileNew(const std::filesystem::path& file, std::string_view bytes) override {
        return real_.WriteFileNew(file, bytes);
    }
    Error ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                    std::vector<std::string>& names) override {
        return real_.ListFiles(folder, pattern, names);
    }
    Error ListFolder(const std::filesystem::path& folder, FolderListing& files) override {
        if (listingFailure) {
            files.clear();
            return MakeError(*listingFailure);
        }
        return real_.ListFolder(folder, files);
    }
    int64_t Now() override { return clock ? *clock : real_.Now(); }
    Error RemoveUnheldFile(const std::filesystem::path& file) override {
        return real_.RemoveUnheldFile(file);
    }
    std::filesystem::path LocalCacheFolder() override { return real_.LocalCacheFolder(); }
    std::string SortKey(std::string_view text) override { return real_.SortKey(text); }
    std::string Describe(uint32_t number) override { return real_.Describe(number); }

  private:
    Platform& real_;
    std::atomic<int> reads_{0};
    std::mutex mutex_;
    std::set<std::string> locked_;
};

} // namespace ombriel::testing
