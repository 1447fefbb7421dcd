#pragma once
// CRC-32 (ISO-HDLC / IEEE 802.3: polynomial 0x04C11DB7, reflected, initial
// and final value 0xFFFFFFFF) of a byte stream fed in pieces. Each checksum
// is a value of its own; the tables are built when the program is compiled.
#include <cstddef>
#include <cstdint>

namespace zelbrin {

class Crc32 {
  public:
    // Feeds the next bytes of the stream.
    void Update(const void* bytes, size_t length);
    // The CRC-32 of every byte fed so far (0 for none).
    uint32_t Value() const { return ~reg_; }

  private:
    uint32_t reg_ = 0xFFFFFFFFu;
};

// The CRC-32 of one block of bytes.
uint32_t Crc32Of(const void* bytes, size_t length);

// The byte-at-a-time definition, kept as the reference the fast path must
// match bit for bit: one table lookup per byte on a running register (not
// complemented).
uint32_t Crc32UpdateBytewise(uint32_t reg, const void* bytes, size_t length);
// Entry i of the byte-at-a-time table.
uint32_t Crc32TableEntry(unsigned i);

} // namespace zelbrin
