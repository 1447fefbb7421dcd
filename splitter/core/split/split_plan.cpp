#include "core/split/split_plan.h"

#include <algorithm>
#include <limits>

namespace zelbrin {

std::optional<PiecePlan> PlanByPieces(uint64_t fileSize, uint64_t pieces) {
    if (pieces == 0)
        return std::nullopt;
    return PiecePlan{pieces, fileSize / pieces, fileSize % pieces};
}

std::optional<PiecePlan> PlanBySize(uint64_t fileSize, uint64_t bytesPerPiece) {
    if (bytesPerPiece == 0 || bytesPerPiece >= fileSize)
        return std::nullopt;
    return PiecePlan{fileSize / bytesPerPiece, bytesPerPiece, fileSize % bytesPerPiece};
}

uint64_t PieceFileCount(SplitModeValue mode, const PiecePlan& plan) {
    if (mode == BySize && plan.remainder != 0)
        return plan.pieceCount + 1;
    return plan.pieceCount;
}

uint64_t PieceFileSize(SplitModeValue mode, const PiecePlan& plan, uint64_t n) {
    if (mode == ByPieces)
        return n == plan.pieceCount ? plan.pieceSize + plan.remainder : plan.pieceSize;
    return n > plan.pieceCount ? plan.remainder : plan.pieceSize;
}

std::optional<uint64_t> ReadDialogNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

std::optional<uint64_t> SizeValueInBytes(const std::string& text, SizeUnit unit) {
    const auto value = ReadDialogNumber(text);
    if (!value)
        return std::nullopt;
    const unsigned shift = unit == SizeUnit::MBs ? 20 : unit == SizeUnit::KBs ? 10 : 0;
    if (*value > (std::numeric_limits<uint64_t>::max() >> shift))
        return std::nullopt;
    return *value << shift;
}

bool IsAllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string ConfirmSplitText(SplitModeValue mode, const PiecePlan& plan) {
    const auto n = [](uint64_t v) { return std::to_string(v); };
    if (mode == BySize)
        return "File will be split into " + n(PieceFileCount(mode, plan)) +
               " pieces\nShall I continue ?";
    if (plan.remainder == 0)
        return "File will be split into " + n(plan.pieceCount) + " pieces of size " +
               n(plan.pieceSize) + " bytes\nShall I continue ?";
    return "File will be split into " + n(plan.pieceCount - 1) + " pieces of size " +
           n(plan.pieceSize) + " bytes and 1 piece of size " + n(plan.pieceSize + plan.remainder) +
           " bytes\nShall I continue ?";
}

} // namespace zelbrin
