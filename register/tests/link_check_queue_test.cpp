// The order and the memory of the link checks: rows on screen first, one
// check per server at a time, results kept across a reload for unchanged
// entries, stale results checked again on screen, and a stop that frees
// every waiting checker.
#include "core/grid/link_check_queue.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

namespace ombriel {
namespace {

// prefix followed by n (built in place: GCC 12 warns wrongly about
// operator+ on a literal and a temporary string).
std::string Num(std::string prefix, int n) {
    prefix += std::to_string(n);
    return prefix;
}

// A text that outlives the test, for the entries' views.
std::string_view Kept(std::string text) {
    static std::deque<std::string> kept;
    return kept.emplace_back(std::move(text));
}

// count links on one drive, row r named kr.dat.
std::vector<LinkEntry> Links(int count) {
    std::vector<LinkEntry> links;
    for (int row = 1; row <= count; ++row)
        links.push_back({row, Kept(Num("k", row) + ".dat"), Kept(Num("C:\\a\\", row) + ".pdf")});
    return links;
}

// count links, row r on server \\sr: no check waits for another.
std::vector<LinkEntry> LinksOnOwnServers(int count) {
    std::vector<LinkEntry> links;
    for (int row = 1; row <= count; ++row)
        links.push_back({row, Kept(Num("k", row)), Kept(Num("\\\\s", row) + "\\x")});
    return links;
}

LinkCheckJob TakeNow(LinkCheckQueue& q) {
    auto job = q.TryTake();
    EXPECT_TRUE(job.has_value()) << "no job to give";
    return job.value_or(LinkCheckJob{});
}

// Every job the queue gives now, each completed with `exists`.
std::vector<std::string> CheckAll(LinkCheckQueue& q, bool exists, int64_t nowMs) {
    std::vector<std::string> keys;
    while (auto job = q.TryTake()) {
        keys.push_back(job->key);
        q.Complete(*job, exists, nowMs);
    }
    return keys;
}

TEST(LinkCheckQueue, ServerOfNetworkPathsAndDrives) {
    EXPECT_EQ(ServerOf("\\\\Srv1\\share\\a.pdf"), "\\\\srv1");
    EXPECT_EQ(ServerOf("//srv1/share/a.pdf"), "\\\\srv1");
    EXPECT_EQ(ServerOf("\\\\srv1"), "\\\\srv1");
    EXPECT_EQ(ServerOf("D:\\Dati\\tab.xls"), "d:");
    EXPECT_EQ(ServerOf("relative.pdf"), "");
}

TEST(LinkCheckQueue, RowsOnScreenGoFirstThenTheRestInRowOrder) {
    LinkCheckQueue q(30000);
    q.SetEntries(LinksOnOwnServers(6));
    q.ShowRows(4, 5, 1000);
    std::vector<std::string> order;
    for (int i = 0; i < 6; ++i)
        order.push_back(TakeNow(q).key);
    EXPECT_EQ(order, (std::vector<std::string>{"k4", "k5", "k1", "k2", "k3", "k6"}));
    EXPECT_FALSE(q.TryTake().has_value()) << "a row was given twice";
}

TEST(LinkCheckQueue, OneCheckPerServerAtATimeAndABusyServerHoldsUpNoOther) {
    LinkCheckQueue q(30000);
    // Odd rows on a server that does not answer, even rows on drive D:.
    std::vector<LinkEntry> links;
    for (int row = 1; row <= 40; ++row)
        links.push_back(
            {row, Kept(Num("k", row)), Kept(Num(row % 2 ? "\\\\dead\\s\\" : "D:\\live\\", row))});
    q.SetEntries(links);
    q.ShowRows(1, 10, 100);
    const LinkCheckJob stuck = TakeNow(q);
    EXPECT_EQ(stuck.key, "k1");
    // While row 1 hangs, every D: row is checked, the ones on screen first,
    // and not one more of the hanging server's.
    std::vector<std::string> live;
    while (auto job = q.TryTake()) {
        EXPECT_EQ(job->server, "d:");
        live.push_back(job->key);
        // D: itself takes one check at a time.
        EXPECT_FALSE(q.TryTake().has_value()) << "two checks of d: at once";
        q.Complete(*job, true, 200);
    }
    ASSERT_EQ(live.size(), 20u);
    EXPECT_EQ(live.front(), "k2");
    EXPECT_EQ(live.back(), "k40");
    // The hanging check ends: its server's next row follows.
    q.Complete(stuck, false, 30100);
    EXPECT_EQ(TakeNow(q).key, "k3");
}

TEST(LinkCheckQueue, EachTargetIsCheckedOnceEvenWhenShownAgainWhileInFlight) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(2));
    q.ShowRows(1, 2, 1000);
    const LinkCheckJob first = TakeNow(q);
    EXPECT_EQ(first.key, "k1.dat");
    q.ShowRows(1, 2, 1100);
    EXPECT_FALSE(q.TryTake().has_value()) << "row 2 shares the drive and waits";
    q.Complete(first, true, 1200);
    q.ShowRows(1, 2, 1300);
    const LinkCheckJob second = TakeNow(q);
    EXPECT_EQ(second.key, "k2.dat");
    q.Complete(second, true, 1400);
    EXPECT_EQ(q.PendingCount(), 0u);
    EXPECT_FALSE(q.TryTake().has_value());
}

TEST(LinkCheckQueue, OnlyChangesOfTheMarkAreReportedAndOnce) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(3));
    // A present target was shown unmarked already: no change.
    EXPECT_FALSE(q.Complete(TakeNow(q), true, 10));
    EXPECT_TRUE(q.Complete(TakeNow(q), false, 20));
    EXPECT_FALSE(q.Complete(TakeNow(q), true, 30));
    auto changes = q.TakeChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].row, 2);
    EXPECT_TRUE(changes[0].missing);
    EXPECT_TRUE(q.IsMissing(2));
    EXPECT_FALSE(q.IsMissing(1));
    EXPECT_FALSE(q.IsMissing(7)) << "not a link row";
    EXPECT_TRUE(q.TakeChanges().empty());
}

TEST(LinkCheckQueue, AStaleResultIsCheckedAgainOnlyOnScreenAndItsMarkClears) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(3));
    EXPECT_EQ(CheckAll(q, false, 1000).size(), 3u);
    q.TakeChanges();
    // Still fresh when shown: nothing to do.
    q.ShowRows(1, 3, 20000);
    EXPECT_FALSE(q.TryTake().has_value());
    // After the fresh time only the rows on screen are checked again.
    q.ShowRows(2, 3, 31000);
    EXPECT_EQ(CheckAll(q, true, 31100), (std::vector<std::string>{"k2.dat", "k3.dat"}));
    auto changes = q.TakeChanges();
    ASSERT_EQ(changes.size(), 2u) << "the targets came back: their marks go";
    EXPECT_EQ(changes[0].row, 2);
    EXPECT_FALSE(changes[0].missing);
    EXPECT_TRUE(q.IsMissing(1)) << "off screen, the old result stands";
    // Scrolled back to row 1 later: it is checked again then.
    q.ShowRows(1, 1, 45000);
    EXPECT_EQ(CheckAll(q, false, 45100), (std::vector<std::string>{"k1.dat"}));
    // Row 2 was checked at 31100: at 50000 it is still fresh.
    q.ShowRows(1, 3, 50000);
    EXPECT_FALSE(q.TryTake().has_value());
}

TEST(LinkCheckQueue, AReloadKeepsResultsOfUnchangedEntriesAndChecksChangedTargets) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(3));
    EXPECT_EQ(CheckAll(q, false, 1000).size(), 3u);
    // An entry added before them moves every row down one; the third
    // entry's target changed.
    std::vector<LinkEntry> reloaded = Links(3);
    for (LinkEntry& e : reloaded)
        ++e.row;
    reloaded[2].path = "C:\\b\\new.pdf";
    reloaded.insert(reloaded.begin(), LinkEntry{1, "new.dat", "C:\\n.pdf"});
    EXPECT_EQ(q.SetEntries(reloaded), (std::vector<int>{2, 3}))
        << "unchanged entries keep their mark at once, on their new rows";
    EXPECT_TRUE(q.TakeChanges().empty()) << "the marks came back whole, nothing to redraw";
    EXPECT_TRUE(q.IsMissing(2));
    EXPECT_FALSE(q.IsMissing(4)) << "a changed target is not shown with the old one's mark";
    EXPECT_EQ(q.PendingCount(), 2u);
    EXPECT_EQ(CheckAll(q, true, 2000), (std::vector<std::string>{"new.dat", "k3.dat"}));
    // A reload after that changes nothing: no row to check.
    EXPECT_EQ(q.SetEntries(reloaded), (std::vector<int>{2, 3}));
    EXPECT_FALSE(q.TryTake().has_value());
}

TEST(LinkCheckQueue, TheQueueKeepsItsOwnTextsAndFindsEntriesByKeyInAnyRowOrder) {
    LinkCheckQueue q(30000);
    // The caller's texts are gone once the entries are set; rows come in
    // any order, and keys in an order of their own.
    {
        const std::vector<std::pair<int, std::string>> parts{{3, "zeta.dat"},  {3, "\\\\s1\\z.pdf"},
                                                             {1, "alpha.dat"}, {1, "\\\\s2\\a.pdf"},
                                                             {2, "mid.dat"},   {2, "D:\\m.pdf"}};
        std::string text;
        for (const auto& part : parts)
            text += part.second;
        std::vector<LinkEntry> links;
        size_t at = 0;
        for (size_t i = 0; i < parts.size(); i += 2) {
            const size_t keySize = parts[i].second.size();
            const size_t pathSize = parts[i + 1].second.size();
            links.push_back({parts[i].first, std::string_view(text).substr(at, keySize),
                             std::string_view(text).substr(at + keySize, pathSize)});
            at += keySize + pathSize;
        }
        q.SetEntries(links);
        text.assign(text.size(), '#');
    }
    EXPECT_EQ(q.PathOf(3), "\\\\s1\\z.pdf");
    EXPECT_EQ(q.PathOf(2), "D:\\m.pdf");
    std::vector<std::pair<std::string, std::string>> jobs;
    std::vector<LinkCheckJob> taken;
    while (auto job = q.TryTake()) {
        jobs.push_back({job->key, job->path});
        taken.push_back(*job);
    }
    EXPECT_EQ(jobs,
              (std::vector<std::pair<std::string, std::string>>{{"alpha.dat", "\\\\s2\\a.pdf"},
                                                                {"mid.dat", "D:\\m.pdf"},
                                                                {"zeta.dat", "\\\\s1\\z.pdf"}}));
    // Each result finds its entry by key, and each row's change is told once.
    for (const LinkCheckJob& job : taken)
        EXPECT_TRUE(q.Complete(job, false, 100));
    q.Found(1, true, 150);
    q.Found(1, false, 160);
    const std::vector<LinkMarkChange> changes = q.TakeChanges();
    ASSERT_EQ(changes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(changes[size_t(i)].row, i + 1);
        EXPECT_TRUE(changes[size_t(i)].missing);
    }
    EXPECT_TRUE(q.TakeChanges().empty());
}

TEST(LinkCheckQueue, AResultForAnEntryThatChangedMeanwhileIsDropped) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(1));
    const LinkCheckJob job = TakeNow(q);
    std::vector<LinkEntry> changed = Links(1);
    changed[0].path = "C:\\other.pdf";
    q.SetEntries(changed);
    EXPECT_FALSE(q.TryTake().has_value()) << "the drive still has a check in flight";
    EXPECT_FALSE(q.Complete(job, false, 10));
    EXPECT_FALSE(q.IsMissing(1));
    EXPECT_EQ(TakeNow(q).path, "C:\\other.pdf") << "the drive is free again for the new target";
}

TEST(LinkCheckQueue, ADoubleClickCheckMarksTheRowAndSparesItsCheck) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(2));
    q.Found(2, false, 5);
    auto changes = q.TakeChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].row, 2);
    EXPECT_TRUE(changes[0].missing);
    EXPECT_EQ(CheckAll(q, true, 10), (std::vector<std::string>{"k1.dat"}));
    q.Found(2, true, 20);
    EXPECT_FALSE(q.IsMissing(2));
}

TEST(LinkCheckQueue, StopWakesEveryWaitingChecker) {
    LinkCheckQueue q(30000);
    q.SetEntries(Links(1));
    const LinkCheckJob held = TakeNow(q);
    std::mutex m;
    std::condition_variable cv;
    int waiting = 0;
    std::vector<std::thread> checkers;
    std::vector<int> gotJob(3, -1);
    for (int i = 0; i < 3; ++i) {
        checkers.emplace_back([&, i] {
            {
                std::lock_guard lock(m);
                ++waiting;
            }
            cv.notify_all();
            gotJob[size_t(i)] = q.Take().has_value() ? 1 : 0;
        });
    }
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return waiting == 3; });
    }
    // Whether or not they are inside the wait yet, none may miss the stop.
    q.Stop();
    for (auto& t : checkers)
        t.join();
    EXPECT_EQ(gotJob, (std::vector<int>{0, 0, 0}));
    // The check that was in flight ends after the stop: harmless.
    q.Complete(held, true, 1);
    EXPECT_FALSE(q.Take().has_value());
}

} // namespace
} // namespace ombriel
