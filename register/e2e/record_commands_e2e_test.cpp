// The record commands and the opening of entries, driven through the real
// window: the open-file dialog, the program's input box, the message boxes,
// and a stand-in viewer that records how it was started.
#include "../win/input_box_win.h"
#include "../win/resource.h"
#include "listview_driver.h"
#include "mouse_driver.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const std::wstring kFormClass = L"OmbrielForm1";

std::string Record(const std::string& target, const std::string& description) {
    return "\"" + target + "\"\r\n\"" + description + "\"\r\n";
}

std::string U8(const std::filesystem::path& p) {
    return ui::Narrow(p.wstring());
}

class RecordCommandsE2e : public testing::Test {
  protected:
    ui::TempFolder folder{L"ombriel"};
    ui::Process process_;
    HWND form_ = nullptr;

    void Put(const std::filesystem::path& file, const std::string& bytes) {
        std::filesystem::create_directories(file.parent_path());
        ui::WriteFileBytes(file, bytes);
    }
    // Settings with the three viewer paths (ASCII paths: the file is ANSI).
    void Viewers(const std::string& pdf, const std::string& doc, const std::string& xls) {
        Put(folder / L"Ombriel.ini", "\"" + pdf + "\"\r\n\"" + doc + "\"\r\n\"" + xls + "\"\r\n");
    }
    void Start() {
        if (!std::filesystem::exists(folder / L"Ombriel.ini"))
            Viewers("", "", "");
        std::filesystem::create_directories(folder / L"Doc");
        process_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", L"", folder.Path());
        form_ = ui::WaitForWindow(process_.Id(), kFormClass);
        ASSERT_NE(form_, nullptr);
    }
    HWND Grid() const { return ui::Child(form_, IDC_FGRID); }
    void Press(int id) { ui::Click(ui::Child(form_, id)); }
    int Rows() const { return ui::ListViewItemCount(Grid()); }
    bool WaitRows(int n) {
        return ui::WaitUntil([&] { return Rows() == n; });
    }
    // Clicks a cell once it is really under the pointer (a closing window of
    // an earlier run, or one still being placed, must not take the click),
    // and waits until the grid has taken a single click in.
    void ClickCell(int item, int column, bool twice = false) {
        RECT cell = ui::ListViewCellRect(Grid(), item, column);
        POINT pt{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
        ClientToScreen(Grid(), &pt);
        ASSERT_TRUE(ui::WaitUntil([&] { return WindowFromPoint(pt) == Grid(); }))
            << "the grid cell is not under the pointer";
        ui::ClickAt(Grid(), cell, twice);
        if (twice)
            return;
        ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewFocusedItem(Grid()) == item; }))
            << "the click did not reach row " << item;
        // A command posted next would overtake the rest of the click still
        // queued as input, and a click soon after would make a double-click.
        Sleep(GetDoubleClickTime() + 100);
    }

    void ChooseInOpenDialog(const std::filesystem::path& file) {
        HWND dialog = ui::WaitForDialog(process_.Id());
        ASSERT_NE(dialog, nullptr) << "no open-file dialog";
        ASSERT_TRUE(ui::AnswerOpenFileDialog(dialog, file.wstring()));
    }
    // Checks the input box's title, prompt and pre-filled, selected default,
    // then types answer and presses OK (or Cancel when answer is null).
    void AnswerInputBox(const std::wstring& title, const std::wstring& prompt,
                        const std::wstring& defaultText, const wchar_t* answer) {
        HWND box = ui::WaitForDialog(process_.Id(), title);
        ASSERT_NE(box, nullptr) << "no input box titled " << ui::Narrow(title);
        HWND edit = GetDlgItem(box, IDC_INPUTBOX_EDIT);
        EXPECT_EQ(ui::Text(GetDlgItem(box, IDC_INPUTBOX_PROMPT)), prompt);
        EXPECT_EQ(ui::Text(edit), defaultText);
        DWORD sel = DWORD(SendMessageW(edit, EM_GETSEL, 0, 0));
        EXPECT_EQ(LOWORD(sel), 0);
        EXPECT_EQ(HIWORD(sel), defaultText.size()) << "the default text is selected";
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
        EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
        if (answer)
            ui::SetText(edit, answer);
        ASSERT_TRUE(ui::Answer(box, answer ? IDOK : IDCANCEL));
    }
    ui::MessageBoxInfo ExpectBox(const std::wstring& title, const std::wstring& text) {
        auto box = ui::WaitForMessageBox(process_.Id());
        EXPECT_TRUE(box.has_value()) << "no box titled " << ui::Narrow(title);
        if (!box)
            return {};
        EXPECT_EQ(box->title, title);
        EXPECT_EQ(box->text, text);
        return *box;
    }
    // What the stand-in viewer wrote about its start.
    std::multimap<std::string, std::string> ViewerReport() {
        auto file = folder / L"cmdline.txt";
        std::multimap<std::string, std::string> report;
        if (!ui::WaitUntil([&] { return std::filesystem::exists(file); }))
            return report;
        std::string text = ui::ReadFileBytes(file);
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find("\r\n", pos);
            std::string line = text.substr(pos, end - pos);
            size_t eq = line.find('=');
            report.emplace(line.substr(0, eq), line.substr(eq + 1));
            pos = end + 2;
        }
        return report;
    }
    // The stand-in viewer copied to a folder whose name has a space, with a
    // decoy at the path an unquoted command line would start instead.
    std::filesystem::path InstallViewer() {
        auto viewer = folder / L"Programmi Test" / L"viewer.exe";
        std::filesystem::create_directories(viewer.parent_path());
        std::filesystem::copy_file(ui::ExeDir() / L"cmdline_recorder.exe", viewer);
        std::filesystem::copy_file(ui::ExeDir() / L"cmdline_recorder.exe",
                                   folder / L"Programmi.exe");
        return viewer;
    }
};

TEST_F(RecordCommandsE2e, AddFileMovesDocumentIntoDocThenModifyNeedsANewClick) {
    auto source = folder / L"Altrove" / L"Offerta città, v2 € łódź 日本.pdf";
    Put(source, "PDF");
    Start();

    Press(IDC_BTN_ADDFILE);
    ChooseInOpenDialog(source);
    AnswerInputBox(L"Aggiungi nuovo FILE", L"Descrizione FILE ?", L"Offerta città, v2 € łódź 日本",
                   L"Offerta al cliente, città łódź");
    ASSERT_TRUE(WaitRows(1));

    EXPECT_EQ(ui::ListViewCellText(Grid(), 0, 1), L"Offerta al cliente, città łódź");
    EXPECT_EQ(ui::ListViewCellText(Grid(), 0, 2), L"Offerta città, v2 € łódź 日本.pdf");
    EXPECT_FALSE(std::filesystem::exists(source));
    EXPECT_EQ(ui::ReadFileBytes(folder / L"Doc" / L"Offerta città, v2 € łódź 日本.pdf"), "PDF");
    EXPECT_TRUE(
        std::filesystem::exists(folder / L"Doc" / L"Offerta città, v2 € łódź 日本.pdf.dat"));

    // The reload cleared the selection.
    Press(IDC_BTN_MODIFICA);
    auto box = ExpectBox(L"AVVISO", L"Selezionare prima una RIGA");
    EXPECT_TRUE(box.hasIcon);
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
}

TEST_F(RecordCommandsE2e, AddLinkRecordsPathAndSameNameIsThenRefused) {
    auto linked = folder / L"Dati" / L"tab.xls";
    auto other = folder / L"Altri" / L"tab.xls";
    Put(linked, "XLS");
    Put(other, "altro");
    Start();

    Press(IDC_BTN_ADDLINK);
    ChooseInOpenDialog(linked);
    AnswerInputBox(L"Aggiungi nuovo LINK", L"Descrizione LINK ?", L"tab", L"Tabella costi");
    ASSERT_TRUE(WaitRows(1));
    EXPECT_EQ(ui::ListViewCellText(Grid(), 0, 2), linked.wstring());
    EXPECT_EQ(ui::ReadFileBytes(folder / L"Doc" / L"tab.xls.dat"),
              Record(U8(linked), "Tabella costi"));
    EXPECT_EQ(ui::ReadFileBytes(linked), "XLS");

    Press(IDC_BTN_ADDFILE);
    ChooseInOpenDialog(other);
    auto box = ExpectBox(L"Impossibile procedere", L"Esiste già un file 'tab.xls'");
    EXPECT_TRUE(box.hasIcon);
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
    EXPECT_TRUE(ui::NoDialogFor(process_.Id(), 500)) << "no input box after the refusal";
    EXPECT_EQ(ui::ReadFileBytes(other), "altro");
    EXPECT_FALSE(std::filesystem::exists(folder / L"Doc" / L"tab.xls"));
}

TEST_F(RecordCommandsE2e, CancelledDescriptionAddsNothing) {
    auto source = folder / L"Altrove" / L"report.pdf";
    Put(source, "PDF");
    Start();

    Press(IDC_BTN_ADDFILE);
    ChooseInOpenDialog(source);
    AnswerInputBox(L"Aggiungi nuovo FILE", L"Descrizione FILE ?", L"report", nullptr);

    EXPECT_TRUE(ui::NoDialogFor(process_.Id(), 500));
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_FALSE(std::filesystem::exists(folder / L"Doc" / L"report.pdf.dat"));
}

TEST_F(RecordCommandsE2e, CancelledOpenFileDialogEndsTheAddQuietly) {
    Put(folder / L"Doc" / L"a.doc.dat", Record("", "primo"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    Press(IDC_BTN_ADDLINK);
    HWND dialog = ui::WaitForDialog(process_.Id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ui::CancelDialog(dialog));

    EXPECT_TRUE(ui::NoDialogFor(process_.Id(), 500));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(ui::ReadFileBytes(folder / L"Doc" / L"a.doc.dat"), Record("", "primo"));
}

TEST_F(RecordCommandsE2e, WriteProtectedDocumentIsReportedAndItsEntryKept) {
    auto document = folder / L"Doc" / L"report.pdf";
    Put(document, "PDF");
    Put(folder / L"Doc" / L"report.pdf.dat", Record("", "Relazione"));
    ASSERT_TRUE(SetFileAttributesW(document.c_str(), FILE_ATTRIBUTE_READONLY));
    Start();
    ASSERT_TRUE(WaitRows(1));

    ClickCell(0, 1);
    Press(IDC_BTN_ELIMINA);
    ASSERT_TRUE(ui::Answer(ExpectBox(L"CONFERMA ELIMINAZIONE", L"Relazione").hwnd, IDYES));
    auto second = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(second.has_value());
    ASSERT_TRUE(ui::Answer(second->hwnd, IDYES));
    auto failure = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(failure.has_value()) << "the refused deletion was not reported";
    EXPECT_EQ(failure->title, L"Errore 5");
    EXPECT_FALSE(failure->hasIcon);
    ASSERT_TRUE(ui::Answer(failure->hwnd, IDOK));

    EXPECT_EQ(Rows(), 1);
    EXPECT_TRUE(std::filesystem::exists(document));
    EXPECT_TRUE(std::filesystem::exists(folder / L"Doc" / L"report.pdf.dat"));
    SetFileAttributesW(document.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RecordCommandsE2e, ModifyRewritesDescriptionOfClickedLinkRow) {
    Put(folder / L"Doc" / L"a.doc.dat", Record("", "primo"));
    Put(folder / L"Doc" / L"b.pdf.dat", Record("C:\\Dati\\b.pdf", "secondo"));
    Start();
    ASSERT_TRUE(WaitRows(2));

    ClickCell(1, 1);
    Press(IDC_BTN_MODIFICA);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"secondo",
                   L"secondo, rivisto");

    EXPECT_TRUE(
        ui::WaitUntil([&] { return ui::ListViewCellText(Grid(), 1, 1) == L"secondo, rivisto"; }));
    EXPECT_EQ(ui::ReadFileBytes(folder / L"Doc" / L"b.pdf.dat"),
              Record("C:\\Dati\\b.pdf", "secondo, rivisto"));
    EXPECT_EQ(ui::ReadFileBytes(folder / L"Doc" / L"a.doc.dat"), Record("", "primo"));
}

TEST_F(RecordCommandsE2e, DeleteFileEntryAsksTwiceAndNoKeepsEverything) {
    Put(folder / L"Doc" / L"report.pdf", "PDF");
    Put(folder / L"Doc" / L"report.pdf.dat", Record("", "Relazione"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    ClickCell(0, 1);
    Press(IDC_BTN_ELIMINA);
    auto first = ExpectBox(L"CONFERMA ELIMINAZIONE", L"Relazione");
    EXPECT_EQ(first.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_TRUE(first.hasIcon);
    ASSERT_TRUE(ui::Answer(first.hwnd, IDYES));
    auto second =
        ExpectBox(L"CANCELLO FILE ?", L"Il file 'report.pdf' verra ELIMINATO definitivamente\r\n"
                                      L"N.B. non sarà più possibile recuperare il file");
    ASSERT_TRUE(ui::Answer(second.hwnd, IDNO));
    EXPECT_TRUE(ui::NoDialogFor(process_.Id(), 300));
    EXPECT_TRUE(std::filesystem::exists(folder / L"Doc" / L"report.pdf"));
    EXPECT_TRUE(std::filesystem::exists(folder / L"Doc" / L"report.pdf.dat"));

    // A No leaves the selection: Delete again acts on the same row.
    Press(IDC_BTN_ELIMINA);
    ASSERT_TRUE(ui::Answer(ExpectBox(L"CONFERMA ELIMINAZIONE", L"Relazione").hwnd, IDYES));
    auto again = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->title, L"CANCELLO FILE ?");
    ASSERT_TRUE(ui::Answer(again->hwnd, IDYES));
    ASSERT_TRUE(WaitRows(0));
    EXPECT_FALSE(std::filesystem::exists(folder / L"Doc" / L"report.pdf"));
    EXPECT_FALSE(std::filesystem::exists(folder / L"Doc" / L"report.pdf.dat"));
}

TEST_F(RecordCommandsE2e, DeleteLinkEntryAsksOnceAndKeepsLinkedDocument) {
    auto linked = folder / L"Dati" / L"tab.xls";
    Put(linked, "XLS");
    Put(folder / L"Doc" / L"tab.xls.dat", Record(U8(linked), "Tabella"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    ClickCell(0, 1);
    Press(IDC_BTN_ELIMINA);
    ASSERT_TRUE(ui::Answer(ExpectBox(L"CONFERMA ELIMINAZIONE", L"Tabella").hwnd, IDYES));
    ASSERT_TRUE(WaitRows(0));
    EXPECT_TRUE(ui::NoDialogFor(process_.Id(), 300));
    EXPECT_EQ(ui::ReadFileBytes(linked), "XLS");
}

TEST_F(RecordCommandsE2e, DoubleClickPdfFileEntryStartsConfiguredViewerWithQuotedPath) {
    auto viewer = InstallViewer();
    Viewers(U8(viewer), "", "");
    Put(folder / L"Doc" / L"Relazione annuale ł.pdf", "PDF");
    Put(folder / L"Doc" / L"Relazione annuale ł.pdf.dat", Record("", "Relazione"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    ClickCell(0, 1, true);

    auto report = ViewerReport();
    ASSERT_FALSE(report.empty()) << "the viewer was not started";
    EXPECT_EQ(report.find("exe")->second, U8(viewer)) << "not the decoy Programmi.exe";
    EXPECT_EQ(report.find("show")->second, "3");
    ASSERT_EQ(report.count("arg"), 1u) << report.find("line")->second;
    EXPECT_EQ(report.find("arg")->second, U8(folder / L"Doc" / L"Relazione annuale ł.pdf"));
}

TEST_F(RecordCommandsE2e, DoubleClickDocLinkEntryStartsWordViewerWithLinkedPath) {
    auto viewer = InstallViewer();
    auto linked = folder / L"Dati archivio" / L"verbale, riunione.doc";
    Put(linked, "DOC");
    Viewers("", U8(viewer), "");
    Put(folder / L"Doc" / L"verbale, riunione.doc.dat", Record(U8(linked), "Verbale"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    ClickCell(0, 1, true);

    auto report = ViewerReport();
    ASSERT_FALSE(report.empty()) << "the viewer was not started";
    EXPECT_EQ(report.find("exe")->second, U8(viewer));
    EXPECT_EQ(report.find("show")->second, "3");
    ASSERT_EQ(report.count("arg"), 1u) << report.find("line")->second;
    EXPECT_EQ(report.find("arg")->second, U8(linked));
}

TEST_F(RecordCommandsE2e, DoubleClickEntryThatCannotStartShowsErroreBox) {
    Put(folder / L"Doc" / L"SCAN.PDF", "not a program");
    Put(folder / L"Doc" / L"SCAN.PDF.dat", Record("", "Scansione"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    ClickCell(0, 1, true);

    auto box = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title.rfind(L"Errore ", 0), 0u) << ui::Narrow(box->title);
    EXPECT_GT(box->title.size(), 7u);
    EXPECT_FALSE(box->text.empty());
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(box->hasIcon);
    ASSERT_TRUE(ui::Answer(box->hwnd, IDOK));
}

} // namespace
