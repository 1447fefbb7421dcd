// The split through the real dialog: the failure messages with their focus
// moves, the confirmation texts, the pieces, the .CRC bytes, JOIN.BAT run by
// cmd, and the free-space test on a small drive of its own.
#include "ui_driver_unix.h"
#include "zelbrin_fixture.h"

#include "support/testing/child_process.h"
#include "support/testing/host_features.h"

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {
const std::wstring kSuccess = L"Finished Splitting Successfully !!!";

std::string Pattern(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 37 + i / 256) & 0xFF);
    return s;
}

// Runs cmd's copy of a batch file in `folder` and waits for its end.
void RunBatch(const std::wstring& name, const fs::path& folder) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    support::testing::RunChild(fs::path(system) / L"cmd.exe", {"/c", ui::Narrow(name)}, folder);
}

class ZelbrinSplit : public ZelbrinDialog {
  protected:
    void SetUp() override {
        ZelbrinDialog::SetUp();
        fs::create_directories(src);
        fs::create_directories(out);
    }

    // Chooses a method (which empties the value), then fills the paths and
    // the value as the choosers and the keyboard would.
    void Prepare(int methodId, const fs::path& source, const fs::path& target,
                 const std::wstring& value) {
        Click(methodId);
        SetTextOf(IDC_SOURCE_PATH, source.wstring());
        SetTextOf(IDC_TARGET_PATH, target.wstring());
        SetTextOf(IDC_VALUE, value);
    }

    ui::MessageBoxInfo PressSplit() {
        ui::Click(Item(IDOK));
        return ExpectBox();
    }

    // Answers a box and waits until the split has given the buttons back.
    void Answer(const ui::MessageBoxInfo& box, int button) {
        ASSERT_TRUE(ui::Answer(box.hwnd, button));
    }
    void ExpectButtonsFreed() {
        EXPECT_TRUE(ui::WaitUntil([&] { return Enabled(IDOK) && Enabled(IDCANCEL); }))
            << "buttons 1 and 2 stay disabled";
    }

    // A split that must end with the success message and no other box.
    void ExpectSuccess(const ui::MessageBoxInfo& box) {
        EXPECT_EQ(box.title, L"Zelbrin");
        EXPECT_EQ(box.text, kSuccess);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        Answer(box, IDOK);
        ExpectButtonsFreed();
    }

    size_t FilesIn(const fs::path& folder) {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
    }

    ui::TempFolder dir{"split"};
    fs::path src = dir / L"src";
    fs::path out = dir / L"out";
};

struct RefusedInput {
    const char* name;
    bool source, target;
    const wchar_t* value;
    bool zeroBytes;
    const wchar_t* message;
    int focus; // 0: not checked
};

TEST_F(ZelbrinSplit, RefusedInputsShowTheirMessageMoveTheFocusAndFreeTheButtons) {
    ui::WriteBytes(src / L"data.bin", Pattern(1000));
    ui::WriteBytes(src / L"empty.bin", "");
    const RefusedInput cases[] = {
        {"no source", false, true, L"2", false,
         L"You have not selected a Source File !!\nPlease select a Source File by clicking on the "
         L"Source File button.",
         IDC_SOURCE_BUTTON},
        {"no target", true, false, L"2", false,
         L"You have not selected a Target Directory !!\nPlease select a Target Directory by "
         L"clicking on the Target Directory button.",
         IDC_TARGET_BUTTON},
        {"no value", true, true, L"", false, L"Please Enter a keyword /size / or no.of pieces !!",
         IDC_VALUE},
        {"letters in the count", true, true, L"3a", false, L"You can enter only numbers here !",
         IDC_VALUE},
        {"zero bytes", true, true, L"2", true,
         L"The selected file is of size 0 bytes.\nZero length files cannot be split !!!", 0},
    };
    for (const RefusedInput& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(IDC_METHOD_PIECES,
                c.source ? src / (c.zeroBytes ? L"empty.bin" : L"data.bin") : fs::path(),
                c.target ? out : fs::path(), c.value);
        const auto box = PressSplit();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.title, L"Zelbrin");
        EXPECT_TRUE(box.hasIcon);
        EXPECT_FALSE(Enabled(IDOK)) << "the split holds button 1 while its box is open";
        Answer(box, IDOK);
        ExpectButtonsFreed();
        if (c.focus) {
            EXPECT_EQ(ui::FocusOf(dialog_), Item(c.focus));
        }
        EXPECT_EQ(FilesIn(out), 0u);
    }
}

// Pressing Split on a source that is gone must not look as if the button
// had not been pressed: the box names the file and the system's reason.
TEST_F(ZelbrinSplit, SourceThatCannotBeOpenedIsSaidSoWithItsPath) {
    const fs::path gone = src / L"gone.bin";
    Prepare(IDC_METHOD_PIECES, gone, out, L"2");
    const auto box = PressSplit();
    const std::wstring head = L"The Source file could not be opened !!!\nNothing has been "
                              L"split.\n\n" +
                              gone.wstring() + L"\n";
    EXPECT_EQ(box.text.substr(0, head.size()), head);
    EXPECT_GT(box.text.size(), head.size()) << "the system's reason follows the path";
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    Answer(box, IDOK);
    ExpectButtonsFreed();
    EXPECT_EQ(FilesIn(out), 0u);
}

TEST_F(ZelbrinSplit, NoToTheConfirmationLeavesTheTargetUntouched) {
    ui::WriteBytes(src / L"data.bin", Pattern(1000));
    Tick(IDC_BATCH_FILE);
    Tick(IDC_CRC_CHECK);
    Prepare(IDC_METHOD_PIECES, src / L"data.bin", out, L"4");
    const auto box = PressSplit();
    EXPECT_EQ(box.text, L"File will be split into 4 pieces of size 250 bytes\nShall I continue ?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    Answer(box, IDNO);
    ExpectButtonsFreed();
    EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_)) << "No ends the split without a further box";
    EXPECT_EQ(FilesIn(out), 0u);
}

TEST_F(ZelbrinSplit, ByPiecesAsksWithTheLeftoverAndWritesThePieces) {
    const std::string data = Pattern(1000);
    ui::WriteBytes(src / L"report.final.doc", data);
    Prepare(IDC_METHOD_PIECES, src / L"report.final.doc", out, L"3");
    const auto question = PressSplit();
    EXPECT_EQ(question.title, L"Zelbrin");
    EXPECT_EQ(question.text, L"File will be split into 2 pieces of size 333 bytes and 1 piece of "
                             L"size 334 bytes\nShall I continue ?");
    Answer(question, IDYES);
    ExpectSuccess(ExpectBox());
    EXPECT_EQ(ui::ReadBytes(out / L"report.final_doc.1"), data.substr(0, 333));
    EXPECT_EQ(ui::ReadBytes(out / L"report.final_doc.2"), data.substr(333, 333));
    EXPECT_EQ(ui::ReadBytes(out / L"report.final_doc.3"), data.substr(666));
    EXPECT_EQ(FilesIn(out), 3u) << "no checksum or batch file unless ticked";
    EXPECT_EQ(ProgressPos(), 3);
}

TEST_F(ZelbrinSplit, BySizeInBytesWritesTheSmallerLastPiece) {
    const std::string data = Pattern(1000);
    ui::WriteBytes(src / L"data.bin", data);
    Prepare(IDC_METHOD_SIZE, src / L"data.bin", out, L"300");
    Click(IDC_UNIT_BYTES); // Bytes
    const auto question = PressSplit();
    EXPECT_EQ(question.text, L"File will be split into 4 pieces\nShall I continue ?");
    Answer(question, IDYES);
    ExpectSuccess(ExpectBox());
    EXPECT_EQ(ui::ReadBytes(out / L"data_bin.4"), data.substr(900));
    EXPECT_EQ(ProgressPos(), 4);
}

TEST_F(ZelbrinSplit, KeywordSplitAsksNothingAndCutsAfterEachOccurrence) {
    ui::WriteBytes(src / L"abc.txt", "abXdeXfg");
    Prepare(IDC_METHOD_KEYWORD, src / L"abc.txt", out, L"X");
    ExpectSuccess(PressSplit());
    EXPECT_EQ(ui::ReadBytes(out / L"abc_txt.1"), "abX");
    EXPECT_EQ(ui::ReadBytes(out / L"abc_txt.2"), "deX");
    EXPECT_EQ(ui::ReadBytes(out / L"abc_txt.3"), "fg");
    EXPECT_FALSE(fs::exists(out / L"abc_txt.4"));
}

TEST_F(ZelbrinSplit, KeywordIsSearchedInTheAnsiCodePageOfTheUsersTextFiles) {
    ASSERT_EQ(GetACP(), 1252u) << "the test's text file is written in Windows-1252";
    ui::WriteBytes(src / L"città.txt", "perch\xE9 s\xEC, caff\xE9 e t\xE8");
    Prepare(IDC_METHOD_KEYWORD, src / L"città.txt", out, L"é");
    ExpectSuccess(PressSplit());
    EXPECT_EQ(ui::ReadBytes(out / L"città_txt.1"), "perch\xE9");
    EXPECT_EQ(ui::ReadBytes(out / L"città_txt.2"), " s\xEC, caff\xE9");
    EXPECT_EQ(ui::ReadBytes(out / L"città_txt.3"), " e t\xE8");
    EXPECT_FALSE(fs::exists(out / L"città_txt.4"));
}

TEST_F(ZelbrinSplit, KeywordTheCodePageCannotHoldIsSearchedAsUtf8NeverAsAQuestionMark) {
    // "ł" has no place in Windows-1252: a lossy conversion would make it "?".
    ui::WriteBytes(src / L"list.txt", "a?b\xC5\x82"
                                      "c?d\xC5\x82"
                                      "e");
    Prepare(IDC_METHOD_KEYWORD, src / L"list.txt", out, L"ł");
    ExpectSuccess(PressSplit());
    EXPECT_EQ(ui::ReadBytes(out / L"list_txt.1"), "a?b\xC5\x82");
    EXPECT_EQ(ui::ReadBytes(out / L"list_txt.2"), "c?d\xC5\x82");
    EXPECT_EQ(ui::ReadBytes(out / L"list_txt.3"), "e");
}

TEST_F(ZelbrinSplit, ChecksumFileHoldsTheCrcOfTheSourceLittleEndian) {
    ui::WriteBytes(src / L"digits.txt", "123456789");
    Tick(IDC_CRC_CHECK);
    Prepare(IDC_METHOD_PIECES, src / L"digits.txt", out, L"2");
    Answer(PressSplit(), IDYES);
    ExpectSuccess(ExpectBox());
    EXPECT_EQ(ui::ReadBytes(out / L"digits_txt.CRC"), std::string("\x26\x39\xF4\xCB", 4));
}

class JoinBatchRebuild : public ZelbrinSplit,
                         public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(JoinBatchRebuild, CmdRebuildsTheSourceByteForByte) {
    const std::wstring name = GetParam();
    const std::string data = Pattern(1300000);
    ui::WriteBytes(src / name, data);
    Tick(IDC_BATCH_FILE);
    Prepare(IDC_METHOD_SIZE, src / name, out, L"500");
    Click(IDC_UNIT_KBS); // KBs
    Answer(PressSplit(), IDYES);
    ExpectSuccess(ExpectBox());
    ASSERT_TRUE(fs::exists(out / L"JOIN.BAT"));
    if (name == L"movie.avi") {
        EXPECT_EQ(ui::ReadBytes(out / L"JOIN.BAT"),
                  "ECHO OFF\r\nREM Zelbrin genarated batch file\r\nECHO Now movie.avi will be "
                  "recreated\r\nPAUSE\r\nCOPY /B \"movie_avi.1\" zelbrn.tmp\r\nCOPY /B "
                  "zelbrn.tmp+\"movie_avi.2\" zelbrn.tmp\r\nCOPY /B zelbrn.tmp+\"movie_avi.3\" "
                  "zelbrn.tmp\r\nREN zelbrn.tmp \"movie.avi\"\r\nECHO Finished creating "
                  "movie.avi\r\n");
    }
    RunBatch(L"JOIN.BAT", out);
    ASSERT_TRUE(fs::exists(out / name)) << "JOIN.BAT did not rebuild " << ui::Narrow(name);
    EXPECT_TRUE(ui::ReadBytes(out / name) == data) << "the rebuilt file differs";
    EXPECT_FALSE(fs::exists(out / L"zelbrn.tmp"));
}

INSTANTIATE_TEST_SUITE_P(Names, JoinBatchRebuild,
                         ::testing::Values(L"movie.avi", L"50% & more (caf\u00e9) ^x.avi"),
                         [](const auto& info) { return info.index == 0 ? "Plain" : "Special"; });

// A small tmpfs reached as a drive letter and as a folder of Z:: the
// free-space test must measure that volume, not the drive the folder is
// reached through.
class SmallDrive : public ZelbrinSplit {
  protected:
    void SetUp() override {
        ZelbrinSplit::SetUp();
        if (!disk_.Ok()) {
            SKIP_OR_FAIL_IN_CI("no small disk for this case: " << disk_.Why());
            return;
        }
        ULARGE_INTEGER free{};
        ASSERT_TRUE(ui::WaitUntil([&] {
            return GetDiskFreeSpaceExW(Drive().c_str(), &free, nullptr, nullptr) &&
                   free.QuadPart <= 1024 * 1024;
        })) << "the small disk does not show as small";
    }
    std::wstring Drive() const { return disk_.Root(); }
    std::wstring MountFolder() const { return disk_.MountFolder(); }

    ui::SmallHostDisk disk_{1024};
};

TEST_F(SmallDrive, TargetWithoutRoomGetsTheFreeSpaceMessageAndNoPieces) {
    ui::WriteBytes(src / L"big.bin", Pattern(2 * 1024 * 1024));
    for (const std::wstring& target : {Drive(), MountFolder()}) {
        SCOPED_TRACE(ui::Narrow(target));
        Prepare(IDC_METHOD_PIECES, src / L"big.bin", target, L"2");
        const auto box = PressSplit();
        EXPECT_EQ(box.text, L"There is not enough free space in the target drive to store the "
                            L"split files.\nPlease free up some space on the target drive and "
                            L"then try to join");
        Answer(box, IDOK);
        ExpectButtonsFreed();
        EXPECT_FALSE(fs::exists(fs::path(target) / L"big_bin.1"));
    }
    // The same drive takes a file that fits.
    ui::WriteBytes(src / L"small.bin", Pattern(100000));
    Prepare(IDC_METHOD_PIECES, src / L"small.bin", Drive(), L"2");
    Answer(PressSplit(), IDYES);
    ExpectSuccess(ExpectBox());
    EXPECT_EQ(ui::ReadBytes(fs::path(Drive()) / L"small_bin.2"), Pattern(100000).substr(50000));
}
} // namespace
