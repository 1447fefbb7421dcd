#include "command_ui_win.h"

#include "file_dialog_win.h"
#include "input_box_win.h"

#include "core/records/record_file.h"

#include "support/text.h"

namespace ombriel {
namespace {

using support::Narrow;
using support::Widen;

// Cmd2: one filter entry whose label and pattern are the same text.
const wchar_t kDocumentFilter[] = L"*.pdf;*.doc;*.xls;*.exe|*.pdf;*.doc;*.xls;*.exe";

// The flag values 0, 64, 48 and 36.
UINT BoxFlags(BoxKind kind) {
    switch (kind) {
    case BoxKind::Information:
        return MB_OK | MB_ICONINFORMATION;
    case BoxKind::Exclamation:
        return MB_OK | MB_ICONEXCLAMATION;
    case BoxKind::Question:
        return MB_YESNO | MB_ICONQUESTION;
    case BoxKind::Plain:
        break;
    }
    return MB_OK;
}

} // namespace

Answer WinCommandUi::ShowMessage(const std::string& text, const std::string& title, BoxKind kind) {
    switch (MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), BoxFlags(kind))) {
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

std::string WinCommandUi::AskText(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
    // Every text the box asks for is a description: no longer than a record
    // can hold whole, whatever its characters.
    return Narrow(ShowInputBox(owner_, Widen(prompt), Widen(title), Widen(defaultText),
                               kDescriptionMaxUnits));
}

std::optional<ChosenFile> WinCommandUi::ChooseDocument() {
    const ChosenPath chosen = ShowOpen(owner_, kDocumentFilter);
    if (!chosen.Chosen())
        return std::nullopt;
    return ChosenFile{Narrow(chosen.fullPath), Narrow(chosen.fileName)};
}

} // namespace ombriel
