#include "core/checksum/crc32.h"

#include "core/checksum/crc32_fold.h"
#include "core/checksum/crc32_gf2.h"
#include "core/checksum/crc32_slicing.h"

#include <array>
#include <bit>
#include <cstring>

// The slicing path, which every processor can take, and the choice of path.
// (Where the processor multiplies without carries, crc32_fold_*.cpp go four
// to twelve times faster and leave only their short ends to these tables.)
//
// Speed: a byte-at-a-time loop waits for each lookup before it can start the
// next one, which caps it near half a gigabyte per second. Two independent
// tricks break that chain while keeping one table lookup per byte:
//  - slicing: sixteen tables, each the effect of one byte followed by k zero
//    bytes, let sixteen lookups for sixteen bytes run side by side;
//  - braiding: a long buffer is cut into several equal streams whose
//    checksums are computed in the same loop from independent registers and
//    joined at the end by shifting each partial register over the length of
//    the streams after it (a multiplication in GF(2) modulo the polynomial).
// The register is kept without its final complement, so the update is linear
// and the partial registers can simply be XORed together.

namespace zelbrin {
namespace {

using crc32_gf2::MultiplyModP;
using crc32_gf2::ZeroBytesOperator;

constexpr uint32_t kPolynomial = 0x04C11DB7u;
constexpr int kSlices = 16;
// Three streams measured fastest here: more of them run out of registers.
constexpr int kStreams = 3;
// Below this, cutting into streams costs more than it saves.
constexpr size_t kMinBraidLength = 2048;
// Streams that lie close together stay in the cache and the prefetcher's
// reach; a long buffer is therefore taken in groups of this many bytes per
// stream, whose joining operator is worked out once.
constexpr size_t kGroupStream = 32 * 1024;

constexpr uint32_t Reflect(uint32_t value, int bits) {
    uint32_t out = 0;
    for (int i = 0; i < bits; ++i) {
        if (value & (1u << i))
            out |= 1u << (bits - 1 - i);
    }
    return out;
}

using SliceTables = std::array<std::array<uint32_t, 256>, kSlices>;

// Table 0 is the byte-at-a-time table: entry i is i with its bits reversed,
// shifted through eight steps of the generator and reversed back (the table
// of the reflected polynomial). Table k is the effect of a byte followed by
// k zero bytes.
constexpr SliceTables MakeSlices() {
    SliceTables slice{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t v = Reflect(i, 8) << 24;
        for (int k = 0; k < 8; ++k)
            v = (v << 1) ^ ((v & 0x80000000u) ? kPolynomial : 0);
        slice[0][i] = Reflect(v, 32);
    }
    for (size_t k = 1; k < kSlices; ++k) {
        for (size_t i = 0; i < 256; ++i) {
            const uint32_t prev = slice[k - 1][i];
            slice[k][i] = (prev >> 8) ^ slice[0][prev & 0xFF];
        }
    }
    return slice;
}

constexpr SliceTables slice = MakeSlices();

constexpr uint32_t kGroupShift = ZeroBytesOperator(kGroupStream);

uint32_t Load32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// One 16-byte step: the register is folded into the first four bytes, then
// every byte is looked up in the table for its distance from the end.
inline uint32_t Step16(uint32_t reg, const unsigned char* p) {
    const uint32_t a = Load32(p) ^ reg;
    const uint32_t b = Load32(p + 4);
    const uint32_t c = Load32(p + 8);
    const uint32_t d = Load32(p + 12);
    return slice[15][a & 0xFF] ^ slice[14][(a >> 8) & 0xFF] ^ slice[13][(a >> 16) & 0xFF] ^
           slice[12][a >> 24] ^ slice[11][b & 0xFF] ^ slice[10][(b >> 8) & 0xFF] ^
           slice[9][(b >> 16) & 0xFF] ^ slice[8][b >> 24] ^ slice[7][c & 0xFF] ^
           slice[6][(c >> 8) & 0xFF] ^ slice[5][(c >> 16) & 0xFF] ^ slice[4][c >> 24] ^
           slice[3][d & 0xFF] ^ slice[2][(d >> 8) & 0xFF] ^ slice[1][(d >> 16) & 0xFF] ^
           slice[0][d >> 24];
}

uint32_t Slice16(uint32_t reg, const unsigned char* p, size_t length) {
    if constexpr (std::endian::native == std::endian::little) {
        for (; length >= 16; length -= 16, p += 16)
            reg = Step16(reg, p);
    }
    return Crc32UpdateBytewise(reg, p, length);
}

// Runs kStreams streams of streamLength bytes each (a multiple of 16) side
// by side and joins their registers; `shift` is ZeroBytesOperator(streamLength).
uint32_t BraidedGroup(uint32_t reg, const unsigned char* p, size_t streamLength, uint32_t shift) {
    uint32_t r[kStreams] = {reg};
    for (size_t done = 0; done < streamLength; done += 16) {
        for (int k = 0; k < kStreams; ++k)
            r[k] = Step16(r[k], p + k * streamLength + done);
    }
    reg = r[0];
    for (int k = 1; k < kStreams; ++k)
        reg = MultiplyModP(reg, shift) ^ r[k];
    return reg;
}

uint32_t Braided(uint32_t reg, const unsigned char* p, size_t length) {
    for (; length >= kStreams * kGroupStream; length -= kStreams * kGroupStream) {
        reg = BraidedGroup(reg, p, kGroupStream, kGroupShift);
        p += kStreams * kGroupStream;
    }
    if (length >= kMinBraidLength) {
        const size_t streamLength = length / (kStreams * 16) * 16;
        reg = BraidedGroup(reg, p, streamLength, ZeroBytesOperator(streamLength));
        p += kStreams * streamLength;
        length -= kStreams * streamLength;
    }
    return Slice16(reg, p, length);
}

} // namespace

uint32_t Crc32TableEntry(unsigned i) {
    return slice[0][i & 0xFF];
}

uint32_t Crc32UpdateBytewise(uint32_t reg, const void* bytes, size_t length) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length; ++i)
        reg = (reg >> 8) ^ slice[0][(reg ^ p[i]) & 0xFF];
    return reg;
}

uint32_t Crc32UpdateSlicing(uint32_t reg, const unsigned char* p, size_t length) {
    if (std::endian::native == std::endian::little && length >= kMinBraidLength)
        return Braided(reg, p, length);
    return Slice16(reg, p, length);
}

uint32_t Crc32Update16(uint32_t reg, const unsigned char* p) {
    if constexpr (std::endian::native == std::endian::little)
        return Step16(reg, p);
    return Crc32UpdateBytewise(reg, p, 16);
}

// The processor is asked once per path, on first use, and the answers never
// change: the processor does not change under a running program (and asking
// it is slow, a trap to the hypervisor on a virtual machine), so these are
// constants, not state.
const char* Crc32PathMissing(Crc32Path path) {
    switch (path) {
    case Crc32Path::Slicing:
        return nullptr;
    case Crc32Path::Pclmul: {
        static const bool has = CpuHasPclmulFolding();
        return has ? nullptr : "the processor has no PCLMULQDQ with SSE4.1";
    }
    case Crc32Path::Avx512: {
        static const bool has = CpuHasAvx512Folding();
        return has ? nullptr
                   : "the processor or the system offers no AVX-512 (F, VL) with VPCLMULQDQ";
    }
    }
    return "unknown path";
}

Crc32Path FastestCrc32Path() {
    static const Crc32Path fastest = [] {
        if (!Crc32PathMissing(Crc32Path::Avx512))
            return Crc32Path::Avx512;
        if (!Crc32PathMissing(Crc32Path::Pclmul))
            return Crc32Path::Pclmul;
        return Crc32Path::Slicing;
    }();
    return fastest;
}

const char* Crc32PathName(Crc32Path path) {
    switch (path) {
    case Crc32Path::Slicing:
        return "slicing";
    case Crc32Path::Pclmul:
        return "PCLMUL";
    case Crc32Path::Avx512:
        return "AVX-512";
    }
    return "?";
}

void Crc32::Update(const void* bytes, size_t length) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    switch (path_) {
    case Crc32Path::Avx512:
        reg_ = Crc32UpdateAvx512(reg_, p, length);
        break;
    case Crc32Path::Pclmul:
        reg_ = Crc32UpdatePclmul(reg_, p, length);
        break;
    case Crc32Path::Slicing:
        reg_ = Crc32UpdateSlicing(reg_, p, length);
        break;
    }
}

uint32_t Crc32Of(const void* bytes, size_t length) {
    Crc32 crc;
    crc.Update(bytes, length);
    return crc.Value();
}

} // namespace zelbrin
