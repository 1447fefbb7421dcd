// The link marks with their checker threads, in-process, with an existence
// test of the test's own: a server whose checks hang until the test lets
// them go holds neither the start, nor the other servers' marks, nor the
// closing of the window; a reload shows known marks before any new check;
// a double-click looks again and says when the target is missing.
#include "link_checker_win.h"

#include "scripted_ui.h"

#include "core/grid/reload.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

using namespace ombriel;

namespace {

// What the fake file system holds; shared with the checker threads, which
// may outlive the test's LinkMarks.
struct FakeTargets {
    std::mutex m;
    std::condition_variable cv;
    std::set<std::string> present;
    bool releaseDead = false; // checks on Z: (a mapped drive whose server is gone) hang
    bool holdAll = false;     // every check hangs until cleared
    int deadStarted = 0;
    int checks = 0;

    bool Exists(const std::string& path) {
        std::unique_lock lock(m);
        ++checks;
        if (path.rfind("Z:\\", 0) == 0) {
            ++deadStarted;
            cv.notify_all();
            cv.wait(lock, [&] { return releaseDead; });
            return false;
        }
        cv.wait(lock, [&] { return !holdAll; });
        return present.count(path) > 0;
    }
    void Set(const std::function<void(FakeTargets&)>& change) {
        {
            std::lock_guard lock(m);
            change(*this);
        }
        cv.notify_all();
    }
};

StoredRecord Link(const std::string& key, const std::string& target) {
    StoredRecord r;
    r.fileName = key + ".dat";
    r.fields.target = target;
    r.fields.description = key;
    return r;
}

StoredRecord FileEntry(const std::string& key) {
    StoredRecord r;
    r.fileName = key + ".dat";
    r.fields.description = key;
    return r;
}

class LinkMarksTest : public ::testing::Test {
  protected:
    void SetUp() override {
        targets_ = std::make_shared<FakeTargets>();
        targets_->present = {"D:\\Dati\\c.pdf"};
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        records_ = {Link("a.pdf", "Z:\\share\\a.pdf"), Link("b.pdf", "D:\\Dati\\b.pdf"),
                    FileEntry("n.doc"), Link("c.pdf", "D:\\Dati\\c.pdf"),
                    Link("d.pdf", "Z:\\share\\d.pdf")};
        FillGrid();
        auto targets = targets_;
        // The double-click's look waits as long as a loaded machine needs
        // to start its thread: no check of this fake ever hangs on it.
        marks_ = std::make_unique<LinkMarks>(
            model_, [targets](const std::string& path) { return targets->Exists(path); },
            std::chrono::seconds(60));
        marks_->Start(window_, nullptr);
    }
    void TearDown() override {
        marks_.reset();
        // Checks still hanging end now, on a queue nobody listens to.
        targets_->Set([](FakeTargets& t) {
            t.releaseDead = true;
            t.holdAll = false;
        });
        DestroyWindow(window_);
    }
    // The grid as a reload leaves it: column 0 blank for every link.
    void FillGrid() {
        model_.SetRows(1);
        for (const StoredRecord& r : records_)
            model_.AddRow({"", r.fields.description, r.fields.target});
    }
    std::string Mark(int row) const { return std::string(model_.TextMatrix(row, 0)); }
    // Hands the checkers' messages to the marks until done() holds; false
    // after 15 s.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!done()) {
            MSG msg;
            while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE))
                marks_->HandleMessage(msg.message, msg.wParam, msg.lParam);
            if (done())
                return true;
            if (std::chrono::steady_clock::now() > end)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        }
        return true;
    }

    std::shared_ptr<FakeTargets> targets_;
    HWND window_ = nullptr;
    GridModel model_;
    std::vector<StoredRecord> records_;
    std::unique_ptr<LinkMarks> marks_;
};

TEST_F(LinkMarksTest, AHangingServerHoldsNeitherTheStartNorTheOtherMarksNorTheClose) {
    marks_->Reload(records_, "C:\\Reg");
    // Reload came back while the first row's server hangs; the D: rows are
    // checked all the same and only the missing one is marked.
    ASSERT_TRUE(PumpUntil([&] { return Mark(2) == std::string(kMissingDocumentMark); }));
    {
        std::unique_lock lock(targets_->m);
        ASSERT_TRUE(targets_->cv.wait_for(lock, std::chrono::seconds(15),
                                          [&] { return targets_->deadStarted > 0; }));
        EXPECT_EQ(targets_->deadStarted, 1) << "a second check of the hanging server began";
        EXPECT_FALSE(targets_->releaseDead);
    }
    EXPECT_EQ(Mark(1), "") << "a row whose check hangs is shown unmarked meanwhile";
    EXPECT_EQ(Mark(3), "") << "a file entry is not a link";
    EXPECT_EQ(Mark(4), "");

    // The window closes with the check still hanging: it does not wait.
    auto closed = std::async(std::launch::async, [&] { marks_.reset(); });
    EXPECT_EQ(closed.wait_for(std::chrono::seconds(15)), std::future_status::ready)
        << "closing waited for a hanging check";
    closed.wait();
    std::lock_guard lock(targets_->m);
    EXPECT_FALSE(targets_->releaseDead);
}

TEST_F(LinkMarksTest, AReloadShowsTheKnownMarksBeforeAnyNewCheck) {
    marks_->Reload(records_, "C:\\Reg");
    ASSERT_TRUE(PumpUntil([&] { return Mark(2) == std::string(kMissingDocumentMark); }));
    // From now on no check answers: whatever a reload shows, it knew.
    targets_->Set([](FakeTargets& t) { t.holdAll = true; });
    // An entry ahead of them moves every row down one.
    records_.insert(records_.begin(), Link("0.pdf", "E:\\nuovo.pdf"));
    FillGrid();
    marks_->Reload(records_, "C:\\Reg");
    EXPECT_EQ(Mark(3), std::string(kMissingDocumentMark)) << "the mark flickers through a reload";
    EXPECT_EQ(Mark(2), "");
    EXPECT_EQ(Mark(5), "");
    // A changed target is not shown with the old one's mark.
    records_[2].fields.target = "D:\\Dati\\altro.pdf";
    FillGrid();
    marks_->Reload(records_, "C:\\Reg");
    EXPECT_EQ(Mark(3), "");
}

TEST_F(LinkMarksTest, ADoubleClickLooksAgainAndNamesAMissingTarget) {
    marks_->Reload(records_, "C:\\Reg");
    ASSERT_TRUE(PumpUntil([&] { return Mark(2) == std::string(kMissingDocumentMark); }));
    ombriel::testing::ScriptedUi ui;
    EXPECT_TRUE(marks_->ReportIfMissing(2, ui));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Documento mancante");
    EXPECT_EQ(ui.shown[0].text, "Il documento collegato non si trova:\r\nD:\\Dati\\b.pdf");
    EXPECT_EQ(ui.shown[0].kind, BoxKind::Exclamation);

    // Put back since the last check: it opens, and its mark goes at once.
    targets_->Set([](FakeTargets& t) { t.present.insert("D:\\Dati\\b.pdf"); });
    EXPECT_FALSE(marks_->ReportIfMissing(2, ui));
    EXPECT_EQ(Mark(2), "");
    // Gone again, and not yet checked by anyone but the double-click.
    targets_->Set([](FakeTargets& t) { t.present.clear(); });
    EXPECT_TRUE(marks_->ReportIfMissing(4, ui));
    EXPECT_EQ(Mark(4), std::string(kMissingDocumentMark));
    EXPECT_FALSE(marks_->ReportIfMissing(3, ui)) << "a file entry is not looked at here";
    EXPECT_EQ(ui.shown.size(), 2u);
}

// A link whose relative target (no drive) lies, as the double-click opens
// it, in the register's Doc folder.
TEST_F(LinkMarksTest, ATargetWithoutADriveIsLookedForWhereTheDoubleClickOpensIt) {
    records_ = {Link("x.pdf", "\\\\srv\\share\\x.pdf")};
    FillGrid();
    marks_->Reload(records_, "C:\\Reg");
    ASSERT_TRUE(PumpUntil([&] { return Mark(1) == std::string(kMissingDocumentMark); }));
    ombriel::testing::ScriptedUi ui;
    EXPECT_TRUE(marks_->ReportIfMissing(1, ui));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text,
              "Il documento collegato non si trova:\r\nC:\\Reg\\Doc\\\\\\srv\\share\\x.pdf");
}

} // namespace
