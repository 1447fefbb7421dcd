#pragma once
// A scripted stand-in for the dialog: hands out fixed inputs, answers the
// confirmation as told and records everything an operation shows, in order.
#include "core/operation_ui.h"
#include "core/string_ids.h"
#include "test_batch_templates.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zelbrin::testing {

struct FakeOperationUi : OperationUi {
    OperationInputs inputs;
    bool batchWanted = false;
    bool answerYes = true;
    // Runs just before the bar moves to n: lets a test change the files
    // while the operation is under way.
    std::function<void(uint64_t)> onProgress;
    // The user asks to stop once the operation has asked this many times
    // whether to (-1: never); the request then stands.
    int stopAfterAsks = -1;
    int stopAsks = 0;

    struct Failure {
        int message;
        std::filesystem::path file;
        int systemError;
    };
    std::vector<int> messages; // every message shown, failures included
    std::vector<Failure> failures;
    std::vector<std::string> questions;
    std::vector<FocusTarget> focusMoves;
    std::vector<bool> busyChanges;
    // What the operation did to the dialog, in order, as short texts.
    std::vector<std::string> events;
    uint64_t rangeFirst = 0, rangeLast = 0;
    std::vector<uint64_t> positions;

    bool Busy() const { return !busyChanges.empty() && busyChanges.back(); }

    OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return batchWanted; }
    std::string Text(int stringId) override {
        const auto text = TestBatchText(stringId);
        if (!text)
            ADD_FAILURE() << "no text " << stringId;
        return text.value_or("");
    }
    void SetBusy(bool busy) override {
        busyChanges.push_back(busy);
        events.push_back(busy ? "busy" : "idle");
    }
    void ShowMessage(int id) override {
        EXPECT_TRUE(Busy()) << "message " << id << " shown while the buttons are enabled";
        messages.push_back(id);
        events.push_back("message " + std::to_string(id));
    }
    void ShowFailure(int id, const std::filesystem::path& file, int systemError) override {
        ShowMessage(id);
        failures.push_back({id, file, systemError});
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
    bool StopRequested() override {
        ++stopAsks;
        return stopAfterAsks >= 0 && stopAsks > stopAfterAsks;
    }
    void MoveFocus(FocusTarget target) override {
        focusMoves.push_back(target);
        events.push_back("focus " + std::to_string(static_cast<int>(target)));
    }
};

} // namespace zelbrin::testing
