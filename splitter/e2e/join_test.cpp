// Joining through the real dialog: the confirmation, the final messages, the
// checksum check, refusals, a full target drive and a round trip with the
// program's own split.
#include "ui_driver_unix.h"
#include "zelbrin_fixture.h"

#include "support/system_error.h"
#include "support/testing/host_features.h"
#include "support/text.h"

#include <filesystem>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::wstring kJoined = L"Finished Joining Successfully !!!";
const std::wstring kCrcError = L"The Joined file has a CRC error, it may not be consistent !!";
const std::wstring kNotFirst = L"The Source file you have selected is not the First file in a "
                               L"split file set !!!\n Please select a  .1 file as the source file";
const std::wstring kWriteFailed =
    L"Writing the Joined file failed !!!\nThe target drive may be full or removed, the joined "
    L"file is not complete and has been removed.";

std::string Random(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s)
        c = char(gen());
    return s;
}

// The CRC-32 of ISO-HDLC, bit by bit: an independent check of what the
// program stores and compares.
uint32_t Crc32(const std::string& bytes) {
    uint32_t r = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        r ^= b;
        for (int k = 0; k < 8; ++k)
            r = (r >> 1) ^ (0xEDB88320u & (0u - (r & 1u)));
    }
    return ~r;
}

std::string LittleEndian(uint32_t v) {
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

class ZelbrinJoin : public ZelbrinDialog {
  protected:
    void SetUp() override {
        ZelbrinDialog::SetUp();
        if (HasFatalFailure())
            return;
        fs::create_directories(in_);
        fs::create_directories(out_);
        Click(IDC_MODE_JOIN);
    }

    // Pieces report_doc.1.. of the given sizes; returns the whole file.
    std::string WritePieces(const std::vector<size_t>& sizes) {
        std::string whole;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const std::string bytes = Random(sizes[i], unsigned(i) + 7);
            ui::WriteBytes(Piece(i + 1), bytes);
            whole += bytes;
        }
        return whole;
    }
    fs::path Piece(size_t n) const { return in_ / (L"report_doc." + std::to_wstring(n)); }

    void Choose(const fs::path& source, const std::wstring& target) {
        SetTextOf(IDC_SOURCE_PATH, source.wstring());
        SetTextOf(IDC_TARGET_PATH, target);
    }
    ui::MessageBoxInfo PressJoin() {
        ui::Click(Item(IDOK));
        return ExpectBox();
    }
    // Answers the confirmation with Yes and returns the box that follows.
    ui::MessageBoxInfo ConfirmYes(const ui::MessageBoxInfo& question) {
        EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_TRUE(ui::Answer(question.hwnd, IDYES));
        return ExpectBox();
    }
    void ExpectMessage(const ui::MessageBoxInfo& box, const std::wstring& text) {
        EXPECT_EQ(box.title, L"Zelbrin");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_TRUE(box.hasIcon);
        EXPECT_FALSE(Enabled(IDOK)) << "the default button is enabled while a box is up";
        EXPECT_FALSE(Enabled(IDCANCEL));
        ASSERT_TRUE(ui::Answer(box.hwnd, IDOK));
        EXPECT_TRUE(ui::WaitUntil([&] { return Enabled(IDOK) && Enabled(IDCANCEL); }))
            << "the buttons stay disabled after the join";
        // The buttons come back when the join has ended: no box may follow.
        EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_)) << "a second message followed";
    }

    ui::TempFolder folder_{"zelbrin-join"};
    fs::path in_ = folder_ / "in";
    fs::path out_ = folder_ / "out";
};

TEST_F(ZelbrinJoin, WithoutChecksumConfirmsJoinsInOrderAndSucceeds) {
    const std::string whole = WritePieces({1000, 1000, 500});
    Choose(Piece(1), out_.wstring());
    const auto question = PressJoin();
    EXPECT_EQ(question.title, L"Zelbrin");
    EXPECT_EQ(question.text,
              L"Zelbrin has detected 3 files which can joined to recreate report.doc.\n "
              L"report.doc which will be recreated will be of size 2500.\n If there is an "
              L"existing file by that name , it will be Over-Written.\n Do you wish to "
              L"continue ?");
    EXPECT_TRUE(question.hasIcon);
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDCANCEL));
    ExpectMessage(ConfirmYes(question), kJoined);
    EXPECT_EQ(ui::ReadBytes(out_ / "report.doc"), whole);
    EXPECT_EQ(ProgressPos(), 3);
    EXPECT_EQ(TextOf(IDC_SOURCE_PATH), Piece(1).wstring()) << "the paths stay for another run";
}

TEST_F(ZelbrinJoin, TargetWithTrailingBackslashAndMatchingChecksumSucceeds) {
    const std::string whole = WritePieces({300000, 300000, 1});
    ui::WriteBytes(in_ / "report_doc.CRC", LittleEndian(Crc32(whole)));
    Choose(Piece(1), out_.wstring() + L"\\");
    ExpectMessage(ConfirmYes(PressJoin()), kJoined);
    EXPECT_EQ(ui::ReadBytes(out_ / "report.doc"), whole);
}

TEST_F(ZelbrinJoin, DamagedPieceGivesTheCrcErrorAndTheFileStays) {
    std::string whole = WritePieces({5000, 5000});
    ui::WriteBytes(in_ / "report_doc.CRC", LittleEndian(Crc32(whole)));
    std::string piece = ui::ReadBytes(Piece(2));
    piece[42] = char(piece[42] ^ 0x20);
    ui::WriteBytes(Piece(2), piece);
    Choose(Piece(1), out_.wstring());
    ExpectMessage(ConfirmYes(PressJoin()), kCrcError);
    whole[5042] = char(whole[5042] ^ 0x20);
    EXPECT_EQ(ui::ReadBytes(out_ / "report.doc"), whole);
}

TEST_F(ZelbrinJoin, SourceThatIsNotAFirstPieceIsRefusedWithMessage20) {
    WritePieces({10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    for (const fs::path& source : {Piece(2), Piece(11)}) {
        Choose(source, out_.wstring());
        ExpectMessage(PressJoin(), kNotFirst);
    }
    EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(ZelbrinJoin, NoToTheConfirmationWritesNothingAndSaysNothing) {
    WritePieces({10, 20});
    Choose(Piece(1), out_.wstring());
    const auto question = PressJoin();
    ASSERT_TRUE(ui::Answer(question.hwnd, IDNO));
    EXPECT_TRUE(ui::WaitUntil([&] { return Enabled(IDOK) && Enabled(IDCANCEL); }));
    EXPECT_FALSE(ui::HasDialog(app_.Id(), dialog_)) << "No was followed by a message";
    EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(ZelbrinJoin, MissingPathsAreReportedAndTheFocusGoesToTheirButtons) {
    ExpectMessage(PressJoin(), L"You have not selected a Source File !!\nPlease select a Source "
                               L"File by clicking on the Source File button.");
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(dialog_) == Item(IDC_SOURCE_BUTTON); }));
    SetTextOf(IDC_SOURCE_PATH, Piece(1).wstring());
    ExpectMessage(PressJoin(), L"You have not selected a Target Directory !!\nPlease select a "
                               L"Target Directory by clicking on the Target Directory button.");
    EXPECT_TRUE(ui::WaitUntil([&] { return ui::FocusOf(dialog_) == Item(IDC_TARGET_BUTTON); }));
}

TEST_F(ZelbrinJoin, FullTargetDriveReportsTheFailureAndLeavesNoPartialFile) {
    ui::SmallHostDisk disk(1024);
    if (!disk.Ok()) {
        SKIP_OR_FAIL_IN_CI("no small disk for this case: " << disk.Why());
        return;
    }
    WritePieces({700000, 700000});
    Choose(Piece(1), disk.Root());
    // What failed, with the file, then the system's own reason.
    const fs::path output = fs::path(disk.Root()) / "report.doc";
    ExpectMessage(ConfirmYes(PressJoin()),
                  kWriteFailed + L"\n\n" + output.native() + L"\n" +
                      support::Widen(support::SystemErrorText(ERROR_DISK_FULL)));
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ZelbrinJoin, PiecesSplitByZelbrinJoinBackToTheExactSource) {
    const std::string source = Random(1'234'567, 99);
    ui::WriteBytes(folder_ / "big.bin", source);
    Click(IDC_MODE_SPLIT);
    SetTextOf(IDC_SOURCE_PATH, (folder_ / "big.bin").wstring());
    SetTextOf(IDC_TARGET_PATH, in_.wstring());
    SetTextOf(IDC_VALUE, L"4");
    Tick(IDC_CRC_CHECK);
    ui::Click(Item(IDOK));
    const auto splitQuestion = ExpectBox();
    ASSERT_TRUE(ui::Answer(splitQuestion.hwnd, IDYES));
    ExpectMessage(ExpectBox(), L"Finished Splitting Successfully !!!");
    ASSERT_TRUE(fs::exists(in_ / "big_bin.CRC"));

    Click(IDC_MODE_JOIN);
    Choose(in_ / "big_bin.1", out_.wstring());
    const auto question = PressJoin();
    EXPECT_NE(question.text.find(L"detected 4 files which can joined to recreate big.bin."),
              std::wstring::npos);
    ExpectMessage(ConfirmYes(question), kJoined);
    EXPECT_EQ(ui::ReadBytes(out_ / "big.bin"), source);
}

} // namespace
