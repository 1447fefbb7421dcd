#pragma once
// The boxes and dialogs the record commands talk to the user through. The
// window layer shows the real ones; tests answer them from a script.
#include <optional>
#include <string>

namespace ombriel {

// Message box flags and answers, with the values the user's system gives them.
enum MessageFlags : int {
    kMsgOk = 0,
    kMsgYesNoQuestion = 36,
    kMsgExclamation = 48,
    kMsgInformation = 64,
};
enum MessageAnswer : int {
    kAnswerOk = 1,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

// A document picked in the open-file dialog (UTF-8 texts).
struct ChosenFile {
    std::string path; // full path as the dialog returned it
    std::string name; // bare file name with extension
};

class CommandUi {
  public:
    virtual ~CommandUi() = default;

    // Shows a modal message box; returns the answer pressed.
    virtual int ShowMessage(const std::string& text, const std::string& title, int flags) = 0;
    // Shows the modal input box with the edit pre-filled with defaultText;
    // returns the typed text, or the empty text when the user cancelled.
    virtual std::string AskText(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) = 0;
    // Shows the open-file dialog for documents; nothing when the user cancelled.
    virtual std::optional<ChosenFile> ChooseDocument() = 0;
};

} // namespace ombriel
