// The split's value parsing and plans for any text and file size: the value
// reads as std::from_chars reads its digits, a size in KB or MB never wraps,
// and a plan's pieces add up to the file exactly.
#include "../fuzz_check.h"
#include "core/split/split_plan.h"

#include <charconv>
#include <cstring>

using namespace zelbrin;

namespace {
using u128 = unsigned __int128;

// An optional run of blanks, an optional sign, then digits only.
std::optional<uint64_t> ReferenceNumber(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(start);
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || (negative && value != 0))
        return std::nullopt;
    return value;
}

void CheckPlan(SplitModeValue mode, const PiecePlan& plan, uint64_t fileSize) {
    const uint64_t files = PieceFileCount(mode, plan);
    FUZZ_CHECK(files >= 1);
    const uint64_t first = PieceFileSize(mode, plan, 1);
    const uint64_t last = PieceFileSize(mode, plan, files);
    // Every piece but the last is a full one.
    FUZZ_CHECK(files == 1 || first == plan.pieceSize);
    FUZZ_CHECK(u128(files - 1) * plan.pieceSize + last == fileSize);
    const std::string question = ConfirmSplitText(mode, plan);
    FUZZ_CHECK(question.ends_with("\nShall I continue ?"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9)
        return 0;
    uint64_t fileSize = 0;
    std::memcpy(&fileSize, data, 8);
    const auto unit = static_cast<SizeUnit>(data[8] % 3);
    const std::string text(reinterpret_cast<const char*>(data + 9), size - 9);

    const auto number = ReadDialogNumber(text);
    FUZZ_CHECK(number == ReferenceNumber(text));
    FUZZ_CHECK(IsAllDigits(text) == (text.find_first_not_of("0123456789") == std::string::npos));

    const unsigned shift = unit == SizeUnit::MBs ? 20 : unit == SizeUnit::KBs ? 10 : 0;
    const auto bytes = SizeValueInBytes(text, unit);
    if (!number || (u128(*number) << shift) > UINT64_MAX)
        FUZZ_CHECK(!bytes);
    else
        FUZZ_CHECK(bytes && *bytes == uint64_t(u128(*number) << shift));

    if (number) {
        const auto plan = PlanByPieces(fileSize, *number);
        FUZZ_CHECK(plan.has_value() == (*number != 0));
        if (plan) {
            FUZZ_CHECK(PieceFileCount(ByPieces, *plan) == *number);
            CheckPlan(ByPieces, *plan, fileSize);
        }
    }
    if (bytes) {
        const auto plan = PlanBySize(fileSize, *bytes);
        FUZZ_CHECK(plan.has_value() == (*bytes != 0 && *bytes < fileSize));
        if (plan) {
            FUZZ_CHECK(plan->pieceSize == *bytes && plan->remainder < *bytes);
            CheckPlan(BySize, *plan, fileSize);
        }
    }
    return 0;
}
