#pragma once
// The register's boxes and dialogs on screen: message boxes with the flag
// values the user's system gives each kind, the program's own input box and
// the open-file dialog for documents.
#include "core/commands/command_ui.h"

#include <windows.h>

namespace ombriel {

class WinCommandUi : public CommandUi {
  public:
    explicit WinCommandUi(HWND owner) : owner_(owner) {}

    Answer ShowMessage(const std::string& text, const std::string& title, BoxKind kind) override;
    std::string AskText(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override;
    std::optional<ChosenFile> ChooseDocument() override;

  private:
    HWND owner_;
};

} // namespace ombriel
