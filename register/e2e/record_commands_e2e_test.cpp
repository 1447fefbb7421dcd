// The record commands and the opening of entries, driven through the real
// window.
#include "register_fixture.h"

namespace {

using RecordCommandsE2e = RegisterE2e;

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
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"Offerta città, v2 € łódź 日本.pdf"), "PDF");
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
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"tab.xls.dat"), Record(U8(linked), "Tabella costi"));
    EXPECT_EQ(ui::ReadBytes(linked), "XLS");

    Press(IDC_BTN_ADDFILE);
    ChooseInOpenDialog(other);
    auto box = ExpectBox(L"Impossibile procedere", L"Esiste già un file 'tab.xls'");
    EXPECT_TRUE(box.hasIcon);
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
    ExpectNoFurtherBox(); // no input box after the refusal
    EXPECT_EQ(ui::ReadBytes(other), "altro");
    EXPECT_FALSE(std::filesystem::exists(folder / L"Doc" / L"tab.xls"));
}

TEST_F(RecordCommandsE2e, CancelledDescriptionAddsNothing) {
    auto source = folder / L"Altrove" / L"report.pdf";
    Put(source, "PDF");
    Start();

    Press(IDC_BTN_ADDFILE);
    ChooseInOpenDialog(source);
    AnswerInputBox(L"Aggiungi nuovo FILE", L"Descrizione FILE ?", L"report", nullptr);

    ExpectNoFurtherBox();
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

    ExpectNoFurtherBox();
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"a.doc.dat"), Record("", "primo"));
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
    const std::wstring tail = L"\n\n" + document.native();
    ASSERT_GT(failure->text.size(), tail.size());
    EXPECT_EQ(failure->text.substr(failure->text.size() - tail.size()), tail)
        << ui::Narrow(failure->text);
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
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"b.pdf.dat"),
              Record("C:\\Dati\\b.pdf", "secondo, rivisto"));
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"a.doc.dat"), Record("", "primo"));
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
    ExpectNoFurtherBox();
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
    ExpectNoFurtherBox();
    EXPECT_EQ(ui::ReadBytes(linked), "XLS");
}

TEST_F(RecordCommandsE2e, DoubleClickPdfFileEntryStartsConfiguredViewerWithQuotedPath) {
    auto viewer = InstallViewer();
    Viewers(U8(viewer), "", "");
    Put(folder / L"Doc" / L"Relazione annuale ł.pdf", "PDF");
    Put(folder / L"Doc" / L"Relazione annuale ł.pdf.dat", Record("", "Relazione"));
    Start();
    ASSERT_TRUE(WaitRows(1));

    DoubleClickCell(0, 1);

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

    DoubleClickCell(0, 1);

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

    DoubleClickCell(0, 1);

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
