#pragma once
// Cuts one source file into numbered pieces: by number of pieces, by size
// per piece, or after each occurrence of a keyword; then writes the checksum
// file and JOIN.BAT when asked. Every outcome reaches the user through the
// OperationUi. A split the user stops leaves none of the files it wrote.
#include "core/operation_ui.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zelbrin {

struct SplitResult {
    Ending ending;              // as the user was told
    uint64_t piecesWritten = 0; // pieces of a completed split, else 0
    // Every file a completed split wrote: its pieces, then the checksum file
    // and JOIN.BAT when it wrote them.
    std::vector<std::filesystem::path> files = {};
};

// The split operation, from reading the dialog to its final message.
SplitResult SplitFile(OperationUi& ui);

} // namespace zelbrin
