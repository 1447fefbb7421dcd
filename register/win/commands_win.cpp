// The register's commands as Form1's events reach them: each one shows the
// real boxes and dialogs through WinCommandUi, runs the command's logic from
// the core on the real files, and reloads the grid when the command says so.
#include "commands_win.h"

#include "file_dialog_win.h"
#include "form1_win.h"
#include "input_box_win.h"

#include "core/file_services.h"
#include "core/open_entry.h"
#include "core/process_launcher.h"
#include "core/record_commands.h"
#include "core/record_file.h"
#include "core/row_selection.h"
#include "core/utf8_path.h"
#include "core/wide_text.h"

#include <optional>

namespace {

using ombriel::Narrow;
using ombriel::Widen;

// Cmd2: one filter entry whose label and pattern are the same text.
const wchar_t kDocumentFilter[] = L"*.pdf;*.doc;*.xls;*.exe|*.pdf;*.doc;*.xls;*.exe";

class WinCommandUi : public ombriel::CommandUi {
  public:
    explicit WinCommandUi(HWND owner) : owner_(owner) {}

    int ShowMessage(const std::string& text, const std::string& title, int flags) override {
        return MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), UINT(flags));
    }
    std::string AskText(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override {
        // Every text the box asks for is a description: no longer than a
        // record can hold whole, whatever its characters.
        return Narrow(ShowInputBox(owner_, Widen(prompt), Widen(title), Widen(defaultText),
                                   ombriel::kDescriptionMaxUnits));
    }
    std::optional<ombriel::ChosenFile> ChooseDocument() override {
        ChosenFile chosen = ShowOpen(owner_, kDocumentFilter);
        if (!chosen.Chosen())
            return std::nullopt;
        return ombriel::ChosenFile{Narrow(chosen.fullPath), Narrow(chosen.fileName)};
    }

  private:
    HWND owner_;
};

void Finish(Form1& form, ombriel::AfterCommand after) {
    if (after == ombriel::AfterCommand::Reload)
        form.ReloadRecords();
}

// The texts of the row the user chose, or nothing when no row is chosen.
std::optional<ombriel::SelectedEntry> Selected(const Form1& form) {
    const ombriel::GridModel& grid = form.gridModel;
    if (form.SelectedRow < 1 || form.SelectedRow >= grid.Rows())
        return std::nullopt;
    return ombriel::SelectedEntry{grid.TextMatrix(form.SelectedRow, 1),
                                  grid.TextMatrix(form.SelectedRow, 2)};
}

} // namespace

void AddFileEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::AddFileEntry(form.StartFolder, ui, ombriel::SystemFileServices()));
}

void AddLinkEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::AddLinkEntry(form.StartFolder, ui, ombriel::SystemFileServices()));
}

void ModifyDescription(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::ModifyEntry(form.StartFolder, Selected(form), ui,
                                      ombriel::SystemFileServices()));
}

void DeleteEntry(Form1& form) {
    WinCommandUi ui(form.Hwnd());
    Finish(form, ombriel::DeleteEntry(form.StartFolder, Selected(form), ui,
                                      ombriel::SystemFileServices()));
}

void SelectRow(Form1& form) {
    const ombriel::GridModel& grid = form.gridModel;
    ombriel::RowClick click = ombriel::ClickRow(
        grid.Row(), grid.Col(), [&](int row, int col) { return grid.TextMatrix(row, col); });
    form.SelectedRow = click.selectedRow;
    form.Fgrid.SetToolTipText(click.hint);
}

void OpenEntry(Form1& form) {
    const ombriel::GridModel& grid = form.gridModel;
    const int row = grid.Row();
    const std::string nameOrPath = row >= 1 && row < grid.Rows() ? grid.TextMatrix(row, 2) : "";
    WinCommandUi ui(form.Hwnd());
    ombriel::OpenEntry(row, nameOrPath, ombriel::Utf8FromPath(form.StartFolder), form.viewers,
                       ombriel::SystemLauncher(), ui);
}
