// Every CRC-32 path this processor can take (the slicing tables, PCLMULQDQ,
// AVX-512) against a bit-at-a-time reference, at any length and alignment
// and cut anywhere into two updates. Short inputs are repeated to reach the
// long loops (several 96 KiB stream groups).
#include "../fuzz_check.h"
#include "core/checksum/crc32.h"

#include <vector>

using namespace zelbrin;

namespace {
uint32_t BitwiseCrc(const unsigned char* p, size_t n) {
    uint32_t reg = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        reg ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg >> 1) ^ (0xEDB88320u & (0u - (reg & 1u)));
    }
    return ~reg;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // [alignment][repeat][cut, 4 bytes][bytes...]
    if (size < 6)
        return 0;
    const size_t alignment = data[0] % 16;
    const size_t repeat = 1 + (data[1] < 240 ? 0 : (data[1] - 239) * 16); // up to 257 copies
    const uint32_t cutSeed = data[2] | (data[3] << 8) | (data[4] << 16) | (uint32_t(data[5]) << 24);
    const size_t body = size - 6;
    std::vector<unsigned char> buffer(alignment + body * repeat);
    for (size_t r = 0; r < repeat; ++r)
        std::copy(data + 6, data + size, buffer.begin() + alignment + r * body);
    const unsigned char* bytes = buffer.data() + alignment;
    const size_t length = body * repeat;

    const uint32_t expected = BitwiseCrc(bytes, length);
    FUZZ_CHECK(Crc32Of(bytes, length) == expected);
    const size_t cut = length == 0 ? 0 : cutSeed % (length + 1);
    for (Crc32Path path : kAllCrc32Paths) {
        if (Crc32PathMissing(path))
            continue;
        Crc32 whole(path);
        whole.Update(bytes, length);
        FUZZ_CHECK(whole.Value() == expected);
        Crc32 parts(path);
        parts.Update(bytes, cut);
        parts.Update(bytes + cut, length - cut);
        FUZZ_CHECK(parts.Value() == expected);
    }
    FUZZ_CHECK(~Crc32UpdateBytewise(0xFFFFFFFFu, bytes, length) == expected);
    return 0;
}
