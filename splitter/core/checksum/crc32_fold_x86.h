#pragma once
// What the two carry-less paths share on x86-64: the target attributes that
// let the intrinsics build into a program meant for any x86-64 (the code
// runs only after the processor was asked), and the 128-bit fold.
//
// The register's bits are reflected: in a 16-byte block loaded little-endian,
// bit j stands for x^(127 - j), so the low 64-bit half holds the high
// powers. Moving a block D bits further on multiplies it by x^D; cut into
// halves that is high * x^(D+64) + low * x^D, and each half is multiplied
// by a 32-bit remainder instead of the full power. A reflected carry-less
// product of a 64-bit half and a 33-bit constant lands 32 places lower, so
// the constants are x^(D+32) and x^(D-32) modulo the generator, shifted to
// 33 bits. The result (at most 95 bits) stands where the block D bits on
// does, and is XORed into it.
#include "core/checksum/crc32_gf2.h"
#include "core/checksum/crc32_slicing.h"

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>

#define ZELBRIN_CRC_PCLMUL_TARGET __attribute__((target("pclmul,sse4.1")))
#define ZELBRIN_CRC_AVX512_TARGET                                                                  \
    __attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul,sse4.1")))

namespace zelbrin::crc32_fold {

// x^bits modulo the generator as a 33-bit reflected constant.
constexpr uint64_t Remainder33(uint64_t bits) {
    return uint64_t{crc32_gf2::XPowerModP(bits)} << 1;
}

// The pair of constants that moves a 16-byte block `bits` further on: the
// one for the low half (the high powers) in the low 64 bits.
struct FoldPair {
    uint64_t low, high;
};
constexpr FoldPair FoldBy(uint64_t bits) {
    return {Remainder33(bits + 32), Remainder33(bits - 32)};
}

ZELBRIN_CRC_PCLMUL_TARGET inline __m128i Load128(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

ZELBRIN_CRC_PCLMUL_TARGET inline __m128i Constants128(FoldPair k) {
    return _mm_set_epi64x(static_cast<long long>(k.high), static_cast<long long>(k.low));
}

// The block moved on by the distance the constants stand for.
ZELBRIN_CRC_PCLMUL_TARGET inline __m128i Fold128(__m128i block, __m128i k) {
    return _mm_xor_si128(_mm_clmulepi64_si128(block, k, 0x00),
                         _mm_clmulepi64_si128(block, k, 0x11));
}

// The whole blocks left folded into `one`, then its register. What is left
// is congruent to the data folded so far, standing where its last sixteen
// bytes stood: its register from zero is the register, and the tail under
// sixteen bytes goes through the tables.
ZELBRIN_CRC_PCLMUL_TARGET inline uint32_t FinishFold(__m128i one, const unsigned char* p,
                                                     size_t length) {
    constexpr FoldPair kByBlock = FoldBy(128);
    const __m128i byBlock = Constants128(kByBlock);
    for (; length >= 16; length -= 16, p += 16)
        one = _mm_xor_si128(Fold128(one, byBlock), Load128(p));
    unsigned char last[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(last), one);
    return Crc32UpdateSlicing(Crc32Update16(0, last), p, length);
}

} // namespace zelbrin::crc32_fold
#endif
