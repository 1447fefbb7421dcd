#pragma once
// Moving the source's bytes into piece files: by a plan of sizes, or cut
// after each occurrence of a keyword. The source is read strictly in order,
// once, through one buffer of at most TransferChunk bytes, and the checksum
// of each block is computed between its reading and its writing. A stop the user asks for is
// honoured before each block: every piece this run wrote is removed again.
#include "core/files/file_io.h"
#include "core/operation_ui.h"
#include "core/split/split_plan.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelbrin {

// Piece data moves through one buffer of at most this many bytes.
inline constexpr size_t TransferChunk = 512000;

// The one buffer every block of a split passes through; the checksum of a
// block is computed in it, between reading and writing, while it is still in
// the cache.
class TransferBuffers {
  public:
    explicit TransferBuffers(size_t size) : bytes_(size) {}
    size_t Size() const { return bytes_.size(); }
    char* Data() { return bytes_.data(); }

  private:
    std::vector<char> bytes_;
};

// What writing the pieces came to.
struct PiecesResult {
    Ending failure;                                // message 0: every piece was written whole
    std::vector<std::filesystem::path> files = {}; // the pieces written, in order
    uint32_t crc = 0;                              // the source's CRC-32, when it was asked for
};

// Where a split reads from and writes to.
struct PieceSource {
    File& file;
    std::filesystem::path path;
    uint64_t size = 0;
};

PiecesResult WritePlannedPieces(WorkProgress& ui, PieceSource& source, SplitModeValue mode,
                                const PiecePlan& plan, TransferBuffers& buffers,
                                const std::filesystem::path& base, bool crcCheck);

// First pass: is there any occurrence at all? Nothing is written before that
// is known. Reads the source through and back to its start; a failure ends
// with its message.
Ending KeywordOccurs(WorkProgress& ui, PieceSource& source, const std::string& keyword,
                     TransferBuffers& buffers, bool& found);

// A piece is created only when it has a byte to hold, so no piece is empty
// and a file ending with the keyword ends with the piece holding it.
PiecesResult WriteKeywordPieces(WorkProgress& ui, PieceSource& source, const std::string& keyword,
                                TransferBuffers& buffers, const std::filesystem::path& base,
                                bool crcCheck);

} // namespace zelbrin
