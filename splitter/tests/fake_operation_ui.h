#pragma once
// A scripted stand-in for the dialog: hands out fixed inputs, answers the
// confirmation as told and records everything an operation shows.
#include "core/operation_ui.h"

#include <cstdint>
#include <string>
#include <vector>

struct FakeOperationUi : OperationUi {
    OperationInputs inputs;
    bool batchWanted = false;
    bool answerYes = true;

    std::vector<int> messages;
    std::vector<std::string> questions;
    std::vector<FocusTarget> focusMoves;
    std::vector<bool> busyChanges;
    uint64_t rangeFirst = 0, rangeLast = 0;
    std::vector<uint64_t> positions;

    OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return batchWanted; }
    void SetBusy(bool busy) override { busyChanges.push_back(busy); }
    void ShowMessage(int id) override { messages.push_back(id); }
    bool Confirm(const std::string& text) override {
        questions.push_back(text);
        return answerYes;
    }
    void SetProgressRange(uint64_t first, uint64_t last) override {
        rangeFirst = first;
        rangeLast = last;
    }
    void SetProgressPos(uint64_t pos) override { positions.push_back(pos); }
    void MoveFocus(FocusTarget target) override { focusMoves.push_back(target); }
};
