// Files from Explorer: dropped on the dialog, or given on the command line by
// a "Send To" shortcut or a drop on the program's icon. Each becomes the
// source as if chosen with "Source File..."; a first piece switches to join.
#include "input_driver.h"
#include "zelbrin_fixture.h"

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class ZelbrinExplorerFiles : public ZelbrinDialog {
  protected:
    void SetUp() override {
        ui::WriteBytes(data, "some data");
        ui::WriteBytes(piece, "piece one");
        fs::create_directories(folder_ / "a folder");
    }
    bool AcceptsDrops() const {
        return (GetWindowLongPtrW(dialog_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    }
    void ExpectSource(const fs::path& file) {
        EXPECT_TRUE(ui::WaitUntil([&] { return TextOf(IDC_SOURCE_PATH) == file.native(); }))
            << ui::Narrow(TextOf(IDC_SOURCE_PATH));
        EXPECT_EQ(TextOf(IDC_TARGET_PATH), file.parent_path().native() + L"\\");
    }
    // A drop the dialog must ignore: once a check mark posted after it shows,
    // the drop has been handled, and the paths must be as they were.
    void ExpectDropIgnored(const std::vector<std::wstring>& paths) {
        const std::wstring source = TextOf(IDC_SOURCE_PATH);
        const std::wstring target = TextOf(IDC_TARGET_PATH);
        ui::DroppedFiles ignored(dialog_, paths);
        PostMessageW(Item(IDC_BATCH_FILE), BM_SETCHECK, BST_CHECKED, 0);
        ASSERT_TRUE(ui::WaitUntil([&] { return Checked(IDC_BATCH_FILE); }));
        EXPECT_EQ(TextOf(IDC_SOURCE_PATH), source);
        EXPECT_EQ(TextOf(IDC_TARGET_PATH), target);
        PostMessageW(Item(IDC_BATCH_FILE), BM_SETCHECK, BST_UNCHECKED, 0);
        ASSERT_TRUE(ui::WaitUntil([&] { return !Checked(IDC_BATCH_FILE); }));
    }

    ui::TempFolder folder_{"zelbrin-explorer"};
    fs::path data = folder_ / L"città data.bin";
    fs::path piece = folder_ / L"report_doc.1";
};

TEST_F(ZelbrinExplorerFiles, DroppedFileBecomesTheSourceAndAFirstPieceSwitchesToJoin) {
    Start(L"");
    EXPECT_TRUE(AcceptsDrops());
    {
        ui::DroppedFiles drop(dialog_, {data.native()});
        ExpectSource(data);
    }
    EXPECT_TRUE(Checked(IDC_MODE_SPLIT)) << "a file that is no first piece keeps split mode";
    {
        ui::DroppedFiles drop(dialog_, {piece.native()});
        ExpectSource(piece);
    }
    EXPECT_TRUE(Checked(IDC_MODE_JOIN));
    EXPECT_FALSE(Checked(IDC_MODE_SPLIT));
    EXPECT_EQ(TextOf(IDOK), L"&Join");
    EXPECT_FALSE(Enabled(IDC_VALUE)) << "join mode, as a click on Join gives it";
    EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_)) << "a drop shows no box";
}

TEST_F(ZelbrinExplorerFiles, AFolderIsIgnoredAndOfSeveralFilesTheFirstIsTaken) {
    Start(L"");
    {
        // The folder comes first: the first file after it is taken.
        ui::DroppedFiles drop(dialog_,
                              {(folder_ / "a folder").native(), piece.native(), data.native()});
        ExpectSource(piece);
    }
    ExpectDropIgnored({(folder_ / "a folder").native()});
    EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_));
}

TEST_F(ZelbrinExplorerFiles, FileOnTheCommandLineIsChosenAtStart) {
    // Quoted, as Explorer passes a path with spaces.
    Start(L"\"" + data.native() + L"\"");
    ExpectSource(data);
    EXPECT_TRUE(Checked(IDC_MODE_SPLIT));
    app_.Kill();

    // A first piece, unquoted, and a second file after it that is not taken.
    Start(piece.native() + L" \"" + data.native() + L"\"");
    ExpectSource(piece);
    EXPECT_TRUE(Checked(IDC_MODE_JOIN));
    EXPECT_EQ(TextOf(IDOK), L"&Join");
    EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_));
    app_.Kill();

    // A name relative to the working folder, as a drop on the icon of a copy
    // of the program in the file's own folder gives it: chosen with its full
    // path, so the target folder is a real one.
    Start(L"\"" + data.filename().native() + L"\"", folder_.Path());
    ExpectSource(data);
}

TEST_F(ZelbrinExplorerFiles, AFolderOnTheCommandLineIsIgnored) {
    Start(L"\"" + (folder_ / "a folder").native() + L"\"");
    EXPECT_EQ(TextOf(IDC_SOURCE_PATH), L"");
    EXPECT_TRUE(Checked(IDC_MODE_SPLIT));
    EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_));
}

} // namespace
