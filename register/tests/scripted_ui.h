#pragma once
// A stand-in for the register's boxes and dialogs: answers come from a script
// given up front, and every box shown is recorded for the test to check.
#include "core/command_ui.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ombriel::testing {

struct ShownBox {
    enum Kind { Message, Input, Chooser } kind;
    std::string text; // message text or prompt
    std::string title;
    int flags = 0;           // message boxes
    std::string defaultText; // input box
};

class ScriptedUi : public CommandUi {
  public:
    // Script: the answers, in the order the boxes come up.
    std::deque<int> messageAnswers;              // for message boxes (default: OK)
    std::deque<std::string> inputAnswers;        // for input boxes (default: Cancel)
    std::deque<std::optional<ChosenFile>> picks; // for the chooser (default: Cancel)

    std::vector<ShownBox> shown;

    int ShowMessage(const std::string& text, const std::string& title, int flags) override {
        shown.push_back({ShownBox::Message, text, title, flags, {}});
        if (messageAnswers.empty())
            return flags == kMsgYesNoQuestion ? kAnswerNo : kAnswerOk;
        int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    std::string AskText(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override {
        shown.push_back({ShownBox::Input, prompt, title, 0, defaultText});
        if (inputAnswers.empty())
            return {};
        std::string answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::optional<ChosenFile> ChooseDocument() override {
        shown.push_back({ShownBox::Chooser, {}, {}, 0, {}});
        if (picks.empty())
            return std::nullopt;
        auto pick = picks.front();
        picks.pop_front();
        return pick;
    }

    // Titles of the boxes shown, in order (the chooser shows as "<chooser>").
    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const ShownBox& box : shown)
            titles.push_back(box.kind == ShownBox::Chooser ? "<chooser>" : box.title);
        return titles;
    }
};

} // namespace ombriel::testing
