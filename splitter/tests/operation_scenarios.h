#pragma once
// Split by each method and join with and without a checksum file, each as
// one scenario the crash tests run over and over: laid out afresh in a
// folder, run in a helper process that dies at a chosen file step, then
// checked and run again. The helper program and the tests share this table,
// so both run the same operation with the same dialog answers.
#include "core/checksum/crc32.h"
#include "core/join/join_engine.h"
#include "core/operation_ui.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"
#include "test_batch_templates.h"
#include "test_data.h"

#include "support/testing/files.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zelbrin::testing {

// The dialog of an operation nobody watches: every question answered Yes,
// the batch file wanted, the messages kept.
struct QuietDialog : OperationUi {
    OperationInputs inputs;
    std::vector<int> messages;

    OperationInputs ReadInputs() override { return inputs; }
    bool BatchFileWanted() override { return true; }
    std::string Text(int stringId) override { return TestBatchText(stringId).value_or(""); }
    void SetBusy(bool) override {}
    void ShowMessage(int stringId) override { messages.push_back(stringId); }
    void ShowFailure(int stringId, const std::filesystem::path&, int) override {
        messages.push_back(stringId);
    }
    bool Confirm(const std::string&) override { return true; }
    void SetProgressRange(uint64_t, uint64_t) override {}
    void SetProgressPos(uint64_t) override {}
    void MoveFocus(FocusTarget) override {}
    bool StopRequested() override { return false; } // only a crash ends it early
};

// Where one run's files lie: what the operation reads in In, what it
// writes in Out.
struct OperationLayout {
    std::filesystem::path root;
    std::filesystem::path In() const { return root / "in"; }
    std::filesystem::path Out() const { return root / "out"; }
};

// The file a split cuts, with a keyword to cut after twice inside it.
inline const std::string kSplitKeyword = "TAGLIA";
inline std::string SplitSource() {
    return Pattern(700) + kSplitKeyword + Pattern(900) + kSplitKeyword + Pattern(400);
}
// The pieces a join puts together; the first takes three copy blocks, so a
// join can also die halfway through a piece.
inline std::vector<std::string> JoinPieces() {
    return {RandomBytes(2 * kJoinCopyBlock + 1000, 1), RandomBytes(1000, 2), RandomBytes(321, 3)};
}

struct OperationScenario {
    std::string name;
    bool join = false;
    bool checksumFile = false; // a join with report_doc.CRC beside its pieces
    int32_t splitMode = ByPieces;
    std::string value;
    // The fewest file steps the operation takes: fewer crash points mean the
    // file layer does not pass the crash hook.
    uint64_t leastSteps = 1;

    // Lays out what the operation reads; Out is there and empty.
    void Prepare(const OperationLayout& at) const {
        support::testing::MakeFolders(at.Out());
        if (!join) {
            support::testing::WriteBytes(at.In() / "data.txt", SplitSource());
            return;
        }
        const std::vector<std::string> pieces = JoinPieces();
        std::string whole;
        for (size_t n = 0; n < pieces.size(); ++n) {
            support::testing::WriteBytes(at.In() / ("report_doc." + std::to_string(n + 1)),
                                         pieces[n]);
            whole += pieces[n];
        }
        if (checksumFile)
            support::testing::WriteBytes(at.In() / "report_doc.CRC",
                                         LittleEndian(Crc32Of(whole.data(), whole.size())));
    }

    // Runs the operation as the dialog would start it; the messages shown.
    std::vector<int> Run(const OperationLayout& at) const {
        QuietDialog dialog;
        dialog.inputs.operationMode = join ? OpJoin : OpSplit;
        dialog.inputs.source = join ? at.In() / "report_doc.1" : at.In() / "data.txt";
        dialog.inputs.target = at.Out();
        dialog.inputs.splitMode = splitMode;
        dialog.inputs.value = value;
        dialog.inputs.unit = SizeUnit::Bytes;
        dialog.inputs.crcCheck = true;
        if (join)
            JoinFiles(dialog);
        else
            SplitFile(dialog);
        return dialog.messages;
    }
    int Success() const { return join ? IDS_JOIN_SUCCEEDED : IDS_SPLIT_SUCCEEDED; }
};

inline std::vector<OperationScenario> OperationScenarios() {
    // Three pieces (each created, then written), the checksum file and
    // JOIN.BAT (each created, then written).
    const auto split = [](std::string name, SplitModeValue mode, std::string value) {
        OperationScenario s;
        s.name = std::move(name);
        s.splitMode = mode;
        s.value = std::move(value);
        s.leastSteps = 10;
        return s;
    };
    // The joined file created, then a write per piece.
    const auto join = [](std::string name, bool checksumFile) {
        OperationScenario s;
        s.name = std::move(name);
        s.join = true;
        s.checksumFile = checksumFile;
        s.leastSteps = 4;
        return s;
    };
    return {split("split-by-pieces", ByPieces, "3"), split("split-by-size", BySize, "1000"),
            split("split-by-keyword", ByKeyword, kSplitKeyword), join("join-with-crc", true),
            join("join-without-crc", false)};
}

} // namespace zelbrin::testing
