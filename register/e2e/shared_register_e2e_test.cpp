// Two copies of the register on one folder, as two PCs open it from a shared
// folder: what one adds, the other cannot overwrite, even while its grid
// still shows the list from before.
#include "register_fixture.h"

namespace {

class SharedRegisterE2e : public TwoRegistersE2e {};

TEST_F(SharedRegisterE2e, CopyWithAnOldGridIsRefusedTheNameTheOtherJustAdded) {
    const auto mine = folder / L"PC1" / L"report.pdf";
    const auto theirs = folder / L"PC2" / L"report.pdf";
    Put(mine, "documento del primo PC");
    Put(theirs, "documento del secondo PC");
    Start();
    StartOther();
    ASSERT_TRUE(ui::Settle(otherForm_));
    ASSERT_EQ(ui::ListViewItemCount(OtherGrid()), 0);

    // The other copy opens its Add first: while its dialog is open its grid
    // is not refreshed, so it still shows the register from before.
    ui::Click(ui::Child(otherForm_, IDC_BTN_ADDFILE));
    HWND dialog = ui::WaitForDialog(other_.Id());
    ASSERT_NE(dialog, nullptr) << "no open-file dialog in the second copy";

    Press(IDC_BTN_ADDFILE);
    ChooseInOpenDialog(mine);
    AnswerInputBox(L"Aggiungi nuovo FILE", L"Descrizione FILE ?", L"report", L"Del primo PC");
    ASSERT_TRUE(WaitRows(1));
    ExpectNoFurtherBox();
    EXPECT_EQ(ui::ListViewItemCount(OtherGrid()), 0) << "refreshed under its open dialog";

    ASSERT_TRUE(ui::AnswerOpenFileDialog(dialog, theirs.wstring()));
    auto box = ui::WaitForMessageBox(other_.Id());
    ASSERT_TRUE(box.has_value()) << "the second add was not refused";
    EXPECT_EQ(box->title, L"Impossibile procedere");
    EXPECT_EQ(box->text, L"Esiste già un file 'report.pdf'");
    EXPECT_TRUE(box->hasIcon);
    ASSERT_TRUE(ui::Answer(box->hwnd, IDOK));
    ASSERT_TRUE(ui::Settle(otherForm_)) << "the second copy does not answer";
    EXPECT_FALSE(ui::HasDialog(other_.Id())) << "no description may be asked after the refusal";

    // Nothing was overwritten, and the refusal's reload shows the first's entry.
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"report.pdf"), "documento del primo PC");
    EXPECT_EQ(ui::ReadBytes(folder / L"Doc" / L"report.pdf.dat"), Record("", "Del primo PC"));
    EXPECT_EQ(ui::ReadBytes(theirs), "documento del secondo PC");
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewItemCount(OtherGrid()) == 1; }));
    EXPECT_EQ(ui::ListViewCellText(OtherGrid(), 0, 1), L"Del primo PC");
    EXPECT_FALSE(ui::HasDialog(process_.Id()));
}

} // namespace
