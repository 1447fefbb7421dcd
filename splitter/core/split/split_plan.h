#pragma once
// The arithmetic of the piece-count and size-per-piece methods, the reading
// of the value the user typed, and the question a split asks before it
// writes. All sizes and counts are 64-bit.
#include "core/operation_ui.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zelbrin {

struct PiecePlan {
    uint64_t pieceCount = 0; // full pieces
    uint64_t pieceSize = 0;  // bytes in each full piece
    uint64_t remainder = 0;  // bytes that do not fill a full piece
};

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

// The split's Yes/No question for a plan.
std::string ConfirmSplitText(SplitModeValue mode, const PiecePlan& plan);

} // namespace zelbrin
