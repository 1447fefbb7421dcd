#pragma once
// Cuts one source file into numbered pieces: by number of pieces, by size
// per piece, or after each occurrence of a keyword. All sizes and counts are
// 64-bit.
#include "core/operation_ui.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Piece data moves through one buffer of at most this many bytes.
inline constexpr size_t TransferChunk = 512000;

// The arithmetic of the piece-count and size-per-piece methods.
struct PiecePlan {
    uint64_t pieceCount = 0; // full pieces
    uint64_t pieceSize = 0;  // bytes in each full piece
    uint64_t remainder = 0;  // bytes that do not fill a full piece
};

// The number of pieces the last split wrote; the batch writer lists them.
extern uint64_t PiecesWritten;

// N pieces of equal size, the leftover bytes added to the last; none for N = 0.
std::optional<PiecePlan> PlanByPieces(uint64_t fileSize, uint64_t pieces);
// Pieces of S bytes and one smaller piece for the leftover; none when S is 0
// or not smaller than the file.
std::optional<PiecePlan> PlanBySize(uint64_t fileSize, uint64_t bytesPerPiece);

// How many files a plan writes, and the size of piece n (from 1).
uint64_t PieceFileCount(SplitModeValue mode, const PiecePlan& plan);
uint64_t PieceFileSize(SplitModeValue mode, const PiecePlan& plan, uint64_t n);

// The value edit read as a number the way the dialog reads it (an optional
// sign and digits, nothing else); nullopt for text that is no number, a
// negative number or one beyond 64 bits.
std::optional<uint64_t> ReadDialogNumber(const std::string& text);
// The size-per-piece value in bytes; nullopt when it is no number or its
// byte count does not fit in 64 bits.
std::optional<uint64_t> SizeValueInBytes(const std::string& text, SizeUnit unit);

// True if every character is 0 to 9 (an empty text counts as all digits).
bool IsAllDigits(const std::string& text);
// Replaces the last '.' by '_'; a text without a dot stays unchanged.
std::string ReplaceLastDot(std::string name);

// target folder + source file name with its last dot made an underscore.
std::filesystem::path MakePieceBase(const std::filesystem::path& source,
                                    const std::filesystem::path& target);
// base + "." + number, without leading zeros.
std::filesystem::path MakePieceName(const std::filesystem::path& base, uint64_t number);

// The split's Yes/No question for a plan.
std::string ConfirmSplitText(SplitModeValue mode, const PiecePlan& plan);

// Finds a keyword in a stream fed block by block, also across block edges
// and after zero bytes. Occurrences do not overlap.
class KeywordScanner {
public:
    explicit KeywordScanner(std::string keyword);
    // Appends to `ends` the stream offset just past each occurrence that
    // ends within these bytes.
    void Feed(const char* data, size_t size, std::vector<uint64_t>& ends);

private:
    std::string keyword_;
    std::vector<char> scratch_;
    size_t tailSize_ = 0;  // unmatched bytes kept at the front of scratch_
    uint64_t consumed_ = 0; // stream bytes fed so far
};

// The split operation, from reading the dialog to its final message.
void SplitFile(OperationUi& ui);
