// The helper program of the register's crash and shared-register tests.
//
//   ombriel_test_child command <scenario> <folder> <crash step>
//     runs one command of crash_scenarios.h on the files laid out in folder;
//     with a crash step n > 0 the process dies as a kill would end it just
//     before the nth step that changes a file. Exit code 0: the command ran
//     to its end with no failure and no refusal; 1: it ran to its end but
//     told the user of a failure or refused.
//
//   ombriel_test_child hold <file> <ready> <release>
//     opens file as a writer that is still filling it, writes ready, and
//     keeps the file open until release appears. Exit code 0 then.
//
//   ombriel_test_child worker <folder> <worker> <workers> <rounds>
//     runs the shared-register workload as PC number worker. Exit code 0:
//     the workload ran through (each command's outcome is in its log).
#include "crash_scenarios.h"
#include "hold_file.h"
#include "shared_register_workload.h"

#include "support/crash_point.h"
#include "support/testing/child_process.h"

#include <cstdio>

namespace {

using namespace ombriel::testing;

int RunCommand(const std::string& name, const std::filesystem::path& folder, uint64_t crashAt) {
    for (const CommandScenario& scenario : CommandScenarios()) {
        if (scenario.name != name)
            continue;
        if (crashAt > 0)
            support::ArmCrashPoint(crashAt, support::testing::KillThisProcess);
        return scenario.run(CrashLayout{folder}).Clean() ? 0 : 1;
    }
    std::fprintf(stderr, "no scenario %s\n", name.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = support::testing::ProgramArguments(argc, argv);
    if (args.size() == 4 && args[0] == "command")
        return RunCommand(args[1], support::PathFromUtf8(args[2]), std::stoull(args[3]));
    if (args.size() == 4 && args[0] == "hold")
        return HoldAsWriter(support::PathFromUtf8(args[1]), support::PathFromUtf8(args[2]),
                            support::PathFromUtf8(args[3]))
                   ? 0
                   : 1;
    if (args.size() == 5 && args[0] == "worker") {
        workload::Worker worker(workload::Folders{support::PathFromUtf8(args[1])},
                                std::stoi(args[2]), std::stoi(args[3]));
        return worker.Run(std::stoi(args[4])) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: ombriel_test_child command <scenario> <folder> <crash step>\n"
                         "       ombriel_test_child worker <folder> <worker> <workers> <rounds>\n");
    return 2;
}
