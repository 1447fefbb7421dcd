// The live view's portable logic: when a burst of changes becomes a refresh,
// where the user's place in the grid is after it, when the user hears that
// Doc is lost, and the reload that keeps the grid when Doc cannot be listed.
#include "core/grid/doc_reachability.h"
#include "core/grid/refresh_position.h"
#include "core/grid/refresh_schedule.h"
#include "core/grid/reload.h"
#include "scripted_ui.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ombriel;
using namespace std::chrono_literals;
using support::testing::TempFolder;
using support::testing::WriteBytes;

namespace {

using Clock = RefreshSchedule::Clock;
const Clock::time_point t0{};

RefreshSchedule::Timing Timing() {
    return {150ms, 500ms, 10000ms, 1000ms, 150, 10};
}

// Steps a schedule through time in 10 ms ticks, notifying at the given
// moments, and records when it asked for a refresh (as the watcher's loop
// does: wake, look at Due, ask).
std::vector<int> AskedAt(RefreshSchedule& s, const std::vector<int>& changesMs, int untilMs) {
    std::vector<int> asked;
    size_t next = 0;
    for (int ms = 0; ms <= untilMs; ms += 10) {
        const auto now = t0 + std::chrono::milliseconds(ms);
        while (next < changesMs.size() && changesMs[next] <= ms)
            s.Changed(t0 + std::chrono::milliseconds(changesMs[next++]));
        if (s.Due(now)) {
            asked.push_back(ms);
            s.Asked(now);
        }
    }
    return asked;
}

} // namespace

TEST(RefreshSchedule, BurstOfChangesBecomesOneRefreshOnceTheFolderIsQuiet) {
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(true);
    // A record replaced through its temporary file: four notifications.
    EXPECT_EQ(AskedAt(s, {1000, 1010, 1020, 1040}, 3000), (std::vector<int>{1190}));
}

TEST(RefreshSchedule, ChangesThatNeverStopAreRefreshedAtTheBurstBoundNotOncePerFile) {
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(true);
    std::vector<int> changes;
    for (int ms = 0; ms < 2000; ms += 50)
        changes.push_back(ms); // a copy of many files, one every 50 ms
    const auto asked = AskedAt(s, changes, 2500);
    // Each burst bound counts from the first change after the last refresh.
    EXPECT_EQ(asked, (std::vector<int>{500, 1050, 1600, 2100}));
}

TEST(RefreshSchedule, WithoutNotificationsTheFolderIsListedAtIntervalsAndSeldomWithThem) {
    RefreshSchedule unwatched(Timing(), t0);
    EXPECT_EQ(AskedAt(unwatched, {}, 3500), (std::vector<int>{1000, 2000, 3000}));
    RefreshSchedule watched(Timing(), t0);
    watched.SetWatching(true);
    EXPECT_EQ(AskedAt(watched, {}, 25000), (std::vector<int>{10000, 20000}));
}

TEST(RefreshSchedule, CostlyRefreshesAreSpacedOutSoTheWindowIsNeverKeptBusy) {
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(false);
    s.SetRefreshCost(300ms);
    // Re-listings that find nothing most of the time: ten times the cost
    // apart, not every second.
    EXPECT_EQ(AskedAt(s, {}, 7000), (std::vector<int>{3000, 6000}));
    // A change soon after a refresh waits for the spacing; one after a long
    // quiet time is shown at once.
    RefreshSchedule w(Timing(), t0);
    w.SetWatching(true);
    w.SetRefreshCost(900ms);
    EXPECT_EQ(AskedAt(w, {5000, 5900, 9000}, 9500), (std::vector<int>{5150, 6500, 9150}));
}

TEST(RefreshSchedule, ReadingThatBeganAfterTheLastChangeCoversItButNotALaterOne) {
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(true);
    // A command's own writes, then its reload: no second reading for them.
    s.Changed(t0 + 100ms);
    s.ReadFrom(t0 + 120ms);
    s.ReadUntil(t0 + 300ms);
    EXPECT_FALSE(s.Due(t0 + 400ms));
    EXPECT_EQ(s.WaitFor(t0 + 400ms), 9900ms) << "the next re-listing counts from the reading";
    // A change seen while the reading ran may have come too late for it.
    s.Changed(t0 + 500ms);
    s.ReadFrom(t0 + 450ms);
    EXPECT_TRUE(s.Due(t0 + 650ms));
}

TEST(RefreshSchedule, NoRelistingFallsDueWhileAReadingRunsButAChangeStillDoes) {
    // A first start of a large register reads for longer than the interval.
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(true);
    s.ReadFrom(t0 + 100ms);
    EXPECT_FALSE(s.Due(t0 + 10100ms));
    EXPECT_FALSE(s.Due(t0 + 15000ms));
    EXPECT_EQ(s.WaitFor(t0 + 15000ms), 10000ms) << "looks again an interval later";
    s.ReadUntil(t0 + 16000ms);
    EXPECT_FALSE(s.Due(t0 + 25000ms));
    EXPECT_EQ(s.WaitFor(t0 + 16000ms), 10000ms) << "the next counts from the reading's end";
    EXPECT_TRUE(s.Due(t0 + 26000ms));

    // A change seen while a reading runs may have come after its listing.
    RefreshSchedule c(Timing(), t0);
    c.SetWatching(true);
    c.ReadFrom(t0 + 100ms);
    c.Changed(t0 + 5000ms);
    EXPECT_TRUE(c.Due(t0 + 5150ms));
    // And a reading that ended an older one does not count as running.
    c.Asked(t0 + 5150ms);
    c.ReadUntil(t0 + 6000ms);
    c.ReadFrom(t0 + 7000ms);
    c.ReadUntil(t0 + 7500ms);
    EXPECT_TRUE(c.Due(t0 + 17500ms));
}

TEST(RefreshSchedule, AChangeJustAfterACostlyRefreshCountsItsSpacingFromThatRefreshsStart) {
    // Another PC's delete right after its add was shown, on a large register.
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(true);
    s.Asked(t0 + 100ms);
    s.ReadFrom(t0 + 110ms);
    s.ReadUntil(t0 + 870ms);
    s.SetRefreshCost(760ms);
    s.Changed(t0 + 900ms);
    EXPECT_FALSE(s.Due(t0 + 1245ms));
    EXPECT_TRUE(s.Due(t0 + 1250ms)) << "one and a half times the cost after the reading began";
}

TEST(RefreshSchedule, WaitForSaysHowLongUntilTheNextRefreshIsDue) {
    RefreshSchedule s(Timing(), t0);
    s.SetWatching(true);
    EXPECT_EQ(s.WaitFor(t0), 10000ms);
    s.Changed(t0 + 100ms);
    EXPECT_EQ(s.WaitFor(t0 + 100ms), 150ms);
    s.Changed(t0 + 200ms);
    EXPECT_EQ(s.WaitFor(t0 + 200ms), 150ms);
    EXPECT_EQ(s.WaitFor(t0 + 400ms), 0ms);
    s.Asked(t0 + 400ms);
    EXPECT_EQ(s.WaitFor(t0 + 400ms), 10000ms);
}

namespace {

// A grid as a reload leaves it: rows of file entries and links by key.
GridModel Grid(const std::vector<std::string>& shown) {
    GridModel g;
    for (const auto& s : shown)
        g.AddRow({std::string(), "descrizione di " + s, s});
    return g;
}

} // namespace

TEST(RefreshPosition, ChosenEntryAndFirstRowFollowTheirKeysWhenRowsAreAddedAbove) {
    GridModel before = Grid({"a.pdf", "b.pdf", "C:\\Dati\\c.xls", "d.doc", "e.exe"});
    before.SetCol(2);
    before.SetToolTipText("d.doc");
    const GridPosition p = CapturePosition(before, 4, 2);
    EXPECT_EQ(p.selectedKey, "d.doc");
    EXPECT_EQ(p.topKey, "b.pdf");

    const GridModel after =
        Grid({"0.pdf", "a.pdf", "aa.pdf", "b.pdf", "C:\\Dati\\c.xls", "d.doc", "e.exe"});
    const RestoredPosition r = RestorePosition(after, p);
    EXPECT_EQ(r.selectedRow, 6);
    EXPECT_EQ(r.topRow, 4);
    EXPECT_EQ(r.currentRow, 6);
    EXPECT_EQ(r.col, 2);
    EXPECT_EQ(r.hint, "d.doc");
}

TEST(RefreshPosition, LinkIsFoundByItsKeyEvenWhenItsRowsTextIsTheSame) {
    GridModel before = Grid({"a.pdf", "C:\\Dati\\c.xls", "d.doc"});
    const GridPosition p = CapturePosition(before, 2, 1);
    EXPECT_EQ(p.selectedKey, "c.xls");
    const RestoredPosition r = RestorePosition(Grid({"C:\\Dati\\c.xls", "d.doc"}), p);
    EXPECT_EQ(r.selectedRow, 1);
    // The first row in sight was deleted: the row now at its place shows first.
    EXPECT_EQ(r.topRow, 1);
    EXPECT_EQ(r.hint, ""); // the click was not in the name-or-path column
}

TEST(RefreshPosition, EntryDeletedElsewhereLeavesNoRowChosenAndNoHint) {
    GridModel before = Grid({"a.pdf", "b.pdf", "c.pdf"});
    before.SetCol(2);
    before.SetToolTipText("b.pdf");
    const GridPosition p = CapturePosition(before, 2, 1);
    const RestoredPosition r = RestorePosition(Grid({"a.pdf", "c.pdf"}), p);
    EXPECT_EQ(r.selectedRow, 0);
    EXPECT_TRUE(r.setHint);
    EXPECT_EQ(r.hint, "");
    EXPECT_EQ(r.topRow, 1);
    EXPECT_EQ(r.currentRow, 1); // the keyboard goes on from the first row in sight
}

TEST(RefreshPosition, NoChoiceStaysNoChoiceAndFirstRowGoneNearTheEndIsClamped) {
    const GridModel before = Grid({"a", "b", "c", "d", "e", "f"});
    const GridPosition p = CapturePosition(before, 0, 5);
    const RestoredPosition r = RestorePosition(Grid({"a", "b", "c"}), p);
    EXPECT_EQ(r.selectedRow, 0);
    EXPECT_FALSE(r.setHint) << "the hint of an earlier click stays until the next click";
    EXPECT_EQ(r.topRow, 3);
    EXPECT_EQ(r.currentRow, 3);

    // An empty grid before or after: nothing to choose and no row current.
    const RestoredPosition empty = RestorePosition(Grid({}), p);
    EXPECT_EQ(empty.selectedRow, 0);
    EXPECT_EQ(empty.currentRow, 0);
    const RestoredPosition fromEmpty =
        RestorePosition(Grid({"a"}), CapturePosition(Grid({}), 0, 1));
    EXPECT_EQ(fromEmpty.topRow, 1);
    EXPECT_EQ(fromEmpty.currentRow, 1);
}

TEST(RefreshPosition, RecordNamedOnlyDatWithItsEmptyKeyIsFoundAgain) {
    const GridModel before = Grid({"", "a.pdf", "b.pdf"});
    const GridPosition p = CapturePosition(before, 1, 1);
    const RestoredPosition r = RestorePosition(Grid({"", "0.pdf", "a.pdf"}), p);
    EXPECT_EQ(r.selectedRow, 1);
    const RestoredPosition gone = RestorePosition(Grid({"0.pdf", "a.pdf"}), p);
    EXPECT_EQ(gone.selectedRow, 0);
}

TEST(DocReachability, LostDocIsToldOnceUntilItHasBeenListedAgain) {
    DocReachability r;
    // No Doc at the first start: an empty register, nothing to tell.
    EXPECT_TRUE(r.MissingMeansEmpty(Error{kErrPathNotFound, "x"}));
    r.Listed(false);
    EXPECT_TRUE(r.MissingMeansEmpty(Error{kErrPathNotFound, "x"}));
    r.Listed(true);
    // Once seen, a Doc that is not found has gone: the share dropped or the
    // folder was taken away.
    EXPECT_FALSE(r.MissingMeansEmpty(Error{kErrPathNotFound, "x"}));
    EXPECT_FALSE(r.MissingMeansEmpty(Error{kErrAccessDenied, "x"}));
    EXPECT_TRUE(r.Failed());
    EXPECT_FALSE(r.Failed());
    EXPECT_FALSE(r.Failed());
    r.Listed(true);
    EXPECT_TRUE(r.Failed()) << "a later drop is told again";
    EXPECT_FALSE(r.Failed());
}

TEST(DocReachability, BoxNamesTheFolderAndTheSystemsReasonUnderTheFailuresNumber) {
    ombriel::testing::ScriptedUi ui;
    ShowDocUnreachable(ui, "\\\\server\\Registro\\Doc",
                       Error{53, "Impossibile trovare il percorso di rete."});
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Errore 53");
    EXPECT_EQ(ui.shown[0].kind, BoxKind::Plain);
    EXPECT_EQ(ui.shown[0].text,
              "Impossibile raggiungere la cartella dei documenti:\n\\\\server\\Registro\\Doc\n\n"
              "Impossibile trovare il percorso di rete.\n\nL'elenco resta com'era e si aggiornerà "
              "da solo quando la cartella sarà di nuovo raggiungibile.");
}

namespace {

// The system's services with a folder listing that fails, as a share that
// dropped or a folder without rights does.
class UnlistablePlatform : public Platform {
  public:
    explicit UnlistablePlatform(uint32_t number) : number_(number) {}
    Error ReadFileHead(const std::filesystem::path& f, size_t limit, std::string& b) override {
        return real_.ReadFileHead(f, limit, b);
    }
    Error WriteFileAtomic(const std::filesystem::path& f, std::string_view b) override {
        return real_.WriteFileAtomic(f, b);
    }
    Error WriteFileNew(const std::filesystem::path& f, std::string_view b) override {
        return real_.WriteFileNew(f, b);
    }
    Error ListFiles(const std::filesystem::path&, std::string_view,
                    std::vector<std::string>& names) override {
        names.push_back("mezzo.pdf.dat"); // a listing cut off half-way
        return MakeError(number_);
    }
    Error ListFolder(const std::filesystem::path&, FolderListing& files) override {
        files.clear();
        return MakeError(number_);
    }
    int64_t Now() override { return real_.Now(); }
    Error RemoveUnheldFile(const std::filesystem::path& f) override {
        return real_.RemoveUnheldFile(f);
    }
    std::filesystem::path LocalCacheFolder() override { return {}; }
    std::string SortKey(std::string_view t) override { return real_.SortKey(t); }
    std::string Describe(uint32_t n) override { return real_.Describe(n); }

  private:
    Platform& real_ = SystemPlatform();
    uint32_t number_;
};

} // namespace

TEST(ReloadRecords, DocThatCannotBeListedLeavesTheGridAsItWasAndSaysWhy) {
    TempFolder dir;
    WriteBytes(dir / "Doc/a.pdf.dat", "\"\"\r\n\"Prima\"\r\n");
    GridModel g;
    ASSERT_FALSE(ReloadRecords(g, SystemPlatform(), dir.Path() / "Doc", false));
    ASSERT_EQ(g.Rows(), 2);

    UnlistablePlatform dropped(kErrAccessDenied);
    const Error e = ReloadRecords(g, dropped, dir.Path() / "Doc", false);
    EXPECT_EQ(e.number, uint32_t{kErrAccessDenied});
    EXPECT_FALSE(e.description.empty());
    ASSERT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 1), "Prima");
    EXPECT_EQ(g.TextMatrix(0, 1), "DESCRIZIONE FILE (1 file o link)");

    // A Doc that is not there is an empty register, not a failure.
    EXPECT_FALSE(ReloadRecords(g, SystemPlatform(), dir.Path() / "Nessuna", false));
    EXPECT_EQ(g.Rows(), 1);
}
