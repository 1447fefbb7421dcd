// The grid as every Windows list works: the row comes from the click itself,
// whatever the pointer does; the keyboard moves, opens, edits and deletes;
// and the column widths stay the program's.
#include "register_fixture.h"

#include <filesystem>
#include <vector>

namespace {

class GridInputE2e : public RegisterE2e {
  protected:
    // Two pdf entries and a viewer that records what it was asked to open.
    void StartWithTwoDocuments(const std::wstring& args = {}) {
        Viewers(U8(InstallViewer()), "", "");
        for (const auto& [name, description] :
             {std::pair{L"a-primo.pdf", "Primo"}, std::pair{L"b-secondo.pdf", "Secondo"}}) {
            Put(folder / L"Doc" / name, "PDF");
            Put(folder / L"Doc" / (std::wstring(name) + L".dat"), Record("", description));
        }
        Start(args);
        ASSERT_TRUE(WaitRows(2));
    }
    std::string Document(const wchar_t* name) { return U8(folder / L"Doc" / name); }

    // The document the viewer was started with; the report is taken away so
    // the next start makes a new one.
    std::string OpenedDocument() {
        auto report = ViewerReport();
        std::filesystem::remove(folder / L"cmdline.txt");
        auto arg = report.find("arg");
        return arg == report.end() ? "<viewer not started>" : arg->second;
    }

    // A key whose effect the test can see, sent after keys whose effect it
    // cannot: once the grid shows it, the keys before it have been handled.
    void MoveSelectionAsMarker(UINT key, int expectedItem) {
        ui::PostKey(Grid(), key);
        ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewSelectedItem(Grid()) == expectedItem; }))
            << "the grid did not take the keys";
    }

    std::vector<int> ColumnWidths() {
        return {ui::ListViewColumnWidth(Grid(), 0), ui::ListViewColumnWidth(Grid(), 1),
                ui::ListViewColumnWidth(Grid(), 2)};
    }
    // Drags the divider at the right edge of a column and double-clicks it.
    void DragAndDoubleClickDivider(int column, int dx) {
        HWND header = ui::ListViewHeader(Grid());
        RECT item = ui::ListViewHeaderItemRect(Grid(), column);
        POINT divider{item.right, (item.top + item.bottom) / 2};
        ui::PostDrag(header, divider, POINT{divider.x + dx, divider.y});
        ui::PostDoubleClick(header, divider);
    }
};

TEST_F(GridInputE2e, PostedDoubleClickOpensTheClickedRowWhereverThePointerRests) {
    StartWithTwoDocuments();
    // The pointer rests on the first row; the double-click is on the second.
    POINT first = ui::Centre(ui::ListViewCellRect(Grid(), 0, 1));
    ClientToScreen(Grid(), &first);
    SetCursorPos(first.x, first.y);

    DoubleClickCell(1, 1);
    EXPECT_EQ(OpenedDocument(), Document(L"b-secondo.pdf"));

    // Modify then offers the description of the row clicked, not the pointed one.
    Press(IDC_BTN_MODIFICA);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"Secondo", nullptr);
}

TEST_F(GridInputE2e, TheHighlightedRowIsTheChosenRowWhateverHighlightedIt) {
    StartWithTwoDocuments();
    // An assistive tool selects a row with no click at all.
    ui::ListViewSelectItem(Grid(), 1);
    Press(IDC_BTN_ELIMINA);
    auto confirm = ExpectBox(L"CONFERMA ELIMINAZIONE", L"Secondo");
    ASSERT_TRUE(ui::Answer(confirm.hwnd, IDNO));

    // A double-click whose click went missing (the list reports none for a
    // press the pointer moved during): the row opened is the row chosen.
    ClickCell(0, 1);
    const POINT second = ui::Centre(ui::ListViewCellRect(Grid(), 1, 1));
    PostMessageW(Grid(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(second.x, second.y));
    PostMessageW(Grid(), WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
    EXPECT_EQ(OpenedDocument(), Document(L"b-secondo.pdf"));
    Press(IDC_BTN_ELIMINA);
    confirm = ExpectBox(L"CONFERMA ELIMINAZIONE", L"Secondo");
    ASSERT_TRUE(ui::Answer(confirm.hwnd, IDNO));
}

TEST_F(GridInputE2e, ClickBelowTheRowsOrOnTheHeadingChoosesNoRow) {
    StartWithTwoDocuments();
    ClickCell(0, 1);
    RECT last = ui::ListViewCellRect(Grid(), 1, 1);
    ui::PostClick(Grid(), POINT{ui::Centre(last).x, last.bottom + 3 * (last.bottom - last.top)});
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewSelectedItem(Grid()) == -1; }));
    Press(IDC_BTN_MODIFICA);
    auto box = ExpectBox(L"AVVISO", L"Selezionare prima una RIGA");
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));

    ClickCell(1, 2);
    ui::PostClick(ui::ListViewHeader(Grid()), ui::Centre(ui::ListViewHeaderItemRect(Grid(), 1)));
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewSelectedItem(Grid()) == -1; }));
    Press(IDC_BTN_ELIMINA);
    box = ExpectBox(L"AVVISO", L"Selezionare prima una RIGA");
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
    EXPECT_TRUE(std::filesystem::exists(folder / L"Doc" / L"b-secondo.pdf.dat"));
}

TEST_F(GridInputE2e, HomeEnterAndDownEnterOpenTheFirstAndTheSecondRow) {
    StartWithTwoDocuments();
    ui::PostKey(Grid(), VK_HOME);
    ui::PostKey(Grid(), VK_RETURN);
    EXPECT_EQ(OpenedDocument(), Document(L"a-primo.pdf"));
    ui::PostKey(Grid(), VK_DOWN);
    ui::PostKey(Grid(), VK_RETURN);
    EXPECT_EQ(OpenedDocument(), Document(L"b-secondo.pdf"));

    // The row the keys chose is the one Modify acts on.
    Press(IDC_BTN_MODIFICA);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"Secondo", nullptr);
    ExpectNoFurtherBox();
}

TEST_F(GridInputE2e, DeleteAndF2StartDeleteAndModifyForTheSelectedRow) {
    StartWithTwoDocuments();
    ui::PostKey(Grid(), VK_END);
    ui::PostKey(Grid(), VK_DELETE);
    auto confirm = ExpectBox(L"CONFERMA ELIMINAZIONE", L"Secondo");
    ASSERT_TRUE(ui::Answer(confirm.hwnd, IDNO));

    ui::PostKey(Grid(), VK_HOME);
    ui::PostKey(Grid(), VK_F2);
    AnswerInputBox(L"MODIFICA DESCRIZIONE", L"Nuova descrizione ?", L"Primo", L"Primo, rivisto");
    ASSERT_TRUE(
        ui::WaitUntil([&] { return ui::ListViewCellText(Grid(), 0, 1) == L"Primo, rivisto"; }));
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"a-primo.pdf.dat"), Record("", "Primo, rivisto"));
}

TEST_F(GridInputE2e, InReadOnlyModeDeleteAndF2DoNothingAndEnterStillOpens) {
    StartWithTwoDocuments(L"RO");
    ui::PostKey(Grid(), VK_HOME);
    ui::PostKey(Grid(), VK_DELETE);
    ui::PostKey(Grid(), VK_F2);
    MoveSelectionAsMarker(VK_DOWN, 1);
    EXPECT_FALSE(ui::HasDialog(process_.Id())) << "a key opened a command the buttons hide";
    EXPECT_TRUE(std::filesystem::exists(folder / L"Doc" / L"a-primo.pdf.dat"));

    ui::PostKey(Grid(), VK_RETURN);
    EXPECT_EQ(OpenedDocument(), Document(L"b-secondo.pdf"));
}

TEST_F(GridInputE2e, ColumnWidthsStayTheProgramsWhateverTheDividersGet) {
    StartWithTwoDocuments();
    const std::vector<int> widths = ColumnWidths();
    DragAndDoubleClickDivider(1, -80);
    DragAndDoubleClickDivider(2, 120);
    MoveSelectionAsMarker(VK_HOME, 0);
    EXPECT_EQ(ColumnWidths(), widths);
}

TEST_F(GridInputE2e, TheHiddenPathColumnOfReadOnlyModeCannotBeDraggedOpen) {
    StartWithTwoDocuments(L"RO");
    const std::vector<int> widths = ColumnWidths();
    ASSERT_EQ(widths[2], 0);
    DragAndDoubleClickDivider(1, -120);
    DragAndDoubleClickDivider(2, 120);
    MoveSelectionAsMarker(VK_HOME, 0);
    EXPECT_EQ(ColumnWidths(), widths);
}

} // namespace
