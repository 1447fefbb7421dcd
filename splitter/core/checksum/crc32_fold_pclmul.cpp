#include "core/checksum/crc32_fold.h"
#include "core/checksum/crc32_fold_x86.h"
#include "core/checksum/crc32_slicing.h"

// Eight blocks of sixteen bytes are folded side by side, so eight
// multiplications are in flight while each waits for its result; then the
// eight are folded into one, the remaining whole blocks into that one, and
// the last block and the tail go through the tables.

namespace zelbrin {

#if defined(__x86_64__)
namespace {
using namespace crc32_fold;

constexpr size_t kStreams = 8;
constexpr size_t kRound = kStreams * 16;
// Below this the set-up costs more than the tables would.
constexpr size_t kMinLength = 2 * kRound;

// Worked out when the program is compiled, not on every call.
constexpr FoldPair kByRound = FoldBy(8 * kRound);
struct StreamFolds {
    FoldPair toLast[kStreams - 1]; // stream i moved onto the last stream
};
constexpr StreamFolds MakeStreamFolds() {
    StreamFolds f{};
    for (size_t i = 0; i + 1 < kStreams; ++i)
        f.toLast[i] = FoldBy(128 * (kStreams - 1 - i));
    return f;
}
constexpr StreamFolds kStreamFolds = MakeStreamFolds();
} // namespace

ZELBRIN_CRC_PCLMUL_TARGET uint32_t Crc32UpdatePclmul(uint32_t reg, const unsigned char* p,
                                                     size_t length) {
    if (length < kMinLength)
        return Crc32UpdateSlicing(reg, p, length);
    // Loads that never straddle a cache line: the bytes up to the next
    // sixteen-byte boundary go through the tables first.
    const size_t head = -reinterpret_cast<uintptr_t>(p) & 15;
    reg = Crc32UpdateSlicing(reg, p, head);
    p += head;
    length -= head;
    __m128i x[kStreams];
    for (size_t i = 0; i < kStreams; ++i)
        x[i] = Load128(p + 16 * i);
    // The register enters as the first four bytes' XOR.
    x[0] = _mm_xor_si128(x[0], _mm_cvtsi32_si128(static_cast<int>(reg)));
    p += kRound;
    length -= kRound;

    const __m128i byRound = Constants128(kByRound);
    for (; length >= kRound; length -= kRound, p += kRound) {
        for (size_t i = 0; i < kStreams; ++i)
            x[i] = _mm_xor_si128(Fold128(x[i], byRound), Load128(p + 16 * i));
    }

    __m128i one = x[kStreams - 1];
    for (size_t i = 0; i + 1 < kStreams; ++i)
        one = _mm_xor_si128(one, Fold128(x[i], Constants128(kStreamFolds.toLast[i])));
    return FinishFold(one, p, length);
}
#else
uint32_t Crc32UpdatePclmul(uint32_t reg, const unsigned char* p, size_t length) {
    return Crc32UpdateSlicing(reg, p, length);
}
#endif

} // namespace zelbrin
