// Link entries whose target is gone: the mark in column 0 and the hint, the
// box of a double-click instead of a failed start, and the mark going once
// the target is back.
#include "register_fixture.h"
#include "ui_driver_keys.h"

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class MissingLinkE2e : public RegisterE2e {
  protected:
    fs::path present_ = folder / L"Archivio" / L"a-atto.pdf";
    fs::path missing_ = folder / L"Archivio" / L"b-bilancio 2024.pdf";

    // Rows in record-name order: a link to a document that is there, a link
    // to one that is not, a file entry with its document in Doc.
    void StartWithLinks() {
        Viewers(U8(InstallViewer()), "", "");
        Put(present_, "PDF");
        Put(folder / L"Doc" / L"a-atto.pdf.dat", Record(U8(present_), "Atto"));
        Put(folder / L"Doc" / L"b-bilancio 2024.pdf.dat", Record(U8(missing_), "Bilancio"));
        Put(folder / L"Doc" / L"c-nota.doc", "DOC");
        Put(folder / L"Doc" / L"c-nota.doc.dat", Record("", "Nota"));
        Start();
        ASSERT_TRUE(WaitRows(3));
    }
    std::wstring Mark(int item) { return ui::ListViewCellText(Grid(), item, 0); }
    bool WaitMark(int item, const std::wstring& mark) {
        return ui::WaitUntil([&] { return Mark(item) == mark; });
    }
};

TEST_F(MissingLinkE2e, AMissingTargetIsMarkedAndADoubleClickNamesItUntilItIsBack) {
    StartWithLinks();
    ASSERT_TRUE(WaitMark(1, L"!")) << "the link to a missing document has no mark";
    // Both links are on one drive, checked in row order: the first one's
    // answer came before the second's.
    EXPECT_EQ(Mark(0), L"") << "a link whose document is there is marked";
    EXPECT_EQ(Mark(2), L"") << "a file entry with its document is marked";

    // The hint of the marked row says why.
    ClickCell(1, 2);
    EXPECT_EQ(ui::ToolTipText(Grid()).value_or(L"<none>"),
              L"Documento mancante: " + missing_.wstring());

    DoubleClickCell(1, 1);
    auto box = ExpectBox(L"Documento mancante",
                         L"Il documento collegato non si trova:\r\n" + missing_.wstring());
    ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
    ExpectNoFurtherBox();
    EXPECT_FALSE(fs::exists(folder / L"cmdline.txt")) << "the viewer was started all the same";

    // The document is put back: the double-click looks again, opens it and
    // the mark goes.
    Put(missing_, "PDF");
    DoubleClickCell(1, 1);
    auto report = ViewerReport();
    ASSERT_FALSE(report.empty()) << "the viewer was not started";
    EXPECT_EQ(report.find("arg")->second, U8(missing_));
    EXPECT_TRUE(WaitMark(1, L""));
    ExpectNoFurtherBox();
}

TEST_F(MissingLinkE2e, TheMarkStaysThroughALiveReloadAndGoesWhenTheRowOnScreenIsLookedAtAgain) {
    // Results are trusted for a short while only, so the row on screen is
    // looked at again soon.
    SetEnvironmentVariableW(L"OMBRIEL_LINK_RECHECK_MS", L"300");
    StartWithLinks();
    SetEnvironmentVariableW(L"OMBRIEL_LINK_RECHECK_MS", nullptr);
    ASSERT_TRUE(WaitMark(1, L"!"));

    // Another PC adds an entry ahead of them: the rows move down one and the
    // mark moves with its entry, not with its row number.
    Put(folder / L"Doc" / L"0-allegato.doc", "DOC");
    Put(folder / L"Doc" / L"0-allegato.doc.dat", Record("", "Allegato"));
    ASSERT_TRUE(WaitRows(4));
    EXPECT_EQ(ui::ListViewCellText(Grid(), 2, 2), missing_.wstring());
    EXPECT_EQ(Mark(2), L"!") << "the mark did not follow its entry";
    EXPECT_EQ(Mark(1), L"");
    ClickCell(2, 2);
    EXPECT_EQ(ui::ToolTipText(Grid()).value_or(L"<none>"),
              L"Documento mancante: " + missing_.wstring());

    // The document comes back with no input at all: the row on screen is
    // checked again once its result is stale, and the hint of the chosen
    // row follows.
    Put(missing_, "PDF");
    EXPECT_TRUE(WaitMark(2, L""));
    EXPECT_TRUE(ui::WaitUntil(
        [&] { return ui::ToolTipText(Grid()).value_or(L"<none>") == missing_.wstring(); }));
    ExpectNoFurtherBox();
}

} // namespace
