#include "commands_win.h"

#include "command_ui_win.h"
#include "form1_win.h"

#include "core/commands/open_entry.h"
#include "core/commands/record_commands.h"
#include "core/platform/file_services.h"
#include "core/platform/process_launcher.h"
#include "support/text.h"

namespace ombriel {
namespace {

void Finish(Form1& form, AfterCommand after) {
    if (after == AfterCommand::Reload)
        form.ReloadRecords();
}

} // namespace

void AddFileEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::AddFileEntry(form.StartFolder(), ui, form.Files()));
}

void AddLinkEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::AddLinkEntry(form.StartFolder(), ui, form.Files()));
}

void ModifyDescription(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ModifyEntry(form.StartFolder(), form.ChosenEntry(), ui, form.Files()));
}

void DeleteEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::DeleteEntry(form.StartFolder(), form.ChosenEntry(), ui, form.Files()));
}

void OpenEntry(HWND owner, int row, const std::string& nameOrPath,
               const std::filesystem::path& startFolder, const ViewerPaths& viewers,
               bool markedMissing, FileServices& files) {
    WinCommandUi ui(owner);
    const std::string folder = support::Utf8FromPath(startFolder);
    if (ReportMissingDocument(row, nameOrPath, folder, markedMissing, files, ui))
        return;
    ombriel::OpenEntry(row, nameOrPath, folder, viewers, SystemLauncher(), ui);
}

} // namespace ombriel
