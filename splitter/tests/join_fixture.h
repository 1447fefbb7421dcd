#pragma once
// A scripted stand-in for the dialog and a fresh folder per test, for the
// join engine's tests.
#include "core/operation_ui.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

class ScriptedUi : public OperationUi {
  public:
    OperationInputs inputs;
    bool answerYes = true;
    // Runs just before the bar moves to piece n: lets a test change the
    // set while the join is under way.
    std::function<void(uint64_t)> onProgress;

    // Everything the engine did to the dialog, in order, as short texts.
    std::vector<std::string> events;
    std::vector<int> messages;
    std::vector<std::string> questions;
    std::vector<uint64_t> positions;
    uint64_t rangeFirst = 0, rangeLast = 0;
    int busyDepth = 0;

    OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return false; }
    void SetBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        events.push_back(busy ? "busy" : "idle");
    }
    void ShowMessage(int id) override {
        EXPECT_EQ(busyDepth, 1) << "message " << id << " shown while the buttons are enabled";
        messages.push_back(id);
        events.push_back("message " + std::to_string(id));
    }
    bool Confirm(const std::string& text) override {
        questions.push_back(text);
        events.push_back("confirm");
        return answerYes;
    }
    void SetProgressRange(uint64_t first, uint64_t last) override {
        rangeFirst = first;
        rangeLast = last;
    }
    void SetProgressPos(uint64_t pos) override {
        if (onProgress)
            onProgress(pos);
        positions.push_back(pos);
    }
    void MoveFocus(FocusTarget target) override {
        events.push_back("focus " + std::to_string(static_cast<int>(target)));
    }
};

class TempDir {
  public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("zelbrin_join_" + std::to_string(std::random_device{}()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& rel) const { return path_ / rel; }

  private:
    std::filesystem::path path_;
};

inline std::string RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    std::string out(n, '\0');
    for (auto& c : out)
        c = static_cast<char>(gen());
    return out;
}
