#pragma once
// Cuts one source file into numbered pieces: by number of pieces, by size
// per piece, or after each occurrence of a keyword; then writes the checksum
// file and JOIN.BAT when asked. The dialog's half checks, plans and asks;
// the work's half writes and returns how it ended. A split the user stops
// leaves none of the files it wrote.
#include "core/operation_ui.h"
#include "core/split/join_batch.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace zelbrin {

struct SplitResult {
    Ending ending;              // as the user was told
    uint64_t piecesWritten = 0; // pieces of a completed split, else 0
    // Every file a completed split wrote: its pieces, then the checksum file
    // and JOIN.BAT when it wrote them.
    std::vector<std::filesystem::path> files = {};
};

// The dialog's half: checks the inputs, opens the source, tests its size
// and the target drive's free space, plans and asks `confirm`. batch: the
// JOIN.BAT lines when a batch file is wanted.
Prepared PrepareSplit(const OperationInputs& in, const std::optional<BatchTemplates>& batch,
                      const Confirmation& confirm);

// The JOIN.BAT lines of the program's string table.
BatchTemplates LoadBatchTemplates(OperationUi& ui);

// The split operation, both halves on the calling thread, from reading the
// dialog to its final message.
SplitResult SplitFile(OperationUi& ui);

} // namespace zelbrin
