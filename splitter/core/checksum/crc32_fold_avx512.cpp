// GCC 12's AVX-512 headers start many intrinsics from an "undefined" value
// that its own uninitialised-value warning then flags wherever they are
// inlined (fixed in later releases); the warning is off for this file only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "core/checksum/crc32_fold.h"
#include "core/checksum/crc32_fold_x86.h"
#include "core/checksum/crc32_slicing.h"

// The same folding as the PCLMULQDQ path, four 128-bit lanes at a time:
// VPCLMULQDQ multiplies each lane of a 64-byte register by its own pair of
// constants, and four such registers (256 bytes) are folded side by side.
// The registers are named one by one, never kept in an array, so nothing
// 64 bytes wide is ever put on the stack (a Windows build cannot count on
// the stack being aligned for it).

namespace zelbrin {

#if defined(__x86_64__)
namespace {
using namespace crc32_fold;

constexpr size_t kRound = 4 * 64;
// Below this the 128-bit path does as well.
constexpr size_t kMinLength = 4 * kRound;

// Worked out when the program is compiled, not on every call.
constexpr FoldPair kByRound = FoldBy(8 * kRound);
constexpr FoldPair kBy64 = FoldBy(512);
constexpr FoldPair kBy48 = FoldBy(384);
constexpr FoldPair kBy32 = FoldBy(256);
constexpr FoldPair kBy16 = FoldBy(128);

ZELBRIN_CRC_AVX512_TARGET inline __m512i Load512(const unsigned char* p) {
    return _mm512_loadu_si512(p);
}

ZELBRIN_CRC_AVX512_TARGET inline __m512i Constants512(FoldPair k) {
    return _mm512_broadcast_i32x4(Constants128(k));
}

// Each lane moved on by the constants' distance, XORed into `data`.
ZELBRIN_CRC_AVX512_TARGET inline __m512i Fold512(__m512i lanes, __m512i k, __m512i data) {
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(lanes, k, 0x00),
                                     _mm512_clmulepi64_epi128(lanes, k, 0x11), data, 0x96);
}
} // namespace

ZELBRIN_CRC_AVX512_TARGET uint32_t Crc32UpdateAvx512(uint32_t reg, const unsigned char* p,
                                                     size_t length) {
    if (length < kMinLength)
        return Crc32UpdatePclmul(reg, p, length);
    // Loads that never straddle a cache line: the bytes up to the next
    // 64-byte boundary go through the tables first.
    const size_t head = -reinterpret_cast<uintptr_t>(p) & 63;
    reg = Crc32UpdateSlicing(reg, p, head);
    p += head;
    length -= head;
    __m512i z0 = _mm512_xor_si512(Load512(p),
                                  _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg))));
    __m512i z1 = Load512(p + 64);
    __m512i z2 = Load512(p + 128);
    __m512i z3 = Load512(p + 192);
    p += kRound;
    length -= kRound;

    const __m512i byRound = Constants512(kByRound);
    for (; length >= kRound; length -= kRound, p += kRound) {
        z0 = Fold512(z0, byRound, Load512(p));
        z1 = Fold512(z1, byRound, Load512(p + 64));
        z2 = Fold512(z2, byRound, Load512(p + 128));
        z3 = Fold512(z3, byRound, Load512(p + 192));
    }

    const __m512i by64 = Constants512(kBy64);
    __m512i z = Fold512(z0, by64, z1);
    z = Fold512(z, by64, z2);
    z = Fold512(z, by64, z3);
    for (; length >= 64; length -= 64, p += 64)
        z = Fold512(z, by64, Load512(p));

    // The four lanes into the last one, then the whole blocks left.
    __m128i one = _mm512_extracti32x4_epi32(z, 3);
    one =
        _mm_ternarylogic_epi64(one, Fold128(_mm512_extracti32x4_epi32(z, 0), Constants128(kBy48)),
                               Fold128(_mm512_extracti32x4_epi32(z, 1), Constants128(kBy32)), 0x96);
    one = _mm_xor_si128(one, Fold128(_mm512_extracti32x4_epi32(z, 2), Constants128(kBy16)));
    // Done with the wide registers: clear their upper halves, or legacy SSE
    // code after this would pay for keeping them on some processors (the
    // Windows build of GCC does not add this by itself).
    _mm256_zeroupper();
    return FinishFold(one, p, length);
}
#else
uint32_t Crc32UpdateAvx512(uint32_t reg, const unsigned char* p, size_t length) {
    return Crc32UpdateSlicing(reg, p, length);
}
#endif

} // namespace zelbrin
