// The records a run leaves for the next start: used only while each record
// file keeps the name, size and write time it was read with, never trusted
// for a record written moments before, and worth nothing (never a failure)
// when missing, damaged, of another version or out of reach.
#include "core/grid/reload.h"
#include "core/records/record_cache.h"
#include "core/records/record_store.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"
#include "test_platform.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;
using testing::TestPlatform;

std::vector<std::string> Descriptions(const RecordStore& store) {
    std::vector<std::string> texts;
    for (const StoredRecord& r : store.Records())
        texts.push_back(r.fields.description);
    return texts;
}

class RecordCacheTest : public ::testing::Test {
  protected:
    TempFolder dir;
    std::filesystem::path doc = dir.Path() / "Registro" / "Doc";
    std::filesystem::path cache = dir.Path() / "Cache" / "registro.cache";
    TestPlatform platform;
    int64_t later = SystemPlatform().Now() + 3600 * kTicksPerSecond;

    void Write(const std::string& name, const std::string& description) {
        WriteBytes(doc / support::PathFromUtf8(name), FormatRecord(RecordFields{"", description}));
    }
    void SetUp() override {
        Write("a.pdf.dat", "Alfa");
        Write("b.doc.dat", "Beta");
        Write("c.xls.dat", "Gamma");
        platform.clock = later;
    }
    // One run of the program: a start, then its end, which saves the cache.
    std::vector<std::string> Run(const std::filesystem::path& cacheFile) {
        RecordStore store(platform, doc, cacheFile);
        EXPECT_FALSE(store.Refresh());
        store.SaveCacheIfChanged();
        return Descriptions(store);
    }
    const std::vector<std::string> all{"Alfa", "Beta", "Gamma"};
};

TEST_F(RecordCacheTest, SecondStartReadsOnlyTheRecordsThatChanged) {
    EXPECT_EQ(Run(cache), all);
    EXPECT_EQ(platform.RecordReads(), 3);
    ASSERT_TRUE(std::filesystem::exists(cache));
    EXPECT_EQ(cache.parent_path().string().find(doc.string()), std::string::npos);

    platform.ResetReads();
    EXPECT_EQ(Run(cache), all);
    EXPECT_EQ(platform.RecordReads(), 0);

    Write("b.doc.dat", "Beta, riscritta"); // another size: stale in the cache
    Write("d.exe.dat", "Delta");
    std::filesystem::remove(doc / "a.pdf.dat");
    platform.ResetReads();
    EXPECT_EQ(Run(cache), (std::vector<std::string>{"Beta, riscritta", "Gamma", "Delta"}));
    EXPECT_EQ(platform.RecordReads(), 2);
}

TEST_F(RecordCacheTest, RecordRewrittenWithSameSizeAndTimeJustAfterTheCacheShowsItsNewText) {
    const auto file = doc / "b.doc.dat";
    const auto written = std::filesystem::last_write_time(file);
    FolderListing listing;
    ASSERT_FALSE(SystemPlatform().ListFolder(doc, listing));
    int64_t writeTime = 0;
    for (const ListedFile& f : listing)
        if (f.name == "b.doc.dat")
            writeTime = f.writeTime;
    // The cache is taken within the same second as the record's write...
    platform.clock = writeTime + kTicksPerSecond / 2;
    EXPECT_EQ(Run(cache), all);
    // ...and the record is rewritten in that second: same size, same time.
    Write("b.doc.dat", "Zeta");
    std::filesystem::last_write_time(file, written);
    platform.clock = later;
    EXPECT_EQ(Run(cache), (std::vector<std::string>{"Alfa", "Zeta", "Gamma"}));
}

TEST_F(RecordCacheTest, CachedRecordTakenMomentsAfterItsWriteIsReadAgain) {
    // A cache whose record claims to be settled, taken one second after the
    // record's write time: the reader does not trust it.
    FolderListing listing;
    ASSERT_FALSE(SystemPlatform().ListFolder(doc, listing));
    std::vector<StoredRecord> records;
    int64_t newest = 0;
    for (const ListedFile& f : listing) {
        StoredRecord r;
        r.fileName = f.name;
        r.size = f.size;
        r.writeTime = f.writeTime;
        r.fields.description = "dalla cache";
        r.settled = true;
        newest = std::max(newest, f.writeTime);
        records.push_back(r);
    }
    RecordCache header;
    header.takenAt = newest + kTicksPerSecond;
    header.registerPath = support::Utf8FromPath(doc);
    header.orderProbe = platform.SortKey(kOrderProbeText);
    WriteBytes(cache, EncodeRecordCache(header, records));
    RecordStore store(platform, doc, cache);
    ASSERT_FALSE(store.Refresh());
    EXPECT_EQ(platform.RecordReads(), 3);
    EXPECT_EQ(Descriptions(store), all);

    // Taken long after the writes, the same entries are used as they are.
    header.takenAt = later;
    WriteBytes(cache, EncodeRecordCache(header, records));
    platform.ResetReads();
    RecordStore trusting(platform, doc, cache);
    ASSERT_FALSE(trusting.Refresh());
    EXPECT_EQ(platform.RecordReads(), 0);
    EXPECT_EQ(Descriptions(trusting),
              (std::vector<std::string>{"dalla cache", "dalla cache", "dalla cache"}));
}

TEST_F(RecordCacheTest, DamagedTruncatedForeignOrOtherRegistersCachesAreIgnoredAndRebuilt) {
    Run(cache);
    const std::string good = ReadBytes(cache);
    std::string flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x20);
    std::string foreign = good;
    foreign[8] = char(kRecordCacheVersion + 1); // a newer program's cache
    RecordCache other;
    other.takenAt = later;
    other.registerPath = "\\\\server\\altro\\Doc";
    StoredRecord fake;
    fake.fileName = "a.pdf.dat";
    fake.settled = true;
    const std::string otherRegister = EncodeRecordCache(other, {fake});
    const std::string cases[] = {
        good.substr(0, good.size() - 1), good.substr(0, 10), flipped, foreign, otherRegister, "",
        std::string(5000, '\xFF'),       good + "x"};
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        WriteBytes(cache, bytes);
        platform.ResetReads();
        EXPECT_EQ(Run(cache), all);
        EXPECT_EQ(platform.RecordReads(), 3) << "every record read from its file";
        RecordCache back; // rebuilt
        EXPECT_TRUE(DecodeRecordCache(ReadBytes(cache), back));
        EXPECT_EQ(back.records.size(), 3u);
    }
}

TEST_F(RecordCacheTest, ACacheOpenedButNeverChangedIsWrittenAgainBeforeItCouldBePruned) {
    Run(cache);
    RecordCache first;
    ASSERT_TRUE(DecodeRecordCache(ReadBytes(cache), first));
    platform.clock = later + 24 * 3600 * kTicksPerSecond; // a day on: left as it is
    platform.ResetReads();
    EXPECT_EQ(Run(cache), all);
    EXPECT_EQ(platform.RecordReads(), 0);
    RecordCache again;
    ASSERT_TRUE(DecodeRecordCache(ReadBytes(cache), again));
    EXPECT_EQ(again.takenAt, first.takenAt) << "an unchanged register writes no cache";

    platform.clock = later + 31 * 24 * 3600 * kTicksPerSecond; // a month on
    EXPECT_EQ(Run(cache), all);
    EXPECT_EQ(platform.RecordReads(), 0);
    ASSERT_TRUE(DecodeRecordCache(ReadBytes(cache), again));
    EXPECT_EQ(again.takenAt, *platform.clock) << "taken again, so no pruning takes it";
    EXPECT_EQ(again.records.size(), 3u);
}

TEST_F(RecordCacheTest, CacheOutOfReachNeverStopsAStart) {
    // Its folder cannot be made (a file stands in the way), so it can be
    // neither read nor written.
    WriteBytes(dir.Path() / "Bloccata", "un file, non una cartella");
    const auto unreachable = dir.Path() / "Bloccata" / "registro.cache";
    EXPECT_EQ(Run(unreachable), all);
    platform.ResetReads();
    EXPECT_EQ(Run(unreachable), all);
    EXPECT_EQ(platform.RecordReads(), 3);
    // No cache at all, as when the system names no folder for one.
    EXPECT_EQ(Run({}), all);
}

TEST_F(RecordCacheTest, AStartWhoseDocCannotBeListedShowsNoCachedRecordAndUsesTheCacheLater) {
    EXPECT_EQ(Run(cache), all);
    RecordStore store(platform, doc, cache);
    platform.listingFailure = 64; // ERROR_NETNAME_DELETED: the share dropped
    EXPECT_EQ(store.Refresh().number, 64u);
    EXPECT_TRUE(store.Records().empty()) << "the cache alone vouches for nothing";

    platform.listingFailure.reset();
    platform.ResetReads();
    EXPECT_FALSE(store.Refresh());
    EXPECT_EQ(Descriptions(store), all);
    EXPECT_EQ(platform.RecordReads(), 0);
}

TEST_F(RecordCacheTest, CacheInAnotherLocalesOrderIsSortedAgain) {
    Run(cache);
    RecordCache read;
    ASSERT_TRUE(DecodeRecordCache(ReadBytes(cache), read));
    std::reverse(read.records.begin(), read.records.end());
    read.orderProbe = "another locale";
    WriteBytes(cache, EncodeRecordCache(read, read.records));
    platform.ResetReads();
    EXPECT_EQ(Run(cache), all);
    EXPECT_EQ(platform.RecordReads(), 0) << "the records themselves still hold";
}

TEST_F(RecordCacheTest, RecordsOfEveryKindSurviveTheCacheByteForByte) {
    WriteBytes(doc / support::PathFromUtf8("\xE6\x97\xA5\xE6\x9C\xAC.pdf.dat"),
               FormatRecord(RecordFields{"C:\\\xD0\x96\\x.pdf", std::string(50000, 'q')}));
    WriteBytes(doc / "rotto.doc.dat", "\"una riga sola");
    // Enough text that the cache is written in several pieces.
    for (char c : std::string("rstu"))
        Write(std::string(1, c) + ".xls.dat", std::string(40000, c) + "\xC3\xA8");
    RecordStore first(platform, doc, cache);
    ASSERT_FALSE(first.Refresh());
    first.SaveCacheIfChanged();
    platform.ResetReads();
    RecordStore second(platform, doc, cache);
    ASSERT_FALSE(second.Refresh());
    EXPECT_EQ(platform.RecordReads(), 0);
    ASSERT_EQ(second.Records().size(), first.Records().size());
    for (size_t i = 0; i < first.Records().size(); ++i) {
        EXPECT_EQ(second.Records()[i].fileName, first.Records()[i].fileName);
        EXPECT_EQ(second.Records()[i].fields.target, first.Records()[i].fields.target);
        EXPECT_EQ(second.Records()[i].fields.description, first.Records()[i].fields.description);
        EXPECT_EQ(second.Records()[i].error, first.Records()[i].error);
    }
}

TEST(RecordCacheBytes, AWriterThatRefusesAPieceIsHandedNoMore) {
    RecordCache header;
    std::vector<StoredRecord> records(2000);
    for (StoredRecord& r : records) {
        r.fileName = "r.pdf.dat";
        r.fields.description = std::string(100, 'd');
        r.settled = true;
    }
    int calls = 0;
    EncodeRecordCache(header, records, [&](std::string_view) { return ++calls < 2; });
    EXPECT_EQ(calls, 2);
    std::string whole;
    EncodeRecordCache(header, records, [&](std::string_view piece) {
        whole.append(piece);
        return true;
    });
    RecordCache back;
    ASSERT_TRUE(DecodeRecordCache(whole, back)) << "a cache of several pieces reads back";
    EXPECT_EQ(back.records.size(), records.size());
}

TEST(RecordCacheFile, EachRegisterHasItsOwnFileWhateverTheCapitals) {
    const std::filesystem::path folder = "cache";
    EXPECT_EQ(RecordCacheFile(folder, "\\\\Server\\Reg\\Doc"),
              RecordCacheFile(folder, "\\\\server\\reg\\doc"));
    EXPECT_NE(RecordCacheFile(folder, "\\\\server\\reg\\Doc"),
              RecordCacheFile(folder, "\\\\server\\reg2\\Doc"));
    EXPECT_EQ(RecordCacheFile(folder, "x").parent_path(), folder);
}

} // namespace
} // namespace ombriel
