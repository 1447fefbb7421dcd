// Documents dropped on the register from Explorer: each one goes through the
// boxes of Add file in turn; a cancelled description asks whether to go on;
// folders, duplicates, locked documents and the read-only mode are refused.
#include "register_fixture.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class DroppedFilesE2e : public RegisterE2e {
  protected:
    fs::path outside = folder / L"Scrivania";

    fs::path Document(const std::wstring& name, const std::string& bytes = "DOC") {
        Put(outside / name, bytes);
        return outside / name;
    }
    static std::vector<std::wstring> Paths(const std::vector<fs::path>& files) {
        std::vector<std::wstring> paths;
        for (const auto& f : files)
            paths.push_back(f.native());
        return paths;
    }
    void AnswerFileBox(const std::wstring& defaultText, const wchar_t* answer) {
        AnswerInputBox(L"Aggiungi nuovo FILE", L"Descrizione FILE ?", defaultText, answer);
    }
    void AnswerGoOn(const std::wstring& question, int button) {
        auto box = ExpectBox(L"Aggiungi nuovo FILE", question);
        EXPECT_NE(std::find(box.buttons.begin(), box.buttons.end(), IDYES), box.buttons.end());
        EXPECT_NE(std::find(box.buttons.begin(), box.buttons.end(), IDNO), box.buttons.end());
        ASSERT_TRUE(ui::Answer(box.hwnd, button));
    }
    bool InDoc(const std::wstring& name) { return fs::exists(folder / L"Doc" / name); }
};

TEST_F(DroppedFilesE2e, EachDroppedDocumentIsAddedAsAFileEntryInTurn) {
    const fs::path a = Document(L"Verbale assemblea.pdf");
    const fs::path b = Document(L"tab.xls");
    Start();
    EXPECT_TRUE(GetWindowLongPtrW(form_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ui::DroppedFiles drop(form_, Paths({a, b}));
    AnswerFileBox(L"Verbale assemblea", L"Verbale");
    AnswerFileBox(L"tab", L"Tabella");
    ASSERT_TRUE(WaitRows(2));
    ExpectNoFurtherBox();
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"Verbale assemblea.pdf"), "DOC");
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"Verbale assemblea.pdf.dat"), Record("", "Verbale"));
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"tab.xls.dat"), Record("", "Tabella"));
    EXPECT_EQ(ui::ListViewCellText(Grid(), 0, 1), L"Tabella");
}

TEST_F(DroppedFilesE2e, ACancelledDescriptionSkipsTheFileAndAsksWhetherToGoOn) {
    const fs::path a = Document(L"a.pdf");
    const fs::path b = Document(L"b.pdf");
    const fs::path c = Document(L"c.pdf");
    const fs::path d = Document(L"d.pdf");
    Start();
    ui::DroppedFiles drop(form_, Paths({a, b, c, d}));
    AnswerFileBox(L"a", nullptr);
    AnswerGoOn(L"Continuare con gli altri 3 file?", IDYES);
    AnswerFileBox(L"b", L"Bi");
    AnswerFileBox(L"c", nullptr);
    AnswerGoOn(L"Continuare con l'altro file?", IDNO);
    ASSERT_TRUE(WaitRows(1));
    ExpectNoFurtherBox();
    EXPECT_TRUE(fs::exists(a)) << "a skipped document stays where it was";
    EXPECT_TRUE(InDoc(L"b.pdf"));
    EXPECT_TRUE(fs::exists(c));
    EXPECT_TRUE(fs::exists(d)) << "No ended the drop";
    EXPECT_FALSE(InDoc(L"d.pdf.dat"));
}

TEST_F(DroppedFilesE2e, FiveHundredDroppedFilesAskOneByOneAndCanBeStopped) {
    std::vector<fs::path> files;
    for (int i = 0; i < 500; ++i)
        files.push_back(Document(L"doc" + std::to_wstring(1000 + i) + L".pdf"));
    Start();
    ui::DroppedFiles drop(form_, Paths(files));
    AnswerFileBox(L"doc1000", L"Primo");
    AnswerFileBox(L"doc1001", L"Secondo");
    AnswerFileBox(L"doc1002", nullptr);
    AnswerGoOn(L"Continuare con gli altri 497 file?", IDNO);
    ASSERT_TRUE(WaitRows(2));
    ExpectNoFurtherBox();
    EXPECT_TRUE(InDoc(L"doc1001.pdf"));
    EXPECT_TRUE(fs::exists(files[2]));
    EXPECT_TRUE(fs::exists(files[499]));
}

TEST_F(DroppedFilesE2e, AFolderIsRefusedWithABoxAndADuplicateAsTheButtonRefusesIt) {
    const fs::path sub = outside / L"Cartella";
    fs::create_directories(sub);
    const fs::path dup = Document(L"report.pdf");
    Put(folder / L"Doc" / L"report.pdf.dat", Record("C:\\B\\report.pdf", "Già qui"));
    Start();
    ASSERT_TRUE(WaitRows(1));
    ui::DroppedFiles drop(form_, Paths({sub, dup}));
    auto box =
        ExpectBox(L"Impossibile procedere",
                  L"'" + sub.native() + L"' è una cartella: si possono aggiungere solo file");
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
    box = ExpectBox(L"Impossibile procedere", L"Esiste già un file 'report.pdf'");
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
    ExpectNoFurtherBox();
    EXPECT_TRUE(fs::exists(dup));
    EXPECT_TRUE(fs::is_directory(sub));
}

TEST_F(DroppedFilesE2e, ALockedDocumentStaysWhereItWasAndItsRecordIsTakenBack) {
    const fs::path locked = Document(L"bloccato.pdf");
    Start();
    // Another program holds the document open and shares nothing.
    HANDLE hold = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    ui::DroppedFiles drop(form_, Paths({locked}));
    AnswerFileBox(L"bloccato", L"Bloccato");
    auto box = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title.rfind(L"Errore ", 0), 0u) << ui::Narrow(box->title);
    ASSERT_TRUE(ui::Answer(box->hwnd, IDOK));
    ExpectNoFurtherBox();
    CloseHandle(hold);
    EXPECT_TRUE(fs::exists(locked));
    EXPECT_FALSE(InDoc(L"bloccato.pdf"));
    EXPECT_FALSE(InDoc(L"bloccato.pdf.dat")) << "the record was taken back";
    EXPECT_EQ(Rows(), 0);
}

TEST_F(DroppedFilesE2e, ANameWindows1252CannotHoldIsKeptWhole) {
    const std::wstring name = L"Relazione \u0141\u00f3d\u017a \u65e5\u672c.pdf";
    const fs::path doc = Document(name);
    Start();
    ui::DroppedFiles drop(form_, Paths({doc}));
    AnswerFileBox(L"Relazione \u0141\u00f3d\u017a \u65e5\u672c", L"\u0141\u00f3d\u017a");
    ASSERT_TRUE(WaitRows(1));
    EXPECT_TRUE(InDoc(name));
    EXPECT_EQ(ui::ListViewCellText(Grid(), 0, 2), name);
    EXPECT_EQ(ui::ListViewCellText(Grid(), 0, 1), L"\u0141\u00f3d\u017a");
    const std::string record = ui::ReadBytes(folder / L"Doc" / (name + L".dat"));
    EXPECT_EQ(record.rfind("\xEF\xBB\xBF", 0), 0u) << "kept as UTF-8 with its mark";
}

TEST_F(DroppedFilesE2e, InReadOnlyModeNothingCanBeDropped) {
    const fs::path doc = Document(L"a.pdf");
    Start(L"RO");
    EXPECT_FALSE(GetWindowLongPtrW(form_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ui::DroppedFiles drop(form_, Paths({doc}));
    // Posted after the drop, the chooser of Add link comes once the drop has
    // been handled.
    Press(IDC_BTN_ADDLINK);
    HWND chooser = ui::WaitForDialog(process_.Id());
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(ui::Text(chooser), L"Open") << "the drop showed a box of its own";
    ASSERT_TRUE(ui::CancelDialog(chooser));
    ExpectNoFurtherBox();
    EXPECT_TRUE(fs::exists(doc));
    EXPECT_EQ(Rows(), 0);
}

} // namespace
