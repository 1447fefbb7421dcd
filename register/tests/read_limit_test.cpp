// Whatever the register writes it reads back whole: the writers refuse what
// the readers would cut short, and a file longer than a reader takes is
// reported, never shown as complete.
#include "core/records/record_file.h"
#include "core/records/record_list.h"
#include "core/records/settings_file.h"
#include "core/records/text_codec.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

using namespace ombriel;
using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

namespace {

// count copies of a character (UTF-8).
std::string Repeat(const std::string& ch, size_t count) {
    std::string out;
    out.reserve(ch.size() * count);
    for (size_t i = 0; i < count; ++i)
        out += ch;
    return out;
}

struct EdgeCase {
    const char* name;
    const char* character; // what the description is made of
    size_t storedSize;     // bytes one character takes in the file
    size_t fixedBytes;     // the file's bytes besides the description's characters
};

// The quotes and line ends of both fields take 8 bytes;
// a text beyond Windows-1252 adds the byte-order mark.
const EdgeCase kEdges[] = {
    {"Plain", "x", 1, 8},
    {"Quotes", "\"", 2, 8},
    {"BeyondWindows1252", "\xE6\x97\xA5", 3, 8 + kUtf8Bom.size()}, // 日
};

class RecordLimit : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(RecordLimit, RecordOfExactlyTheLimitReadsBackWholeAndOneMoreIsRefused) {
    const EdgeCase& c = GetParam();
    TempFolder dir;
    Platform& p = SystemPlatform();
    const auto file = dir.Path() / "edge.pdf.dat";
    const std::string fits = Repeat(c.character, (kRecordReadLimit - c.fixedBytes) / c.storedSize);
    // Plain characters in the target make up what the description leaves.
    const std::string target((kRecordReadLimit - c.fixedBytes) % c.storedSize, 't');

    ASSERT_FALSE(WriteRecordFile(p, file, {target, fits}));
    EXPECT_EQ(ReadBytes(dir / "edge.pdf.dat").size(), kRecordReadLimit);
    RecordFields back;
    EXPECT_FALSE(ReadRecordFile(p, file, back));
    EXPECT_EQ(back.target, target);
    EXPECT_EQ(back.description, fits);

    Error e = WriteRecordFile(p, file, {target, fits + c.character});
    EXPECT_EQ(e.number, kErrFileTooLarge);
    EXPECT_FALSE(e.description.empty());
    EXPECT_EQ(ReadBytes(dir / "edge.pdf.dat").size(), kRecordReadLimit); // the old file stays
}

INSTANTIATE_TEST_SUITE_P(Texts, RecordLimit, ::testing::ValuesIn(kEdges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordLimit, LongestTextsTheProgramTakesFitWhateverTheirCharacters) {
    TempFolder dir;
    Platform& p = SystemPlatform();
    const auto file = dir.Path() / "link.pdf.dat";
    // Three bytes per UTF-16 unit is the most any character takes stored.
    for (const char* ch : {"\xE6\x97\xA5", "\"", "\xF0\x9F\x98\x80" /* 😀, two units */}) {
        const size_t units = std::string(ch).size() == 4 ? 2 : 1;
        const RecordFields longest{Repeat(ch, kTargetMaxUnits / units),
                                   Repeat(ch, kDescriptionMaxUnits / units)};
        ASSERT_FALSE(WriteRecordFile(p, file, longest)) << ch;
        RecordFields back;
        ASSERT_FALSE(ReadRecordFile(p, file, back)) << ch;
        EXPECT_EQ(back.target, longest.target);
        EXPECT_EQ(back.description, longest.description);
    }
}

// The reported loss: a 300,000-character description came back cut to the
// reader's limit without an error, and the next save stored the cut text.
TEST(RecordLimit, DescriptionBeyondTheLimitIsRefusedNotCut) {
    TempFolder dir;
    Platform& p = SystemPlatform();
    const auto file = dir.Path() / "a.doc.dat";
    ASSERT_FALSE(WriteRecordFile(p, file, {"", "prima"}));
    Error e = WriteRecordFile(p, file, {"", std::string(300000, 'd')});
    EXPECT_EQ(e.number, kErrFileTooLarge);
    RecordFields back;
    ASSERT_FALSE(ReadRecordFile(p, file, back));
    EXPECT_EQ(back.description, "prima");
}

TEST(RecordLimit, FileOneByteOverTheLimitIsDamagedEvenWithBothFields) {
    TempFolder dir;
    const std::string head = "\"\"\r\n\"d\"\r\n";
    WriteBytes(dir / "Doc/at.pdf.dat", head + std::string(kRecordReadLimit - head.size(), ' '));
    WriteBytes(dir / "Doc/over.pdf.dat",
               head + std::string(kRecordReadLimit - head.size() + 1, ' '));
    WriteBytes(dir / "Doc/cut.pdf.dat",
               "\"\"\r\n\"" + std::string(kRecordReadLimit, 'c') + "\"\r\n");
    auto entries = LoadRecords(SystemPlatform(), dir.Path() / "Doc");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, "at.pdf");
    EXPECT_FALSE(entries[0].error);
    EXPECT_EQ(entries[1].key, "cut.pdf");
    EXPECT_EQ(entries[1].error.number, kErrFileTooLarge);
    EXPECT_EQ(entries[1].fields.description.size(), kRecordReadLimit - 5); // what was read
    EXPECT_EQ(entries[2].key, "over.pdf");
    EXPECT_EQ(entries[2].error.number, kErrFileTooLarge);
    EXPECT_EQ(entries[2].fields.description, "d");
}

TEST(SettingsLimit, FileOfExactlyTheLimitLoadsWholeAndOneMoreIsRefused) {
    TempFolder dir;
    Platform& p = SystemPlatform();
    const auto file = dir.Path() / "Ombriel.ini";
    // Three empty fields take 12 bytes; the rest is the pdf viewer's path.
    ViewerPaths paths{std::string(kSettingsReadLimit - 12, 'p'), "", ""};
    ASSERT_FALSE(SaveSettings(p, file, paths));
    EXPECT_EQ(ReadBytes(dir / "Ombriel.ini").size(), kSettingsReadLimit);
    ViewerPaths back;
    ASSERT_FALSE(LoadSettings(p, file, back));
    EXPECT_EQ(back.PathAR, paths.PathAR);

    ViewerPaths longer = paths;
    longer.PathExc = "x";
    EXPECT_EQ(SaveSettings(p, file, longer).number, kErrFileTooLarge);
    EXPECT_EQ(ReadBytes(dir / "Ombriel.ini").size(), kSettingsReadLimit);
}

TEST(SettingsLimit, FileOverTheLimitLoadsAsFailureEvenWithThreeFields) {
    TempFolder dir;
    const std::string fields = "\"a\"\r\n\"b\"\r\n\"c\"\r\n";
    WriteBytes(dir / "Ombriel.ini",
               fields + std::string(kSettingsReadLimit - fields.size() + 1, ' '));
    ViewerPaths paths;
    Error e = LoadSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", paths);
    EXPECT_EQ(e.number, kErrFileTooLarge);
    EXPECT_EQ(paths.PathExc, "c");
}

} // namespace
