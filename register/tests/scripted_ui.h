#pragma once
// A stand-in for the register's boxes and dialogs: answers come from a script
// given up front, and every box shown is recorded for the test to check.
#include "core/commands/command_ui.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ombriel::testing {

struct ShownBox {
    enum Kind { Message, Input, Chooser } what;
    std::string text; // message text or prompt
    std::string title;
    BoxKind kind = BoxKind::Plain; // message boxes
    std::string defaultText;       // input box
};

class ScriptedUi : public CommandUi {
  public:
    // Script: the answers, in the order the boxes come up.
    std::deque<Answer> messageAnswers;           // for message boxes (default: OK, or No)
    std::deque<std::string> inputAnswers;        // for input boxes (default: Cancel)
    std::deque<std::optional<ChosenFile>> picks; // for the chooser (default: Cancel)

    std::vector<ShownBox> shown;

    Answer ShowMessage(const std::string& text, const std::string& title, BoxKind kind) override {
        shown.push_back({ShownBox::Message, text, title, kind, {}});
        if (messageAnswers.empty())
            return kind == BoxKind::Question ? Answer::No : Answer::Ok;
        Answer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    std::string AskText(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override {
        shown.push_back({ShownBox::Input, prompt, title, BoxKind::Plain, defaultText});
        if (inputAnswers.empty())
            return {};
        std::string answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::optional<ChosenFile> ChooseDocument() override {
        shown.push_back({ShownBox::Chooser, {}, {}, BoxKind::Plain, {}});
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
            titles.push_back(box.what == ShownBox::Chooser ? "<chooser>" : box.title);
        return titles;
    }
};

} // namespace ombriel::testing
