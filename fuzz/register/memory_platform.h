#pragma once
// The register's system services over files held in memory, so the readers
// and writers run exactly as on disk without touching it.
#include "core/platform/platform.h"

#include <map>
#include <string>

class MemoryPlatform : public ombriel::Platform {
  public:
    std::map<std::string, std::string> files; // by path

    ombriel::Error ReadFileHead(const std::filesystem::path& file, size_t limit,
                                std::string& bytes) override {
        bytes.clear();
        const auto it = files.find(file.string());
        if (it == files.end())
            return MakeError(ombriel::kErrFileNotFound);
        bytes = it->second.substr(0, limit);
        return {};
    }
    ombriel::Error WriteFileAtomic(const std::filesystem::path& file,
                                   std::string_view bytes) override {
        files[file.string()] = std::string(bytes);
        return {};
    }
    ombriel::Error WriteFileNew(const std::filesystem::path& file,
                                std::string_view bytes) override {
        if (!files.emplace(file.string(), std::string(bytes)).second)
            return MakeError(ombriel::kErrAlreadyExists);
        return {};
    }
    ombriel::Error ListFiles(const std::filesystem::path&, std::string_view,
                             std::vector<std::string>& names) override {
        names.clear();
        return {};
    }
    ombriel::Error ListFolder(const std::filesystem::path&,
                              ombriel::FolderListing& listed) override {
        listed.clear();
        return {};
    }
    int64_t Now() override { return 0; }
    ombriel::Error RemoveUnheldFile(const std::filesystem::path& file) override {
        return files.erase(file.string()) ? ombriel::Error{} : MakeError(ombriel::kErrFileNotFound);
    }
    std::filesystem::path LocalCacheFolder() override { return {}; }
    std::string SortKey(std::string_view text) override { return std::string(text); }
    std::string Describe(uint32_t number) override { return "Errore " + std::to_string(number); }
};
