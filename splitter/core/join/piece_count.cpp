#include "core/join/piece_count.h"

namespace zelbrin {

PieceSet CountPieces(const JoinNames& names, const FileSizeProbe& sizeOf) {
    PieceSet set;
    while (const auto size = sizeOf(names.PiecePath(set.count + 1))) {
        ++set.count;
        set.totalBytes += *size;
    }
    return set;
}

} // namespace zelbrin
