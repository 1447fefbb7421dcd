#pragma once
// The system's file services with chosen steps made to fail, for the failures
// a test cannot provoke on a real disk (a full disk, a refused move, a lost
// drive) and to count what the commands did.
#include "core/platform/file_services.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ombriel::testing {

class FaultyFiles : public FileServices {
  public:
    explicit FaultyFiles(FileServices& real) : real_(real) {}

    // Step names: "move", "delete", "write" (a record written, new or
    // replacing), "folder", "restore". The nth call (from 1) of that step
    // fails with number; 0 means every call.
    void FailStep(const std::string& step, uint32_t number, int nth = 0) {
        faults_[step] = {number, nth};
    }
    std::vector<std::string> calls; // "move a -> b", "delete a", ...

    bool Exists(const std::filesystem::path& path) override { return real_.Exists(path); }
    Error EnsureFolder(const std::filesystem::path& folder) override {
        if (Error e = Injected("folder"))
            return e;
        return real_.EnsureFolder(folder);
    }
    Error MoveDocument(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        calls.push_back("move " + from.filename().string() + " -> " +
                        to.parent_path().filename().string());
        if (Error e = Injected("move"))
            return e;
        return real_.MoveDocument(from, to);
    }
    Error RemoveFile(const std::filesystem::path& file) override {
        calls.push_back("delete " + file.filename().string());
        if (Error e = Injected("delete"))
            return e;
        return real_.RemoveFile(file);
    }
    Error CreateRecord(const std::filesystem::path& recordFile, const std::string& target,
                       const std::string& description) override {
        calls.push_back("create " + recordFile.filename().string());
        if (Error e = Injected("write"))
            return e;
        return real_.CreateRecord(recordFile, target, description);
    }
    Error WriteRecord(const std::filesystem::path& recordFile, const std::string& target,
                      const std::string& description) override {
        calls.push_back("write " + recordFile.filename().string());
        if (Error e = Injected("write"))
            return e;
        return real_.WriteRecord(recordFile, target, description);
    }
    Error RestoreWorkingFolder(const std::filesystem::path& startFolder) override {
        calls.push_back("restore");
        if (Error e = Injected("restore"))
            return e;
        return real_.RestoreWorkingFolder(startFolder);
    }
    std::string Describe(uint32_t number) override { return real_.Describe(number); }

  private:
    struct Fault {
        uint32_t number;
        int nth;
    };
    Error Injected(const std::string& step) {
        int count = ++counts_[step];
        auto it = faults_.find(step);
        if (it == faults_.end() || (it->second.nth != 0 && it->second.nth != count))
            return {};
        return Failure(it->second.number);
    }
    FileServices& real_;
    std::map<std::string, Fault> faults_;
    std::map<std::string, int> counts_;
};

} // namespace ombriel::testing
