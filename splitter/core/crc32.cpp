#include "core/crc32.h"

uint32_t CrcRegister = 0;

namespace {
uint32_t table[256];

uint32_t Reflect(uint32_t value, int bits) {
    uint32_t out = 0;
    for (int i = 0; i < bits; ++i) {
        if (value & (1u << i))
            out |= 1u << (bits - 1 - i);
    }
    return out;
}
} // namespace

void Crc32InitTable() {
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t v = Reflect(i, 8) << 24;
        for (int k = 0; k < 8; ++k)
            v = (v << 1) ^ ((v & 0x80000000u) ? 0x04C11DB7u : 0);
        table[i] = Reflect(v, 32);
    }
}

uint32_t Crc32TableEntry(unsigned i) { return table[i & 0xFF]; }

uint32_t Crc32Update(const void* bytes, size_t length, int start) {
    if (start == 1)
        CrcRegister = 0xFFFFFFFFu;
    const auto* p = static_cast<const unsigned char*>(bytes);
    uint32_t r = CrcRegister;
    for (size_t i = 0; i < length; ++i)
        r = (r >> 8) ^ table[(r ^ p[i]) & 0xFF];
    CrcRegister = r;
    return r;
}
