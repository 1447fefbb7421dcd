#pragma once
// Counting the consecutive pieces of a set, from piece 1 up to the first gap.
#include "core/naming/piece_names.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace zelbrin {

struct PieceSet {
    uint64_t count = 0;      // pieces 1..count are present
    uint64_t totalBytes = 0; // their sizes added up
};

// The size of a file if one of that name exists, else nothing.
using FileSizeProbe = std::function<std::optional<uint64_t>(const std::filesystem::path&)>;

// Pieces after a gap are not part of the set: with 1, 2 and 4 present the
// count is 2.
PieceSet CountPieces(const JoinNames& names, const FileSizeProbe& sizeOf);

} // namespace zelbrin
