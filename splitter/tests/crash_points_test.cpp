// Split by each method and join with and without a checksum file, each run
// in a helper process that is killed just before its first file step, then
// its second, and so on until a run gets through. After every kill what the
// operation read must be as it was, and the same operation onto the same
// target must then work, whatever the dead one left there.
#include "operation_scenarios.h"

#include "support/testing/child_process.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>

namespace zelbrin {
namespace testing {
// Names the scenario in gtest's messages.
void PrintTo(const OperationScenario& scenario, std::ostream* out) {
    *out << scenario.name;
}
} // namespace testing

namespace {

using support::testing::ReadBytes;
using support::testing::TempFolder;
using testing::OperationLayout;
using testing::OperationScenario;

// More steps than any operation of the scenarios takes.
constexpr uint64_t kMostSteps = 200;

// Every file of a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        files[support::Utf8FromPath(item.path().filename())] = ReadBytes(item.path());
    return files;
}

// What a completed operation leaves in the target folder.
void ExpectDone(const OperationScenario& scenario, const OperationLayout& at) {
    if (scenario.join) {
        std::string whole;
        for (const std::string& piece : testing::JoinPieces())
            whole += piece;
        EXPECT_EQ(ReadBytes(at.Out() / "report.doc"), whole) << "the joined file";
        return;
    }
    const std::string source = testing::SplitSource();
    std::string joined;
    for (int n = 1; n <= 3; ++n)
        joined += ReadBytes(at.Out() / ("data_txt." + std::to_string(n)));
    EXPECT_EQ(joined, source) << "the pieces do not make the source";
    EXPECT_FALSE(std::filesystem::exists(at.Out() / "data_txt.4"));
    EXPECT_EQ(ReadBytes(at.Out() / "data_txt.CRC"),
              testing::LittleEndian(Crc32Of(source.data(), source.size())));
    EXPECT_NE(ReadBytes(at.Out() / "JOIN.BAT").find("data_txt.3"), std::string::npos);
}

class OperationCrashPoints : public ::testing::TestWithParam<OperationScenario> {
  protected:
    TempFolder folder;
};

TEST_P(OperationCrashPoints, SourceStaysAndTheOperationWorksAgain) {
    const OperationScenario& scenario = GetParam();
    uint64_t points = 0;
    for (uint64_t step = 1;; ++step) {
        ASSERT_LT(step, kMostSteps) << "no run got through";
        SCOPED_TRACE("killed before file step " + std::to_string(step));
        // A folder name with a space and an accent: the helper's command
        // line must carry it whole.
        const OperationLayout at{folder / support::PathFromUtf8("passo è " + std::to_string(step))};
        scenario.Prepare(at);
        const auto before = Snapshot(at.In());
        const auto end = support::testing::RunChild(
            "zelbrin_test_child",
            {scenario.name, support::Utf8FromPath(at.root), std::to_string(step)});
        if (!end.killed) {
            // The step was never reached: the operation ran through.
            ASSERT_EQ(end.exitCode, 0) << "the operation did not report success";
            ExpectDone(scenario, at);
            EXPECT_EQ(Snapshot(at.In()), before) << "the operation changed its source";
            points = step - 1;
            break;
        }
        EXPECT_EQ(Snapshot(at.In()), before) << "the operation changed its source";
        EXPECT_EQ(scenario.Run(at), std::vector<int>{scenario.Success()})
            << "the operation onto the same target failed after the crash";
        ExpectDone(scenario, at);
        EXPECT_EQ(Snapshot(at.In()), before) << "the repeated operation changed its source";
        if (HasFailure())
            return;
        support::testing::RemoveTree(at.root);
    }
    EXPECT_GE(points, scenario.leastSteps) << "the crash hook is not passed";
    RecordProperty("crash_points", int(points));
    std::cout << "[ crash    ] " << scenario.name << ": " << points << " crash points\n";
}

INSTANTIATE_TEST_SUITE_P(Operations, OperationCrashPoints,
                         ::testing::ValuesIn(testing::OperationScenarios()), [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace zelbrin
