// What the dialog opens: the About and Help boxes, the system menu's items,
// the source and target choosers and the tooltips.
#include "zelbrin_fixture.h"

#include <filesystem>
#include <string>

namespace {

const std::wstring kHelpEnd = L"Place your mouse over the buttons to read a brief description\n\n"
                              L"check the README.TXT for a detailed Help & FAQ";

void ExpectAbout(const ui::MessageBoxInfo& box) {
    EXPECT_EQ(box.title, L"About Zelbrin");
    EXPECT_FALSE(box.text.empty());
    EXPECT_EQ(box.text.find(L"README"), std::wstring::npos) << "that is the Help box";
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

void ExpectHelp(const ui::MessageBoxInfo& box) {
    EXPECT_EQ(box.title, L"Zelbrin Help");
    ASSERT_GE(box.text.size(), kHelpEnd.size());
    EXPECT_EQ(box.text.substr(box.text.size() - kHelpEnd.size()), kHelpEnd);
    EXPECT_LT(box.text.size(), 300u) << "the Help text must fit its 300-character buffer";
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

TEST_F(ZelbrinDialog, AboutAndHelpButtonsShowTheirBoxes) {
    ui::Click(Item(IDC_ABOUT_BUTTON));
    auto about = ExpectBox();
    ExpectAbout(about);
    ASSERT_TRUE(ui::Answer(about.hwnd, IDOK));

    ui::Click(Item(IDC_HELP_BUTTON));
    auto help = ExpectBox();
    ExpectHelp(help);
    // The notice leads both boxes.
    EXPECT_EQ(help.text.substr(0, about.text.size()), about.text);
    ASSERT_TRUE(ui::Answer(help.hwnd, IDOK));
}

TEST_F(ZelbrinDialog, ReadmeShipsBesideTheProgram) {
    const std::string readme = ui::ReadBytes(ui::ExeDir() / "README.TXT");
    EXPECT_NE(readme.find("FREQUENTLY ASKED QUESTIONS"), std::string::npos);
    EXPECT_NE(readme.find("JOIN.BAT"), std::string::npos);
}

// The system menu's last entries are Help then About.
TEST_F(ZelbrinDialog, SystemMenuEndsWithHelpThenAbout) {
    ui::PickSystemMenuItem(dialog_, {VK_UP});
    auto last = ExpectBox();
    ExpectAbout(last);
    ASSERT_TRUE(ui::Answer(last.hwnd, IDOK));

    ui::PickSystemMenuItem(dialog_, {VK_UP, VK_UP});
    auto beforeLast = ExpectBox();
    ExpectHelp(beforeLast);
    ASSERT_TRUE(ui::Answer(beforeLast.hwnd, IDOK));
}

// The menu opens on Restore. With Size gone the third item is Minimize, and
// with Maximize gone the next item (past the separator) is Close.
TEST_F(ZelbrinDialog, SystemMenuHasNoSizeAndNoMaximize) {
    ui::PickSystemMenuItem(dialog_, {VK_DOWN, VK_DOWN});
    EXPECT_TRUE(ui::WaitUntil([&] { return IsIconic(dialog_) != FALSE; }, 3000))
        << "the third item is not Minimize: Size is still there";
    ShowWindow(dialog_, SW_RESTORE);
    ASSERT_TRUE(ui::WaitUntil([&] { return !IsIconic(dialog_); }, 3000));

    ui::PickSystemMenuItem(dialog_, {VK_DOWN, VK_DOWN, VK_DOWN});
    EXPECT_TRUE(app_.WaitExit(5000)) << "the item after Minimize is not Close: Maximize is there";
    EXPECT_FALSE(IsZoomed(dialog_));
}

class ZelbrinChoosers : public ZelbrinDialog {
  protected:
    std::filesystem::path MakeFile(const std::wstring& name) {
        const auto path = folder_ / name;
        ui::WriteBytes(path, "0123456789");
        return path;
    }
    HWND OpenSourceChooser() {
        ui::Click(Item(IDC_SOURCE_BUTTON));
        return ui::WaitForDialog(app_.Id(), L"Open");
    }
    ui::TempFolder folder_{"zelbrin-choose"};
};

TEST_F(ZelbrinChoosers, SourceSetsTargetToItsFolderAndCancelKeepsTheTarget) {
    // Any script in the name reaches the dialog intact.
    const auto source = MakeFile(L"città_データ_big.zip");
    HWND open = OpenSourceChooser();
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(ui::Text(GetDlgItem(open, 1136)), L"All") << "split mode preselects All";
    ASSERT_TRUE(ui::AnswerOpenFileDialog(open, source.wstring()));
    ASSERT_TRUE(ui::WaitUntil([&] { return !TextOf(IDC_SOURCE_PATH).empty(); }));
    EXPECT_EQ(TextOf(IDC_SOURCE_PATH), source.wstring());
    EXPECT_EQ(TextOf(IDC_TARGET_PATH), folder_.Path().wstring() + L"\\");

    open = OpenSourceChooser();
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(ui::CancelDialog(open));
    ASSERT_TRUE(ui::WaitUntil([&] { return TextOf(IDC_SOURCE_PATH).empty(); }));
    EXPECT_EQ(TextOf(IDC_TARGET_PATH), folder_.Path().wstring() + L"\\");
}

TEST_F(ZelbrinChoosers, JoinModePreselectsTheFirstPieceFilter) {
    Click(IDC_MODE_JOIN);
    HWND open = OpenSourceChooser();
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(ui::Text(GetDlgItem(open, 1136)), L".1 File");
    ASSERT_TRUE(ui::CancelDialog(open));
}

TEST_F(ZelbrinChoosers, CancelledFolderBrowserEmptiesTheTarget) {
    SetTextOf(IDC_TARGET_PATH, L"C:\\old\\");
    ui::Click(Item(IDC_TARGET_BUTTON));
    HWND browse = OtherDialog();
    ASSERT_NE(browse, nullptr);
    ASSERT_TRUE(ui::CancelDialog(browse));
    ASSERT_TRUE(ui::WaitUntil([&] { return TextOf(IDC_TARGET_PATH).empty(); }));
}

// The browser opens on a file-system folder; OK hands it over as the system
// returns it, with no backslash added.
TEST_F(ZelbrinChoosers, FolderBrowserOkSetsTheTargetAsReturned) {
    ui::Click(Item(IDC_TARGET_BUTTON));
    HWND browse = OtherDialog();
    ASSERT_NE(browse, nullptr);
    ASSERT_TRUE(ui::Answer(browse, IDOK));
    ASSERT_TRUE(ui::WaitUntil([&] { return !TextOf(IDC_TARGET_PATH).empty(); }));
    const std::wstring target = TextOf(IDC_TARGET_PATH);
    EXPECT_TRUE(std::filesystem::is_directory(target)) << ui::Narrow(target);
    EXPECT_NE(target.back(), L'\\');
}

TEST_F(ZelbrinDialog, TooltipsFollowTheModeAndShowWholeLongPaths) {
    auto tip = ui::ToolTipText(Item(IDC_SOURCE_BUTTON));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, L"Enter a source file that you want to split");

    tip = ui::ToolTipText(Item(IDC_CRC_CHECK));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, L"Creates a CRC check-sum for the file being split , which will be used for "
                    L"consistency checks after ");

    Click(IDC_MODE_JOIN);
    tip = ui::ToolTipText(Item(IDC_TARGET_BUTTON));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, L"Enter a target directory where you want the joined file to be copied");

    // Far longer than the 80 characters of the request's own text field.
    std::wstring longPath = L"C:\\";
    for (int i = 0; i < 12; ++i)
        longPath += L"folder number " + std::to_wstring(i) + L" ünïcødé\\";
    longPath += L"movie_avi.1";
    SetTextOf(IDC_SOURCE_PATH, longPath);
    tip = ui::ToolTipText(Item(IDC_SOURCE_PATH));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, longPath);
    // An empty path edit shows no tip at all.
    SetTextOf(IDC_TARGET_PATH, L"");
    tip = ui::ToolTipText(Item(IDC_TARGET_PATH));
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, L"");
    EXPECT_TRUE(app_.Running());
}

} // namespace
