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
    Finish(form, ombriel::AddFileEntry(form.StartFolder(), ui, SystemFileServices()));
}

void AddLinkEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::AddLinkEntry(form.StartFolder(), ui, SystemFileServices()));
}

void ModifyDescription(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ModifyEntry(form.StartFolder(), form.ChosenEntry(), ui, SystemFileServices()));
}

void DeleteEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form,
           ombriel::DeleteEntry(form.StartFolder(), form.ChosenEntry(), ui, SystemFileServices()));
}

void OpenEntry(HWND owner, int row, const std::string& nameOrPath,
               const std::filesystem::path& startFolder, const ViewerPaths& viewers,
               bool markedMissing) {
    WinCommandUi ui(owner);
    const std::string folder = support::Utf8FromPath(startFolder);
    if (ReportMissingDocument(row, nameOrPath, folder, markedMissing, SystemFileServices(), ui))
        return;
    ombriel::OpenEntry(row, nameOrPath, folder, viewers, SystemLauncher(), ui);
}

} // namespace ombriel
