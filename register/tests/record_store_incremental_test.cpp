// The records kept for a run: a refresh reads only what is new or changed,
// keeps the grid's order, marks missing documents, rides out locked records
// and a Doc that cannot be listed.
#include "core/grid/reload.h"
#include "core/records/record_list.h"
#include "core/records/record_store.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"
#include "test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ombriel {
namespace {

using support::testing::TempFolder;
using support::testing::WriteBytes;
using testing::TestPlatform;

std::string Record(const std::string& target, const std::string& description) {
    return FormatRecord(RecordFields{target, description});
}

std::vector<std::string> Names(const RecordStore& store) {
    std::vector<std::string> names;
    for (const StoredRecord& r : store.Records())
        names.push_back(r.fileName);
    return names;
}

const StoredRecord* Find(const RecordStore& store, const std::string& name) {
    for (const StoredRecord& r : store.Records())
        if (r.fileName == name)
            return &r;
    return nullptr;
}

class IncrementalStore : public ::testing::Test {
  protected:
    TempFolder dir;
    std::filesystem::path doc = dir.Path() / "Doc";
    TestPlatform platform;

    void Write(const std::string& name, const std::string& bytes) {
        WriteBytes(doc / support::PathFromUtf8(name), bytes);
    }
    // A clock so far past every write that no record is too fresh to trust.
    void ClockLongAfterWrites() {
        platform.clock = SystemPlatform().Now() + 3600 * kTicksPerSecond;
    }
};

TEST_F(IncrementalStore, RefreshReadsOnlyNewAndChangedRecordsAndKeepsTheOrder) {
    for (const char* n : {"c.xls.dat", "B.pdf.dat", "a.doc.dat", "e.exe.dat"})
        Write(n, Record("", std::string("prima ") + n));
    ClockLongAfterWrites();
    RecordStore store(platform, doc);
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 4);
    EXPECT_EQ(Names(store),
              (std::vector<std::string>{"a.doc.dat", "B.pdf.dat", "c.xls.dat", "e.exe.dat"}));

    platform.ResetReads();
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 0) << "nothing changed, nothing is read";

    Write("B.pdf.dat", Record("", "dopo, più lunga"));
    Write("d.txt.dat", Record("Z:\\x\\d.txt", "nuova"));
    std::filesystem::remove(doc / "e.exe.dat");
    platform.ResetReads();
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 2);
    EXPECT_EQ(Names(store),
              (std::vector<std::string>{"a.doc.dat", "B.pdf.dat", "c.xls.dat", "d.txt.dat"}));
    EXPECT_EQ(Find(store, "B.pdf.dat")->fields.description, "dopo, più lunga");
    EXPECT_EQ(Find(store, "d.txt.dat")->fields.target, "Z:\\x\\d.txt");

    // The first record gone: every other one closes up, and keeps its text
    // and what was listed of it.
    std::filesystem::remove(doc / "a.doc.dat");
    platform.ResetReads();
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 0);
    EXPECT_EQ(Names(store), (std::vector<std::string>{"B.pdf.dat", "c.xls.dat", "d.txt.dat"}));
    EXPECT_EQ(Find(store, "c.xls.dat")->fields.description, "prima c.xls.dat");
    EXPECT_EQ(Find(store, "d.txt.dat")->fields.description, "nuova");
}

TEST_F(IncrementalStore, FewNewNamesAmongManyLandWhereAFullSortPutsThem) {
    for (int i = 0; i < 300; ++i)
        Write("Doc " + std::to_string(i * 7 % 300) + (i % 2 ? ".PDF.dat" : ".doc.dat"),
              Record("", "d"));
    ClockLongAfterWrites();
    RecordStore store(platform, doc);
    ASSERT_FALSE(store.Refresh());
    for (const char* n : {"doc 15.xls.dat", "Doc 299.zz.dat", "_primo.dat", "\xC3\xA9lite.dat"})
        Write(n, Record("", "nuovo"));
    ASSERT_FALSE(store.Refresh());
    std::vector<std::string> expected;
    for (const RecordEntry& e : LoadRecords(SystemPlatform(), doc))
        expected.push_back(e.fileName);
    EXPECT_EQ(Names(store), expected);
}

TEST_F(IncrementalStore, ManyRecordsReadBySeveralThreadsGiveWhatOneReaderGives) {
    for (int i = 0; i < 700; ++i) {
        std::string name = "r";
        name += std::to_string(i);
        name += ".pdf.dat";
        std::string description = "descrizione ";
        description += std::to_string(i);
        Write(name, i % 50 == 0 ? std::string("\"solo un campo")
                                : Record(i % 3 ? "" : "C:\\a\\r.pdf", description));
    }
    RecordStore store(platform, doc);
    ASSERT_FALSE(store.Refresh());
    const auto one = LoadRecords(SystemPlatform(), doc);
    ASSERT_EQ(store.Records().size(), one.size());
    for (size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(store.Records()[i].fileName, one[i].fileName);
        EXPECT_EQ(store.Records()[i].fields.target, one[i].fields.target);
        EXPECT_EQ(store.Records()[i].fields.description, one[i].fields.description);
        EXPECT_EQ(store.Records()[i].error, one[i].error.number);
    }
}

TEST_F(IncrementalStore, RecordsWrittenMomentsBeforeAreReadAgainUntilTheySettle) {
    Write("a.pdf.dat", Record("", "uno"));
    RecordStore store(platform, doc);
    // Read within the file system's time resolution of its write: a rewrite
    // of the same size could keep the same time, so it is not trusted.
    platform.clock = SystemPlatform().Now();
    ASSERT_FALSE(store.Refresh());
    platform.ResetReads();
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 1);
    ClockLongAfterWrites();
    ASSERT_FALSE(store.Refresh());
    platform.ResetReads();
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 0);
}

TEST_F(IncrementalStore, LockedRecordShowsWhatWasReadAndIsReadAgainNextTime) {
    Write("a.pdf.dat", Record("", "primo"));
    Write("b.doc.dat", Record("", "bloccato"));
    ClockLongAfterWrites();
    RecordStore store(platform, doc);
    platform.LockOnce("b.doc.dat");
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(Find(store, "b.doc.dat")->error, uint32_t(kErrSharingViolation));
    EXPECT_EQ(Find(store, "b.doc.dat")->fields.description, "");
    ASSERT_FALSE(store.Refresh()); // the lock is gone: the same stamp is read again
    EXPECT_EQ(Find(store, "b.doc.dat")->error, 0u);
    EXPECT_EQ(Find(store, "b.doc.dat")->fields.description, "bloccato");

    // Locked while another PC rewrites it: the old text stays meanwhile.
    Write("b.doc.dat", Record("", "riscritto"));
    platform.LockOnce("b.doc.dat");
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(Find(store, "b.doc.dat")->fields.description, "bloccato");
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(Find(store, "b.doc.dat")->fields.description, "riscritto");
}

TEST_F(IncrementalStore, DocThatCannotBeListedChangesNeitherRecordsNorGrid) {
    Write("a.pdf.dat", Record("", "visibile"));
    ClockLongAfterWrites();
    RecordStore store(platform, doc);
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, store, false));
    platform.listingFailure = 64; // ERROR_NETNAME_DELETED: the share dropped
    std::filesystem::remove(doc / "a.pdf.dat");
    const Error e = ReloadRecords(grid, store, false);
    EXPECT_EQ(e.number, 64u);
    EXPECT_FALSE(e.description.empty());
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 1), "visibile");
    ASSERT_EQ(store.Records().size(), 1u);

    platform.listingFailure.reset();
    EXPECT_FALSE(ReloadRecords(grid, store, false));
    EXPECT_EQ(grid.Rows(), 1);
}

TEST_F(IncrementalStore, RegisterFolderGoneIsAFailureButDocAloneMissingIsAnEmptyList) {
    GridModel grid;
    EXPECT_FALSE(ReloadRecords(grid, platform, doc, false)); // no Doc yet
    EXPECT_EQ(grid.TextMatrix(0, 1), "DESCRIZIONE FILE (0 file o link)");
    const Error e = ReloadRecords(grid, platform, dir.Path() / "Sparito" / "Doc", false);
    EXPECT_TRUE(e.Failed());
}

TEST_F(IncrementalStore, FileEntryWithoutItsDocumentIsMarkedAndTheGridOpensAtItsTop) {
    Write("a.pdf.dat", Record("", "con documento"));
    Write("a.pdf", "%PDF");
    Write("b.doc.dat", Record("", "senza documento"));
    Write("c.xls.dat", Record("C:\\Altrove\\c.xls", "collegamento"));
    Write("D.PDF.dat", Record("", "maiuscole"));
    Write("d.pdf", "%PDF"); // the file system ignores case
    Write("e.exe.tmp~", "mezza copia");
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, platform, doc, false));
    ASSERT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
    EXPECT_EQ(grid.TextMatrix(2, 0), kMissingDocumentMark);
    EXPECT_EQ(grid.TextMatrix(2, 2), "b.doc");
    EXPECT_EQ(grid.TextMatrix(3, 0), "") << "a link has no document in Doc";
    EXPECT_EQ(grid.TextMatrix(4, 0), "");
    EXPECT_EQ(grid.Row(), 1) << "the user first sees the first rows";
}

TEST_F(IncrementalStore, NamesBeyondWindows1252AndLongRecordsReadWhole) {
    const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80.pdf"; // 日本 😀
    const std::string longText(50000, 'x');
    std::string wide = "\xD0\x96"; // Ж, then 49,999 more
    wide.append(49999, 'y');
    WriteBytes(doc / support::PathFromUtf8(name + ".dat"),
               FormatRecord(RecordFields{"", longText}));
    WriteBytes(doc / support::PathFromUtf8(name), "documento");
    WriteBytes(doc / "w.doc.dat", FormatRecord(RecordFields{"C:\\\xD0\x96\\w.doc", wide}));
    GridModel grid;
    ASSERT_FALSE(ReloadRecords(grid, platform, doc, false));
    ASSERT_EQ(grid.Rows(), 3);
    int named = grid.TextMatrix(1, 2) == name ? 1 : 2;
    EXPECT_EQ(grid.TextMatrix(named, 2), name);
    EXPECT_EQ(grid.TextMatrix(named, 1), longText);
    EXPECT_EQ(grid.TextMatrix(named, 0), "");
    EXPECT_EQ(grid.TextMatrix(3 - named, 1), wide);
}

TEST_F(IncrementalStore, LeftoverTemporariesGoAndOtherFilesStay) {
    Write("a.pdf.dat", Record("", "a"));
    Write("a.pdf", "%PDF");
    Write("a.pdf.dat.77-1.tmp~", "\"mez");
    Write("grande.pdf.77-2.tmp~", "copia a metà");
    RecordStore store(platform, doc);
    ASSERT_FALSE(store.Refresh());
    std::vector<std::string> temporaries = store.Temporaries();
    std::sort(temporaries.begin(), temporaries.end());
    EXPECT_EQ(temporaries,
              (std::vector<std::string>{"a.pdf.dat.77-1.tmp~", "grande.pdf.77-2.tmp~"}));
    RemoveLeftoverTemporaries(platform, doc, store.Temporaries());
    std::vector<std::string> left;
    for (const auto& item : std::filesystem::directory_iterator(doc))
        left.push_back(item.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a.pdf", "a.pdf.dat"}));
}

} // namespace
} // namespace ombriel
