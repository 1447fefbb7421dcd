// The helper program of the splitter's crash tests.
//
//   zelbrin_test_child <scenario> <folder> <crash step>
//     runs one operation of operation_scenarios.h on the files laid out in
//     folder; with a crash step n > 0 the process dies as a kill would end
//     it just before the nth step that changes a file. Exit code 0: the
//     operation ran to its end and reported success; 1: it ended otherwise.
#include "operation_scenarios.h"

#include "support/crash_point.h"
#include "support/testing/child_process.h"
#include "support/text.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace zelbrin::testing;
    const std::vector<std::string> args = support::testing::ProgramArguments(argc, argv);
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: zelbrin_test_child <scenario> <folder> <crash step>\n");
        return 2;
    }
    for (const OperationScenario& scenario : OperationScenarios()) {
        if (scenario.name != args[0])
            continue;
        if (const uint64_t crashAt = std::stoull(args[2]); crashAt > 0)
            support::ArmCrashPoint(crashAt, support::testing::KillThisProcess);
        const std::vector<int> messages =
            scenario.Run(OperationLayout{support::PathFromUtf8(args[1])});
        return messages == std::vector<int>{scenario.Success()} ? 0 : 1;
    }
    std::fprintf(stderr, "no scenario %s\n", args[0].c_str());
    return 2;
}
