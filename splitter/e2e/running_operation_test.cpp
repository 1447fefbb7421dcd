// A split or join of several gigabytes through the real dialog: the dialog
// keeps answering and its bar moves while the work runs beside it, nothing
// else can change the operation, and closing the dialog asks whether to stop
// it (No goes on; Yes removes what was written and ends the program).
#include "zelbrin_fixture.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kSourceBytes = 2ull << 30;
const std::wstring kStopSplit =
    L"A split is in progress.\nStop it and delete the files written so far ?";
const std::wstring kStopJoin =
    L"A join is in progress.\nStop it and delete the file written so far ?";

// A sparse file with a few marked bytes: cheap to make, and every byte of it
// is read and written like any other.
void MakeSparseFile(const fs::path& path, uint64_t bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = LONGLONG(bytes);
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    LARGE_INTEGER start{};
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    DWORD wrote = 0;
    WriteFile(file, "marked", 6, &wrote, nullptr);
    CloseHandle(file);
}

class ZelbrinRunning : public ZelbrinDialog {
  protected:
    void SetUp() override {
        ZelbrinDialog::SetUp();
        fs::create_directories(out_);
        fs::create_directories(joined_);
        MakeSparseFile(source_, kSourceBytes);
    }

    LRESULT Pos() const { return ProgressPos(); }
    bool AcceptsDrops() const {
        return (GetWindowLongPtrW(dialog_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    }
    std::set<fs::path> FilesIn(const fs::path& folder) const {
        std::set<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename());
        return names;
    }

    // A split by 4 pieces with checksum and batch file, answered Yes.
    void StartSplit(const fs::path& target) {
        Click(IDC_METHOD_PIECES);
        Tick(IDC_BATCH_FILE);
        Tick(IDC_CRC_CHECK);
        SetTextOf(IDC_SOURCE_PATH, source_.native());
        SetTextOf(IDC_TARGET_PATH, target.native());
        SetTextOf(IDC_VALUE, L"4");
        ui::Click(Item(IDOK));
        const auto question = ExpectBox();
        ASSERT_NE(question.text.find(L"File will be split into 4 pieces"), std::wstring::npos);
        ASSERT_TRUE(ui::Answer(question.hwnd, IDYES));
    }
    void StartJoin(const fs::path& firstPiece, const fs::path& target) {
        Click(IDC_MODE_JOIN);
        SetTextOf(IDC_SOURCE_PATH, firstPiece.native());
        SetTextOf(IDC_TARGET_PATH, target.native());
        ui::Click(Item(IDOK));
        const auto question = ExpectBox();
        ASSERT_TRUE(ui::Answer(question.hwnd, IDYES));
    }

    // Until the operation's final box appears: the dialog answers a round
    // trip within 200 ms at every check (checks 500 ms apart), and its bar
    // and the rest of the dialog behave as a running operation's must.
    ui::MessageBoxInfo WatchUntilTheFinalBox() {
        std::set<LRESULT> positions;
        int checks = 0;
        int unanswered = 0;
        int slowest = 0;
        HWND box = nullptr;
        ui::WaitUntil(
            [&] {
                box = CurrentBox();
                if (box)
                    return true;
                const auto start = std::chrono::steady_clock::now();
                DWORD_PTR ignored = 0;
                if (!SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored))
                    ++unanswered;
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count();
                slowest = std::max(slowest, int(ms));
                positions.insert(Pos());
                ++checks;
                EXPECT_FALSE(Enabled(IDOK) || Enabled(IDCANCEL) || Enabled(IDC_MODE_SPLIT) ||
                             Enabled(IDC_SOURCE_BUTTON) || Enabled(IDC_VALUE) ||
                             Enabled(IDC_ABOUT_BUTTON))
                    << "a control stayed live during the operation";
                EXPECT_FALSE(AcceptsDrops()) << "the dialog takes drops during the operation";
                return false;
            },
            120000, 500);
        EXPECT_EQ(unanswered, 0) << "of " << checks << " round trips";
        EXPECT_GE(positions.size(), 2u) << "the bar did not move";
        std::printf("[ measured ] %d round trips, slowest %d ms, %zu bar positions\n", checks,
                    slowest, positions.size());
        EXPECT_NE(box, nullptr) << "the operation did not end";
        return box ? ui::ReadMessageBox(box) : ui::MessageBoxInfo{};
    }

    // A box the program shows now (the stop question), once the bar moves.
    ui::MessageBoxInfo CloseWhileRunning(UINT message, WPARAM wParam) {
        EXPECT_TRUE(ui::WaitUntil([&] { return Pos() > 0; })) << "the operation did not start";
        PostMessageW(dialog_, message, wParam, 0);
        return ExpectBox();
    }

    ui::TempFolder dir_{"zelbrin-running"};
    fs::path source_ = dir_ / L"big image.iso";
    fs::path out_ = dir_ / "out";
    fs::path joined_ = dir_ / "joined";
};

TEST_F(ZelbrinRunning, DialogAnswersAndItsBarMovesDuringASplitAndAJoin) {
    StartSplit(out_);
    auto done = WatchUntilTheFinalBox();
    EXPECT_EQ(done.text, L"Finished Splitting Successfully !!!");
    ASSERT_TRUE(ui::Answer(done.hwnd, IDOK));
    ASSERT_TRUE(ui::WaitUntil([&] { return Enabled(IDOK) && Enabled(IDCANCEL); }));
    EXPECT_TRUE(Enabled(IDC_MODE_SPLIT) && Enabled(IDC_VALUE) && AcceptsDrops())
        << "controls given back";
    EXPECT_EQ(fs::file_size(out_ / "big image_iso.4"), kSourceBytes / 4);

    StartJoin(out_ / "big image_iso.1", joined_);
    done = WatchUntilTheFinalBox();
    EXPECT_EQ(done.text, L"Finished Joining Successfully !!!");
    ASSERT_TRUE(ui::Answer(done.hwnd, IDOK));
    ASSERT_TRUE(ui::WaitUntil([&] { return Enabled(IDOK) && Enabled(IDCANCEL); }));
    EXPECT_EQ(fs::file_size(joined_ / "big image.iso"), kSourceBytes);
}

TEST_F(ZelbrinRunning, ClosingMidSplitAsksThenNoGoesOnAndYesRemovesThePiecesAndEnds) {
    ui::WriteBytes(out_ / "notes.txt", "not the split's");
    StartSplit(out_);
    auto question = CloseWhileRunning(WM_CLOSE, 0);
    EXPECT_EQ(question.text, kStopSplit);
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
    ASSERT_TRUE(ui::Answer(question.hwnd, IDNO));
    auto done = WatchUntilTheFinalBox();
    EXPECT_EQ(done.text, L"Finished Splitting Successfully !!!");
    ASSERT_TRUE(ui::Answer(done.hwnd, IDOK));
    ASSERT_TRUE(ui::WaitUntil([&] { return Enabled(IDOK) && Enabled(IDCANCEL); }));
    EXPECT_EQ(FilesIn(out_).size(), 7u) << "4 pieces, .CRC, JOIN.BAT, notes.txt";

    // Into a folder that already holds a batch file: the run is stopped
    // long before it would write its own, so the older one stays.
    const fs::path again = dir_ / "again";
    fs::create_directories(again);
    ui::WriteBytes(again / "notes.txt", "not the split's");
    ui::WriteBytes(again / "JOIN.BAT", "an older batch file");
    StartSplit(again);
    question = CloseWhileRunning(WM_CLOSE, 0);
    EXPECT_EQ(question.text, kStopSplit);
    ASSERT_TRUE(ui::Answer(question.hwnd, IDYES));
    ASSERT_TRUE(app_.WaitExit(60000)) << "the program did not end";
    EXPECT_EQ(FilesIn(again), (std::set<fs::path>{"notes.txt", "JOIN.BAT"}));
    EXPECT_EQ(ui::ReadBytes(again / "JOIN.BAT"), "an older batch file");
}

TEST_F(ZelbrinRunning, EscapeMidJoinAsksAndYesRemovesTheJoinedFile) {
    // A set of four sparse pieces, so that the bar moves before the end.
    fs::remove(source_);
    for (int n = 1; n <= 4; ++n)
        MakeSparseFile(dir_ / ("big image_iso." + std::to_string(n)), kSourceBytes / 4);
    ui::WriteBytes(joined_ / "other.iso", "not the join's");
    StartJoin(dir_ / "big image_iso.1", joined_);
    // Esc reaches the dialog as the Cancel command.
    auto question = CloseWhileRunning(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(question.text, kStopJoin);
    ASSERT_TRUE(ui::Answer(question.hwnd, IDYES));
    ASSERT_TRUE(app_.WaitExit(60000)) << "the program did not end";
    EXPECT_EQ(FilesIn(joined_), std::set<fs::path>{"other.iso"});
    EXPECT_EQ(fs::file_size(dir_ / "big image_iso.4"), kSourceBytes / 4) << "pieces untouched";
}

} // namespace
