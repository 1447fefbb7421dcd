// Each command that changes the register, run in a helper process that is
// killed just before its first file step, then its second, and so on until a
// run gets through. After every kill the files must be what a fresh start of
// the program can use: records whole, old or new; every document where the
// user had it or listed in Doc; and the same command, run again, working.
#include "crash_scenarios.h"

#include "core/platform/temporary_name.h"
#include "core/records/record_list.h"
#include "support/testing/child_process.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace ombriel {
namespace testing {
// Names the scenario in gtest's messages.
void PrintTo(const CommandScenario& scenario, std::ostream* out) {
    *out << scenario.name;
}
} // namespace testing

namespace {

using support::testing::ReadBytes;
using support::testing::RunChild;
using support::testing::TempFolder;
using testing::CommandOutcome;
using testing::CommandScenario;
using testing::CrashLayout;
using testing::DocumentEnd;

// More steps than any command takes: a run that never gets through fails.
constexpr uint64_t kMostSteps = 200;

std::optional<std::string> Content(const std::filesystem::path& file) {
    if (!std::filesystem::exists(file))
        return std::nullopt;
    return ReadBytes(file);
}

std::filesystem::path RecordOf(const CrashLayout& at, const std::string& key) {
    return at.Doc() / support::PathFromUtf8(key + ".dat");
}

bool EndsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail.data(), tail.size()) == 0;
}

// What any start of the program may find, whenever the command died.
void ExpectUsableRegister(const CommandScenario& scenario, const CrashLayout& at) {
    // The list a fresh start shows: every record whole, none but the
    // scenario's (no temporary file is ever listed).
    for (const RecordEntry& entry : LoadRecords(SystemPlatform(), at.Doc())) {
        EXPECT_FALSE(entry.error.Failed()) << entry.fileName << " does not read whole";
        EXPECT_TRUE(std::any_of(scenario.records.begin(), scenario.records.end(),
                                [&](const auto& r) { return r.key == entry.key; }))
            << "listed: " << entry.fileName;
    }
    for (const auto& record : scenario.records) {
        const auto bytes = Content(RecordOf(at, record.key));
        EXPECT_TRUE(bytes == record.before(at) || bytes == record.after(at))
            << record.key
            << ".dat is neither the old nor the new record: " << bytes.value_or("(none)");
    }
    // A document in Doc is always listed: never one there unseen.
    for (const auto& item : std::filesystem::directory_iterator(at.Doc())) {
        const std::string name = support::Utf8FromPath(item.path().filename());
        if (EndsWith(name, ".dat") || EndsWith(name, kTemporarySuffix))
            continue;
        EXPECT_TRUE(std::filesystem::exists(RecordOf(at, name))) << name << " lies in Doc unseen";
    }
    for (const auto& document : scenario.documents) {
        const auto atHome = Content(document.home(at));
        const auto inDoc = Content(at.Doc() / support::PathFromUtf8(document.name));
        switch (document.end) {
        case DocumentEnd::Home:
            EXPECT_EQ(atHome, document.content) << document.name << " left its place";
            break;
        case DocumentEnd::Doc:
            // Two whole copies are allowed, a part of one under its name never.
            EXPECT_TRUE(atHome == document.content || inDoc == document.content)
                << document.name << " is lost";
            EXPECT_TRUE(!atHome || atHome == document.content) << document.name << " changed";
            EXPECT_TRUE(!inDoc || inDoc == document.content) << document.name << " in Doc is cut";
            break;
        case DocumentEnd::Gone:
            EXPECT_TRUE(!atHome || atHome == document.content) << document.name << " is cut";
            break;
        }
    }
    if (scenario.settingsBefore) {
        const auto bytes = Content(at.Settings());
        EXPECT_TRUE(bytes == scenario.settingsBefore || bytes == scenario.settingsAfter)
            << "Ombriel.ini is neither the old nor the new one: " << bytes.value_or("(none)");
    }
}

// The files once the command has done all its work.
void ExpectDone(const CommandScenario& scenario, const CrashLayout& at) {
    for (const RecordEntry& entry : LoadRecords(SystemPlatform(), at.Doc()))
        EXPECT_FALSE(entry.error.Failed()) << entry.fileName << " does not read whole";
    for (const auto& record : scenario.records)
        EXPECT_EQ(Content(RecordOf(at, record.key)), record.after(at)) << record.key << ".dat";
    for (const auto& document : scenario.documents) {
        const auto atHome = Content(document.home(at));
        switch (document.end) {
        case DocumentEnd::Home:
            EXPECT_EQ(atHome, document.content) << document.name;
            break;
        case DocumentEnd::Doc:
            EXPECT_EQ(atHome, std::nullopt) << document.name << " is still at its old place";
            EXPECT_EQ(Content(at.Doc() / support::PathFromUtf8(document.name)), document.content)
                << document.name;
            break;
        case DocumentEnd::Gone:
            EXPECT_EQ(atHome, std::nullopt) << document.name << " was not deleted";
            break;
        }
    }
    if (scenario.settingsAfter) {
        EXPECT_EQ(Content(at.Settings()), scenario.settingsAfter);
    }
}

std::vector<std::string> TemporaryFiles(const CrashLayout& at) {
    std::vector<std::string> found;
    for (const auto& item : std::filesystem::recursive_directory_iterator(at.root))
        if (EndsWith(support::Utf8FromPath(item.path().filename()), kTemporarySuffix))
            found.push_back(support::Utf8FromPath(item.path()));
    return found;
}

// Everything in Doc once the command is done: the documents and records of
// the scenario, nothing else (no temporary file of the killed run).
void ExpectDocHoldsOnlyEntries(const CommandScenario& scenario, const CrashLayout& at) {
    std::vector<std::string> expected, found;
    for (const auto& record : scenario.records)
        if (record.after(at))
            expected.push_back(record.key + ".dat");
    for (const auto& document : scenario.documents)
        if (document.end == DocumentEnd::Doc ||
            (document.end == DocumentEnd::Home && document.home(at).parent_path() == at.Doc()))
            expected.push_back(document.name);
    for (const auto& item : std::filesystem::directory_iterator(at.Doc()))
        found.push_back(support::Utf8FromPath(item.path().filename()));
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected);
}

// The user starts the program again and repeats the command. An add file
// whose record got written before the crash finishes its entry; an add link
// whose record got written is refused as a duplicate, touching nothing;
// anything else gets through, whatever the crash left behind (a leftover
// temporary file included).
void ExpectCommandWorksAgain(const CommandScenario& scenario, const CrashLayout& at) {
    bool recorded = false;
    for (const auto& record : scenario.records)
        recorded |= !record.before(at) && std::filesystem::exists(RecordOf(at, record.key));
    const CommandOutcome outcome = scenario.run(at);
    std::filesystem::current_path(at.root);
    if (scenario.finishesWhenRepeated) {
        EXPECT_TRUE(outcome.Clean()) << "the repeated add did not finish the entry";
        ExpectDone(scenario, at);
        ExpectDocHoldsOnlyEntries(scenario, at);
        return;
    }
    if (scenario.addsEntry && recorded) {
        EXPECT_TRUE(outcome.duplicate && !outcome.failed) << "the repeated add was not refused";
        ExpectUsableRegister(scenario, at);
        return;
    }
    // A repeated delete may find its document already gone, and says so.
    if (!scenario.deletesFile) {
        EXPECT_TRUE(outcome.Clean()) << "the repeated command failed";
    }
    ExpectDone(scenario, at);
}

class CrashPoints : public ::testing::TestWithParam<CommandScenario> {
  protected:
    TempFolder folder;
    void TearDown() override { std::filesystem::current_path(folder.Path().parent_path()); }
};

TEST_P(CrashPoints, NothingIsLostWheneverTheProgramDies) {
    const CommandScenario& scenario = GetParam();
    uint64_t points = 0;
    for (uint64_t step = 1;; ++step) {
        ASSERT_LT(step, kMostSteps) << "no run got through";
        SCOPED_TRACE("killed before file step " + std::to_string(step));
        // A folder name with a space and an accent: the helper's command
        // line must carry it whole.
        const CrashLayout at{folder / support::PathFromUtf8("passo è " + std::to_string(step))};
        scenario.Prepare(at);
        const auto end =
            RunChild("ombriel_test_child", {"command", scenario.name,
                                            support::Utf8FromPath(at.root), std::to_string(step)});
        if (!end.killed) {
            // The step was never reached: the command ran through.
            ASSERT_EQ(end.exitCode, 0) << "the command did not end as planned";
            ExpectDone(scenario, at);
            EXPECT_EQ(TemporaryFiles(at), std::vector<std::string>{});
            points = step - 1;
            break;
        }
        ExpectUsableRegister(scenario, at);
        ExpectCommandWorksAgain(scenario, at);
        if (HasFailure())
            return;
        std::filesystem::current_path(folder.Path());
        support::testing::RemoveTree(at.root);
    }
    EXPECT_GE(points, scenario.leastSteps) << "the crash hook is not passed";
    RecordProperty("crash_points", int(points));
    std::cout << "[ crash    ] " << scenario.name << ": " << points << " crash points\n";
}

INSTANTIATE_TEST_SUITE_P(Commands, CrashPoints, ::testing::ValuesIn(testing::CommandScenarios()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace ombriel
