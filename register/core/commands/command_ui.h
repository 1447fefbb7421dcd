#pragma once
// The boxes and dialogs the record commands talk to the user through. The
// window layer shows the real ones; tests answer them from a script.
#include <optional>
#include <string>

namespace ombriel {

// The kinds of message box the register shows; the window layer gives each
// its buttons and icon.
enum class BoxKind {
    Plain,       // OK, no icon: the "Errore " box
    Information, // OK, information icon
    Exclamation, // OK, exclamation icon
    Question,    // Yes and No, question icon
};
// What the user pressed.
enum class Answer { Ok, Yes, No };

// A document picked in the open-file dialog (UTF-8 texts).
struct ChosenFile {
    std::string path; // full path as the dialog returned it
    std::string name; // bare file name with extension
};

class CommandUi {
  public:
    virtual ~CommandUi() = default;

    // Shows a modal message box; returns the answer pressed.
    virtual Answer ShowMessage(const std::string& text, const std::string& title, BoxKind kind) = 0;
    // Shows the modal input box with the edit pre-filled with defaultText;
    // returns the typed text, or the empty text when the user cancelled.
    virtual std::string AskText(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) = 0;
    // Shows the open-file dialog for documents; nothing when the user cancelled.
    virtual std::optional<ChosenFile> ChooseDocument() = 0;
};

} // namespace ombriel
