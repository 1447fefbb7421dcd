#pragma once
// Arithmetic modulo the CRC-32 generator, in the reflected bit order of the
// register (bit 31 is x^0, bit 0 is x^31). Joining partial checksums and the
// folding constants of the carry-less paths are both powers of x modulo the
// generator, worked out here when the program is compiled.
#include <cstdint>

namespace zelbrin::crc32_gf2 {

inline constexpr uint32_t kReflectedPolynomial = 0xEDB88320u;

// Product of two polynomials modulo the generator.
constexpr uint32_t MultiplyModP(uint32_t a, uint32_t b) {
    uint32_t product = 0;
    for (uint32_t m = 1u << 31; m != 0; m >>= 1) {
        if (a & m)
            product ^= b;
        b = (b & 1) ? (b >> 1) ^ kReflectedPolynomial : b >> 1;
    }
    return product;
}

// x^bits modulo the generator.
constexpr uint32_t XPowerModP(uint64_t bits) {
    uint32_t result = 1u << 31; // x^0
    uint32_t power = 1u << 30;  // x^1
    for (; bits != 0; bits >>= 1) {
        if (bits & 1)
            result = MultiplyModP(result, power);
        power = MultiplyModP(power, power);
    }
    return result;
}

// What running a register over that many zero bytes multiplies it by.
constexpr uint32_t ZeroBytesOperator(uint64_t bytes) {
    return XPowerModP(8 * bytes);
}

} // namespace zelbrin::crc32_gf2
