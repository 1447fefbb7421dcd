// Writing a file of a register that several PCs share: every writer fills a
// temporary file of its own, and a new file is created only if absent, in one
// step. The other writer is played inside the crash hook, at the moment the
// first one is about to give its data the file's name.
#include "core/platform/platform.h"
#include "core/platform/temporary_name.h"
#include "core/records/record_list.h"

#include "support/crash_point.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

// The steps of a write through a temporary file: create it, write the data,
// make it durable, name it.
constexpr uint64_t kNamingStep = 4;

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class RecordWrites : public ::testing::Test {
  protected:
    TempFolder folder;
    Platform& platform = SystemPlatform();
    std::filesystem::path file = folder / "report.pdf.dat";

    void TearDown() override { support::DisarmCrashPoint(); }
};

TEST_F(RecordWrites, TwoWritersOfOneFileNeverShareATemporaryFile) {
    Error second;
    support::ArmCrashPoint(kNamingStep, [&] { second = platform.WriteFileAtomic(file, "B"); });

    const Error first = platform.WriteFileAtomic(file, "A");

    EXPECT_FALSE(second.Failed()) << second.description;
    EXPECT_FALSE(first.Failed()) << first.description;
    EXPECT_EQ(ReadBytes(file), "A"); // the later rename wins, whole
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"report.pdf.dat"});
}

TEST_F(RecordWrites, NewFileIsCreatedOnlyIfAbsentAndNothingIsLeftBehind) {
    EXPECT_FALSE(platform.WriteFileNew(file, "primo").Failed());
    EXPECT_EQ(platform.WriteFileNew(file, "secondo").number, kErrAlreadyExists);
    EXPECT_EQ(ReadBytes(file), "primo");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"report.pdf.dat"});
}

TEST_F(RecordWrites, NameTakenByAnotherWriterJustBeforeTheCreationIsRefused) {
    Error other;
    support::ArmCrashPoint(kNamingStep, [&] { other = platform.WriteFileNew(file, "altro PC"); });

    EXPECT_EQ(platform.WriteFileNew(file, "questo PC").number, kErrAlreadyExists);

    EXPECT_FALSE(other.Failed()) << other.description;
    EXPECT_EQ(ReadBytes(file), "altro PC");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"report.pdf.dat"});
}

// A crashed writer that ran under this process's number may have left the
// very temporary names this process would take next: they are skipped, kept
// as they are, and never listed.
TEST_F(RecordWrites, LeftoverTemporaryFilesNeitherBlockAWriteNorShowInTheList) {
    const std::string probe = TemporaryNameFor(file).filename().string();
    const size_t dash = probe.rfind('-');
    const uint64_t next = std::stoull(probe.substr(dash + 1)) + 1;
    std::vector<std::string> leftovers;
    for (uint64_t n = next; n < next + 3; ++n) {
        leftovers.push_back(probe.substr(0, dash + 1) + std::to_string(n) +
                            std::string(kTemporarySuffix));
        WriteBytes(folder / leftovers.back(), "\"mezzo");
    }

    EXPECT_FALSE(platform.WriteFileAtomic(file, "intero").Failed());
    EXPECT_FALSE(platform.WriteFileNew(folder / "nuovo.pdf.dat", "nuovo").Failed());

    EXPECT_EQ(ReadBytes(file), "intero");
    for (const std::string& name : leftovers)
        EXPECT_EQ(ReadBytes(folder / name), "\"mezzo");
    std::vector<std::string> listed;
    ASSERT_FALSE(ListRecordNames(platform, folder.Path(), listed).Failed());
    EXPECT_EQ(listed, (std::vector<std::string>{"nuovo.pdf.dat", "report.pdf.dat"}));
}

} // namespace
} // namespace ombriel
