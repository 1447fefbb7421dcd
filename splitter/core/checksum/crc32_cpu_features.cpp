#include "core/checksum/crc32_fold.h"

// Asked of the processor each time; callers keep the answer (see
// FastestCrc32Path), so nothing here is state.

#if defined(__x86_64__)
#include <cpuid.h>

namespace zelbrin {
namespace {

struct Leaf {
    unsigned a = 0, b = 0, c = 0, d = 0;
    bool ok = false;
};

Leaf Cpuid(unsigned leaf, unsigned subleaf) {
    Leaf r;
    r.ok = __get_cpuid_count(leaf, subleaf, &r.a, &r.b, &r.c, &r.d) != 0;
    return r;
}

bool Bit(unsigned value, int bit) {
    return (value >> bit) & 1u;
}

// The register states the system saves and restores (XCR0).
unsigned long long SavedStates() {
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}

} // namespace

bool CpuHasPclmulFolding() {
    const Leaf one = Cpuid(1, 0);
    return one.ok && Bit(one.c, 1) && Bit(one.c, 19);
}

bool CpuHasAvx512Folding() {
    const Leaf one = Cpuid(1, 0);
    // OSXSAVE: xgetbv may be asked at all.
    if (!one.ok || !Bit(one.c, 27) || !CpuHasPclmulFolding())
        return false;
    // SSE, AVX, the mask registers and both halves of the upper ZMM state.
    constexpr unsigned long long kAvx512States = 0xE6;
    if ((SavedStates() & kAvx512States) != kAvx512States)
        return false;
    const Leaf seven = Cpuid(7, 0);
    const bool avx512f = Bit(seven.b, 16), avx512vl = Bit(seven.b, 31);
    const bool vpclmulqdq = Bit(seven.c, 10);
    return seven.ok && avx512f && avx512vl && vpclmulqdq;
}

} // namespace zelbrin
#else
namespace zelbrin {
bool CpuHasPclmulFolding() {
    return false;
}
bool CpuHasAvx512Folding() {
    return false;
}
} // namespace zelbrin
#endif
