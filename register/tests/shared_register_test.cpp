// One register opened from a shared folder by several PCs: helper processes
// run the workload of shared_register_workload.h on one register folder at
// the same time, then the register is checked against what each process
// says its commands came to.
#include "shared_register_workload.h"

#include "core/platform/temporary_name.h"
#include "core/records/record_file.h"
#include "support/testing/child_process.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace ombriel {
namespace {

using support::testing::ReadBytes;
using support::testing::TempFolder;
namespace wl = testing::workload;

constexpr int kWorkers = 4;
constexpr int kRounds = 20;

struct Logged {
    int worker;
    std::string what, name, verdict;
};

std::vector<Logged> ReadLog(const wl::Folders& at, int worker) {
    std::vector<Logged> lines;
    std::istringstream in(ReadBytes(at.Log(worker)));
    for (std::string line; std::getline(in, line);) {
        Logged entry{worker, {}, {}, {}};
        std::istringstream fields(line);
        fields >> entry.what >> entry.name;
        std::getline(fields >> std::ws, entry.verdict);
        lines.push_back(entry);
    }
    return lines;
}

std::optional<std::string> Content(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file))
        return std::nullopt;
    return ReadBytes(file);
}

// The workers run once for the suite; each case checks one promise of what
// they left.
class SharedRegister : public ::testing::Test {
  protected:
    struct Run {
        TempFolder folder;
        wl::Folders at{folder.Path()};
        std::vector<support::testing::ChildEnd> ends;
        // What each command came to, by command and name.
        std::map<std::pair<std::string, std::string>, std::vector<Logged>> outcomes;
        std::vector<std::string> torn; // records a worker read cut short
        std::vector<Logged> failures;  // commands that failed
        size_t commands = 0, done = 0, refused = 0, refusedByTheRace = 0;
        size_t vanished = 0; // records deleted between a reload's listing and its reading
    };

    static void SetUpTestSuite() {
        run_ = new Run;
        support::testing::MakeFolders(run_->at.Doc());
        support::testing::MakeFolders(run_->at.Sync());
        {
            std::vector<support::testing::ChildProcess> workers;
            for (int w = 0; w < kWorkers; ++w)
                workers.emplace_back(
                    "ombriel_test_child",
                    std::vector<std::string>{"worker", support::Utf8FromPath(run_->at.root),
                                             std::to_string(w), std::to_string(kWorkers),
                                             std::to_string(kRounds)});
            for (int w = 0; w < kWorkers; ++w)
                run_->ends.push_back(workers[w].Wait());
        }
        for (int w = 0; w < kWorkers; ++w) {
            for (const Logged& line : ReadLog(run_->at, w)) {
                if (line.what == "torn") {
                    run_->torn.push_back(line.name);
                    continue;
                }
                if (line.what == "vanished") {
                    ++run_->vanished;
                    continue;
                }
                run_->outcomes[{line.what, line.name}].push_back(line);
                ++run_->commands;
                run_->done += line.verdict == "done";
                run_->refused += line.verdict.rfind("duplicate", 0) == 0;
                run_->refusedByTheRace += line.verdict == "duplicate race";
                if (line.verdict.rfind("failed", 0) == 0)
                    run_->failures.push_back(line);
            }
        }
    }
    static void TearDownTestSuite() {
        delete run_;
        run_ = nullptr;
    }

    static std::vector<std::string> Verdicts(const std::string& what, const std::string& name) {
        std::vector<std::string> found;
        for (const Logged& line : run_->outcomes[{what, name}])
            found.push_back(line.verdict);
        return found;
    }

    static Run* run_;
};

SharedRegister::Run* SharedRegister::run_ = nullptr;

TEST_F(SharedRegister, EveryWorkerGetsThroughAndNoCommandFailsOrReadsARecordCutShort) {
    for (int w = 0; w < kWorkers; ++w) {
        EXPECT_FALSE(run_->ends[w].killed);
        EXPECT_EQ(run_->ends[w].exitCode, 0) << "worker " << w << " did not get through";
    }
    for (const std::string& name : run_->torn)
        ADD_FAILURE() << "a worker read " << name << " cut short";
    for (const Logged& line : run_->failures)
        ADD_FAILURE() << "worker " << line.worker << ": " << line.what << " " << line.name << " "
                      << line.verdict;
    const size_t failed = run_->failures.size();
    EXPECT_EQ(run_->commands, run_->done + run_->refused + failed)
        << "a command neither did its work nor failed";
    std::cout << "[ shared   ] " << kWorkers << " processes, " << kRounds
              << " rounds: " << run_->commands << " commands, " << run_->done << " done, "
              << run_->refused << " refused as duplicates (" << run_->refusedByTheRace
              << " when creating the record), " << failed << " failed; " << run_->vanished
              << " records deleted while a reload read the list\n";
}

TEST_F(SharedRegister, EveryRecordReadsWholeAndTheListHoldsExactlyTheEntriesLeft) {
    const wl::Folders& at = run_->at;
    std::set<std::string> listed;
    for (const RecordEntry& entry : LoadRecords(SystemPlatform(), at.Doc())) {
        EXPECT_FALSE(entry.error.Failed()) << entry.fileName << " does not read whole";
        listed.insert(entry.key);
    }
    std::set<std::string> expected;
    for (int w = 0; w < kWorkers; ++w)
        expected.insert(wl::OwnName(w, kRounds));
    for (int r = 1; r <= kRounds; ++r)
        expected.insert(wl::CommonName(r));
    EXPECT_EQ(listed, expected);
    for (const auto& item : std::filesystem::directory_iterator(at.Doc())) {
        const std::string name = support::Utf8FromPath(item.path().filename());
        EXPECT_FALSE(name.ends_with(kTemporarySuffix)) << "left behind: " << name;
    }
}

TEST_F(SharedRegister, EachProcessesOwnEntriesAreAddedModifiedAndDeletedARoundLater) {
    const wl::Folders& at = run_->at;
    for (int w = 0; w < kWorkers; ++w) {
        for (int r = 1; r <= kRounds; ++r) {
            const std::string name = wl::OwnName(w, r);
            SCOPED_TRACE(name);
            EXPECT_EQ(Verdicts("add-own", name), std::vector<std::string>{"done"});
            EXPECT_EQ(Verdicts("modify-own", name), std::vector<std::string>{"done"});
            EXPECT_EQ(Content(at.Sources(w) / name), std::nullopt) << "not moved into Doc";
            const auto record = Content(at.Doc() / (name + ".dat"));
            const auto document = Content(at.Doc() / name);
            if (r < kRounds) {
                EXPECT_EQ(Verdicts("delete-own", name), std::vector<std::string>{"done"});
                EXPECT_EQ(record, std::nullopt);
                EXPECT_EQ(document, std::nullopt);
            } else {
                EXPECT_EQ(record, FormatRecord({"", wl::ModifiedText(w, r)}));
                EXPECT_EQ(document, wl::OwnContent(w, r));
            }
        }
    }
}

// The common names: one add wins, every other is refused with the duplicate
// box; nobody's document is lost or overwritten.
TEST_F(SharedRegister, OfTheAddsOfOneNameExactlyOneWinsAndNoDocumentIsLost) {
    const wl::Folders& at = run_->at;
    for (int r = 1; r <= kRounds; ++r) {
        const std::string name = wl::CommonName(r);
        SCOPED_TRACE(name);
        int winner = -1;
        int refusals = 0;
        for (const Logged& line : run_->outcomes[{"add-common", name}]) {
            if (line.verdict == "done") {
                EXPECT_EQ(winner, -1) << "two adds of one name both won";
                winner = line.worker;
            } else {
                EXPECT_EQ(line.verdict.rfind("duplicate", 0), 0u) << line.verdict;
                ++refusals;
            }
        }
        ASSERT_NE(winner, -1) << "no add of the name won";
        EXPECT_EQ(refusals, kWorkers - 1);
        std::set<std::string> descriptions;
        for (int w = 0; w < kWorkers; ++w)
            descriptions.insert(wl::ModifiedText(w, r));
        EXPECT_EQ(Verdicts("modify-common", name), std::vector<std::string>(kWorkers, "done"));

        RecordFields fields;
        EXPECT_FALSE(ReadRecordFile(SystemPlatform(), at.Doc() / (name + ".dat"), fields));
        EXPECT_EQ(descriptions.count(fields.description), 1u)
            << "description of no modify: " << fields.description;
        if (wl::CommonIsFile(r)) {
            EXPECT_EQ(fields.target, "");
            EXPECT_EQ(Content(at.Doc() / name), wl::CommonContent(winner, r));
            for (int w = 0; w < kWorkers; ++w)
                EXPECT_EQ(Content(at.Sources(w) / name),
                          w == winner ? std::nullopt
                                      : std::optional<std::string>(wl::CommonContent(w, r)))
                    << "worker " << w << "'s document";
        } else {
            EXPECT_EQ(fields.target, wl::CommonLinkTarget(winner, r));
            EXPECT_FALSE(std::filesystem::exists(at.Doc() / name));
        }
    }
}

} // namespace
} // namespace ombriel
