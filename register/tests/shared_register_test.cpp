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

TEST(SharedRegister, CommandsOfSeveralProcessesAtOnceLoseNothingAndOneAddOfANameWins) {
    TempFolder folder;
    const wl::Folders at{folder.Path()};
    support::testing::MakeFolders(at.Doc());
    support::testing::MakeFolders(at.Sync());
    {
        std::vector<support::testing::ChildProcess> workers;
        for (int w = 0; w < kWorkers; ++w)
            workers.emplace_back("ombriel_test_child",
                                 std::vector<std::string>{
                                     "worker", support::Utf8FromPath(at.root), std::to_string(w),
                                     std::to_string(kWorkers), std::to_string(kRounds)});
        for (int w = 0; w < kWorkers; ++w) {
            const auto end = workers[w].Wait();
            EXPECT_FALSE(end.killed);
            EXPECT_EQ(end.exitCode, 0) << "worker " << w << " did not get through";
        }
    }

    // What each command came to, by command and name.
    std::map<std::pair<std::string, std::string>, std::vector<Logged>> outcomes;
    size_t commands = 0, done = 0, refused = 0, refusedByTheRace = 0, failed = 0;
    size_t vanished = 0; // records deleted between a reload's listing and its reading
    for (int w = 0; w < kWorkers; ++w) {
        for (const Logged& line : ReadLog(at, w)) {
            if (line.what == "torn") {
                ADD_FAILURE() << "worker " << w << " read " << line.name << " cut short";
                continue;
            }
            if (line.what == "vanished") {
                ++vanished;
                continue;
            }
            outcomes[{line.what, line.name}].push_back(line);
            ++commands;
            done += line.verdict == "done";
            refused += line.verdict.rfind("duplicate", 0) == 0;
            refusedByTheRace += line.verdict == "duplicate race";
            if (line.verdict.rfind("failed", 0) == 0) {
                ++failed;
                ADD_FAILURE() << "worker " << w << ": " << line.what << " " << line.name << " "
                              << line.verdict;
            }
        }
    }
    const auto verdicts = [&](const std::string& what, const std::string& name) {
        std::vector<std::string> found;
        for (const Logged& line : outcomes[{what, name}])
            found.push_back(line.verdict);
        return found;
    };

    // Every record reads whole, and the list holds exactly the entries left.
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

    // Each process's own entries: added, modified, and deleted a round later.
    for (int w = 0; w < kWorkers; ++w) {
        for (int r = 1; r <= kRounds; ++r) {
            const std::string name = wl::OwnName(w, r);
            SCOPED_TRACE(name);
            EXPECT_EQ(verdicts("add-own", name), std::vector<std::string>{"done"});
            EXPECT_EQ(verdicts("modify-own", name), std::vector<std::string>{"done"});
            EXPECT_EQ(Content(at.Sources(w) / name), std::nullopt) << "not moved into Doc";
            const auto record = Content(at.Doc() / (name + ".dat"));
            const auto document = Content(at.Doc() / name);
            if (r < kRounds) {
                EXPECT_EQ(verdicts("delete-own", name), std::vector<std::string>{"done"});
                EXPECT_EQ(record, std::nullopt);
                EXPECT_EQ(document, std::nullopt);
            } else {
                EXPECT_EQ(record, FormatRecord({"", wl::ModifiedText(w, r)}));
                EXPECT_EQ(document, wl::OwnContent(w, r));
            }
        }
    }

    // The common names: one add wins, every other is refused with the
    // duplicate box; nobody's document is lost or overwritten.
    for (int r = 1; r <= kRounds; ++r) {
        const std::string name = wl::CommonName(r);
        SCOPED_TRACE(name);
        int winner = -1;
        int refusals = 0;
        for (const Logged& line : outcomes[{"add-common", name}]) {
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
        EXPECT_EQ(verdicts("modify-common", name), std::vector<std::string>(kWorkers, "done"));

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

    EXPECT_EQ(commands, done + refused + failed) << "a command neither did its work nor failed";
    std::cout << "[ shared   ] " << kWorkers << " processes, " << kRounds << " rounds: " << commands
              << " commands, " << done << " done, " << refused << " refused as duplicates ("
              << refusedByTheRace << " when creating the record), " << failed << " failed; "
              << vanished << " records deleted while a reload read the list\n";
}

} // namespace
} // namespace ombriel
