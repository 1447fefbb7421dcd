// The row menu (right-click, the menu key) and type-to-find: the ways a
// Windows list of documents is used besides its buttons.
#include "register_fixture.h"
#include "ui_driver_keys.h"

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class RowMenuE2e : public RegisterE2e {
  protected:
    // The link's document, there: a link to a missing one is marked so.
    fs::path linked_ = folder / L"Dati" / L"Anno 2024" / L"b-tab.xls";

    // Rows in record-name order: a file entry, a link entry, a file entry.
    void StartWithEntries(const std::wstring& args = {}) {
        Put(folder / L"Doc" / L"a-verbale.pdf", "PDF");
        Put(folder / L"Doc" / L"a-verbale.pdf.dat", Record("", "Verbale"));
        Put(linked_, "XLS");
        Put(folder / L"Doc" / L"b-tab.xls.dat", Record(U8(linked_), "Tabella"));
        Put(folder / L"Doc" / L"c-nota.doc", "DOC");
        Put(folder / L"Doc" / L"c-nota.doc.dat", Record("", "Nota"));
        Start(args);
        ASSERT_TRUE(WaitRows(3));
    }
    void RightClickCell(int item, int column) {
        ui::PostRightClick(Grid(), ui::Centre(ui::ListViewCellRect(Grid(), item, column)));
    }
    // Moves down the open menu `downs` times and confirms; the first Down
    // reaches the first item, and separators are passed over.
    void PickFromMenu(int downs) {
        ASSERT_TRUE(ui::WaitForPopupMenu(form_)) << "no menu";
        for (int i = 0; i < downs; ++i)
            ui::PostKey(Grid(), VK_DOWN);
        ui::PostKey(Grid(), VK_RETURN);
        ASSERT_TRUE(ui::WaitUntil([&] { return !ui::HasPopupMenu(form_); }));
    }
    void EmptyTheClipboard() {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
    }
    std::wstring DocOf(const wchar_t* name) { return (folder / L"Doc" / name).native(); }
};

TEST_F(RowMenuE2e, RightClickChoosesTheRowAndCopiaPercorsoCopiesTheDocumentsPath) {
    StartWithEntries();
    EmptyTheClipboard();
    RightClickCell(2, 1);
    PickFromMenu(3);
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ClipboardText().has_value(); }));
    EXPECT_EQ(*ui::ClipboardText(), DocOf(L"c-nota.doc")) << "a file entry's path in Doc";
    EXPECT_EQ(ui::ListViewSelectedItem(Grid()), 2) << "the row right-clicked is chosen";
    // The commands of the buttons act on it too.
    Press(IDC_BTN_MODIFICA);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"Nota", nullptr);

    EmptyTheClipboard();
    RightClickCell(1, 2);
    PickFromMenu(3);
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ClipboardText().has_value(); }));
    EXPECT_EQ(*ui::ClipboardText(), linked_.wstring()) << "a link's own path";
    // The hint follows the row chosen in the path column.
    EXPECT_EQ(ui::ToolTipText(Grid()).value_or(L"<none>"), linked_.wstring());
    ExpectNoFurtherBox();
}

TEST_F(RowMenuE2e, ApriPercorsoFileShowsTheDocumentSelectedInExplorer) {
    // Explorer is found in the Windows folder that %windir% names: here
    // a stand-in that records how it was started.
    const fs::path windows = folder / L"Windows";
    fs::create_directories(windows);
    fs::copy_file(ui::ExeDir() / L"cmdline_recorder.exe", windows / L"explorer.exe");
    std::wstring saved(32768, L'\0');
    saved.resize(GetEnvironmentVariableW(L"windir", saved.data(), DWORD(saved.size())));
    SetEnvironmentVariableW(L"windir", windows.c_str());
    StartWithEntries();
    SetEnvironmentVariableW(L"windir", saved.c_str());

    RightClickCell(0, 1);
    PickFromMenu(2);
    auto report = ViewerReport();
    ASSERT_EQ(report.count("line"), 1u) << "Explorer was not started";
    EXPECT_EQ(report.find("exe")->second, U8(windows / L"explorer.exe"));
    EXPECT_EQ(report.find("line")->second, "\"" + U8(windows / L"explorer.exe") + "\" /select,\"" +
                                               U8(DocOf(L"a-verbale.pdf")) + "\"");
    EXPECT_EQ(report.find("arg")->second, "/select," + U8(DocOf(L"a-verbale.pdf")));
    ExpectNoFurtherBox();
}

TEST_F(RowMenuE2e, TheMenuKeyOpensTheMenuAtTheSelectedRowWithModificaAndElimina) {
    StartWithEntries();
    ClickCell(1, 1);
    ui::PostKey(Grid(), VK_APPS);
    PickFromMenu(4); // Apri, Apri percorso file, Copia percorso, Modifica
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"Tabella", L"Tabella 2024");
    ASSERT_TRUE(
        ui::WaitUntil([&] { return ui::ListViewCellText(Grid(), 1, 1) == L"Tabella 2024"; }));
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"b-tab.xls.dat"),
              Record(U8(linked_), "Tabella 2024"));

    // Shift+F10, which the keyboard sends as a context menu with no position.
    ClickCell(0, 1);
    PostMessageW(Grid(), WM_CONTEXTMENU, WPARAM(Grid()), LPARAM(-1));
    PickFromMenu(5); // ... Modifica, Elimina
    auto confirm = ExpectBox(L"CONFERMA ELIMINAZIONE", L"Verbale");
    ASSERT_TRUE(ui::Answer(confirm.hwnd, IDNO));
    // The item sends the command every other way sends too.
    ui::PostCommand(form_, IDM_ROW_ELIMINA);
    confirm = ExpectBox(L"CONFERMA ELIMINAZIONE", L"Verbale");
    ASSERT_TRUE(ui::Answer(confirm.hwnd, IDNO));
    ExpectNoFurtherBox();
}

TEST_F(RowMenuE2e, InReadOnlyModeTheMenuHasNoModificaOrElimina) {
    StartWithEntries(L"RO");
    EmptyTheClipboard();
    RightClickCell(2, 1);
    // Up from no item reaches the last one: with no editing items it is
    // "Copia percorso".
    ASSERT_TRUE(ui::WaitForPopupMenu(form_));
    ui::PostKey(Grid(), VK_UP);
    ui::PostKey(Grid(), VK_RETURN);
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ClipboardText().has_value(); }));
    EXPECT_EQ(*ui::ClipboardText(), DocOf(L"c-nota.doc"));
    ui::PostCommand(form_, IDM_ROW_ELIMINA);
    ExpectNoFurtherBox();
    EXPECT_TRUE(fs::exists(folder / L"Doc" / L"c-nota.doc.dat"));
}

TEST_F(RowMenuE2e, CopiaPercorsoWaitsForAClipboardThatAnotherProgramHoldsOpen) {
    StartWithEntries(L"RO");
    EmptyTheClipboard();
    ClickCell(2, 1);
    // This process holds the clipboard open, as a clipboard manager would,
    // until the copy is seen to be waiting for it: the window stops
    // answering while it tries again.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ui::PostCommand(form_, IDM_ROW_COPIA_PERCORSO);
    const bool waiting = ui::WaitUntil([&] {
        DWORD_PTR ignored;
        return !SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored);
    });
    CloseClipboard();
    ASSERT_TRUE(waiting) << "the copy did not wait for the clipboard";
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ClipboardText().has_value(); }));
    EXPECT_EQ(*ui::ClipboardText(), DocOf(L"c-nota.doc"));
    ExpectNoFurtherBox();
}

TEST_F(RowMenuE2e, ApriOpensTheRowRightClicked) {
    Viewers("", U8(InstallViewer()), "");
    StartWithEntries();
    RightClickCell(2, 1);
    PickFromMenu(1);
    auto report = ViewerReport();
    ASSERT_EQ(report.count("arg"), 1u) << "the viewer was not started";
    EXPECT_EQ(report.find("arg")->second, U8(DocOf(L"c-nota.doc")));
}

class TypeToFindE2e : public RegisterE2e {
  protected:
    void StartWithDescriptions() {
        const std::pair<const wchar_t*, const char*> entries[] = {
            {L"1.pdf", "Alfa"},     {L"2.pdf", "\xC8rba medica"}, {L"3.pdf", "Contratto"},
            {L"4.pdf", "cartella"}, {L"5.pdf", "Secondo"},
        };
        // Record files are Windows-1252: \xC8 is "\u00c8".
        for (const auto& [name, description] : entries)
            Put(folder / L"Doc" / (std::wstring(name) + L".dat"), Record("", description));
        Start();
        ASSERT_TRUE(WaitRows(5));
    }
    bool Selected(int item) {
        return ui::WaitUntil([&] { return ui::ListViewSelectedItem(Grid()) == item; });
    }
};

TEST_F(TypeToFindE2e, TypedLettersFindTheDescriptionWhateverItsCaseAndAccents) {
    StartWithDescriptions();
    // No other description starts with either letter: the second one may
    // come before or after the pause, the entry found is the same.
    ui::PostChars(Grid(), L"\u00e9R");
    ASSERT_TRUE(Selected(1)) << "\"\u00e9R\" finds \"\u00c8rba medica\"";
    // SelectedRow follows: Modify offers that entry.
    Press(IDC_BTN_MODIFICA);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"\u00c8rba medica", nullptr);
}

TEST_F(TypeToFindE2e, OneLetterTypedAgainStepsThroughTheEntriesThatStartWithIt) {
    StartWithDescriptions();
    ui::PostChars(Grid(), L"c");
    ASSERT_TRUE(Selected(2));
    ui::PostChars(Grid(), L"c");
    ASSERT_TRUE(Selected(3));
    ui::PostChars(Grid(), L"C");
    ASSERT_TRUE(Selected(2)) << "back to the first after the last";
    // A letter no description starts with leaves the selection.
    ui::PostChars(Grid(), L"z");
    ui::PostKey(Grid(), VK_F2);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"Contratto", nullptr);
    ExpectNoFurtherBox();
}

} // namespace
