// The grid reads the texts where the record store keeps them: after every
// kind of change a reload brings it shows exactly what a grid of its own
// copies would, a store that changes or goes never leaves it reading freed
// memory (the sanitizer build runs these too), and a change made through the
// grid never reaches the store's records.
#include "core/grid/grid_model.h"
#include "core/grid/refresh_position.h"
#include "core/grid/reload.h"
#include "core/records/record_store.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"
#include "test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ombriel {
namespace {

using support::testing::TempFolder;
using support::testing::WriteBytes;

constexpr Rgb kRed = MakeRgb(255, 192, 192);
constexpr Rgb kGreen = MakeRgb(192, 255, 192);
constexpr Rgb kCyan = MakeRgb(192, 255, 255);

struct Row {
    std::string mark, description, shown;
    Rgb color;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << '[' << r.mark << '|' << r.description << '|' << r.shown << '|' << std::hex
              << r.color << std::dec << ']';
}

std::vector<Row> Shown(const GridModel& g) {
    std::vector<Row> rows;
    for (int r = 1; r < g.Rows(); ++r)
        rows.push_back(Row{std::string(g.TextMatrix(r, 0)), std::string(g.TextMatrix(r, 1)),
                           std::string(g.TextMatrix(r, 2)), g.CellBackColor(r, 1)});
    return rows;
}

class GridShowsStore : public ::testing::Test {
  protected:
    TempFolder dir;
    std::filesystem::path doc = dir.Path() / "Doc";
    testing::TestPlatform platform;

    void Write(const std::string& name, const std::string& target, const std::string& text) {
        WriteBytes(doc / support::PathFromUtf8(name), FormatRecord(RecordFields{target, text}));
    }
    void SetUp() override {
        support::testing::MakeFolders(doc);
        // Far past every write: no record is too fresh to keep unread.
        platform.clock = SystemPlatform().Now() + 3600 * kTicksPerSecond;
    }
};

TEST_F(GridShowsStore, AReloadThatChangesRemovesAndAddsShowsTheNewTextsInOrder) {
    Write("b.pdf.dat", "", "Bilancio");
    Write("c.xls.dat", "Z:\\Conti\\c.xls", "Conti");
    Write("d.doc.dat", "", "Delibera");
    WriteBytes(doc / "b.pdf", "%PDF");
    RecordStore store(platform, doc);
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    EXPECT_TRUE(grid.ShowsRecords());
    EXPECT_EQ(Shown(grid), (std::vector<Row>{{"", "Bilancio", "b.pdf", kRed},
                                             {"", "Conti", "Z:\\Conti\\c.xls", kGreen},
                                             {"!", "Delibera", "d.doc", kCyan}}));

    // A longer description (a fresh buffer), a link become a file entry, one
    // record gone and two new ones, one before all the others.
    Write("b.pdf.dat", "", "Bilancio consuntivo dell'esercizio, approvato in assemblea");
    Write("c.xls.dat", "", "Conti");
    std::filesystem::remove(doc / "d.doc.dat");
    Write("a.doc.dat", "", "Atto");
    Write("\xC3\xA8lite.pdf.dat", "C:\\Dati\\\xC3\xA8lite.pdf", "\xC3\x88lite");
    WriteBytes(doc / "a.doc", "doc");
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    EXPECT_EQ(Shown(grid),
              (std::vector<Row>{
                  {"", "Atto", "a.doc", kCyan},
                  {"", "Bilancio consuntivo dell'esercizio, approvato in assemblea", "b.pdf", kRed},
                  {"!", "Conti", "c.xls", kGreen},
                  {"", "\xC3\x88lite", "C:\\Dati\\\xC3\xA8lite.pdf", kRed}}));
    EXPECT_EQ(grid.TextMatrix(0, 1), "DESCRIZIONE FILE (4 file o link)");
    EXPECT_EQ(grid.Row(), 1);

    // Everything gone: the header counts none and no row reads.
    for (const auto& e : std::filesystem::directory_iterator(doc))
        std::filesystem::remove(e.path());
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 1), "DESCRIZIONE FILE (0 file o link)");
    EXPECT_EQ(grid.TextMatrix(1, 1), "");
}

TEST_F(GridShowsStore, AStoreThatChangesOrGoesUnderTheGridIsNeverReadFreed) {
    for (int i = 0; i < 40; ++i)
        Write("doc" + std::to_string(100 + i) + ".pdf.dat", "",
              "Una descrizione abbastanza lunga " + std::to_string(i));
    GridModel grid;
    {
        RecordStore store(platform, doc);
        ASSERT_FALSE(ReloadRecords(grid, store, false));
        ASSERT_EQ(grid.Rows(), 41);
        // The store refreshes without the grid being shown it again, as when
        // something reads the grid between the two: most records gone, the
        // rest rewritten into new buffers.
        for (int i = 5; i < 40; ++i)
            std::filesystem::remove(doc / ("doc" + std::to_string(100 + i) + ".pdf.dat"));
        for (int i = 0; i < 5; ++i)
            Write("doc" + std::to_string(100 + i) + ".pdf.dat", "",
                  "Riscritta, ancora più lunga di prima " + std::to_string(i));
        ASSERT_FALSE(store.Refresh());
        EXPECT_EQ(grid.Rows(), 6) << "the grid follows the store's records as they are";
        EXPECT_EQ(grid.TextMatrix(5, 1), "Riscritta, ancora più lunga di prima 4");
        EXPECT_EQ(grid.TextMatrix(30, 1), "") << "a row the store no longer has reads empty";
        EXPECT_EQ(grid.CellBackColor(30, 1), kWhite);
    }
    // The store is gone; the records the grid shows stay with the grid.
    ASSERT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.TextMatrix(1, 2), "doc100.pdf");
    EXPECT_EQ(grid.TextMatrix(1, 1), "Riscritta, ancora più lunga di prima 0");

    // The reload of a folder with nothing kept reads the same way.
    GridModel once;
    ASSERT_FALSE(ReloadRecords(once, platform, doc, false));
    EXPECT_EQ(Shown(once), Shown(grid));
}

TEST_F(GridShowsStore, EditingTheGridCopiesItsRowsAndLeavesTheStoreAsItWas) {
    Write("a.pdf.dat", "", "Atto");
    Write("b.xls.dat", "C:\\b.xls", "Bilancio");
    RecordStore store(platform, doc);
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, store, false));

    grid.SetTextMatrix(1, 1, "cambiata nella griglia");
    EXPECT_FALSE(grid.ShowsRecords());
    EXPECT_EQ(store.Records()[0].fields.description, "Atto");
    EXPECT_EQ(grid.TextMatrix(1, 1), "cambiata nella griglia");
    EXPECT_EQ(grid.TextMatrix(1, 2), "a.pdf");
    EXPECT_EQ(grid.TextMatrix(2, 2), "C:\\b.xls");
    EXPECT_EQ(grid.CellBackColor(2, 2), kGreen) << "the colours stay with the copy";

    // A refresh of the store no longer moves the grid's own rows.
    std::filesystem::remove(doc / "b.xls.dat");
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(2, 1), "Bilancio");

    // Rows added to a grid that shows records come after a copy of them.
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    grid.AddItem("\tnuova\tn.exe");
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 1), "Atto");
    EXPECT_EQ(grid.TextMatrix(2, 2), "n.exe");
    EXPECT_EQ(store.Records().size(), 1u);
}

TEST_F(GridShowsStore, LinkMarksShowWithoutACopyOfTheRowsAndGoWithTheNextRecords) {
    Write("a.pdf.dat", "", "Atto");
    Write("b.xls.dat", "C:\\b.xls", "Bilancio");
    Write("c.doc.dat", "C:\\c.doc", "Circolare");
    RecordStore store(platform, doc);
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    ASSERT_EQ(grid.TextMatrix(1, 0), kMissingDocumentMark) << "a file entry without its document";

    grid.SetLinkMark(2, true);
    grid.SetLinkMark(3, true);
    grid.SetLinkMark(3, false);
    EXPECT_TRUE(grid.ShowsRecords()) << "a mark takes no copy of the register's texts";
    EXPECT_EQ(grid.TextMatrix(2, 0), kMissingDocumentMark);
    EXPECT_EQ(grid.TextMatrix(3, 0), "");
    grid.SetLinkMark(1, false);
    EXPECT_EQ(grid.TextMatrix(1, 0), kMissingDocumentMark) << "the document's own mark stays";
    grid.SetLinkMark(4, true); // beyond the rows: nothing
    EXPECT_EQ(grid.Rows(), 4);

    ASSERT_FALSE(ReloadRecords(grid, store, false));
    EXPECT_EQ(grid.TextMatrix(2, 0), "") << "the next records start unmarked";
    grid.SetLinkMark(2, true);
    grid.SetRows(2);
    grid.AddItem("\tnuova\tn.exe");
    EXPECT_EQ(grid.TextMatrix(2, 0), "") << "a removed row's mark does not pass to a new one";
}

TEST_F(GridShowsStore, ALiveRefreshKeepsTheChosenEntryByKeyAcrossTheStoresChange) {
    for (const char* n : {"b", "d", "f", "h"})
        Write(std::string(n) + ".pdf.dat", "", std::string("voce ") + n);
    RecordStore store(platform, doc);
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    // f chosen, d first in sight; then another PC adds two entries above and
    // removes d.
    const GridPosition before = CapturePosition(grid, 3, 2);
    Write("a.pdf.dat", "", "voce a");
    Write("c.pdf.dat", "", "voce c");
    std::filesystem::remove(doc / "d.pdf.dat");
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    const RestoredPosition after = RestorePosition(grid, before);
    EXPECT_EQ(after.selectedRow, 4);
    EXPECT_EQ(grid.TextMatrix(after.selectedRow, 2), "f.pdf");
    EXPECT_EQ(after.topRow, 2) << "d is gone: the row at its place is shown first";
}

} // namespace
} // namespace ombriel
