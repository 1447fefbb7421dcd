#pragma once
// CRC-32 (ISO-HDLC / IEEE 802.3: polynomial 0x04C11DB7, reflected, initial
// and final value 0xFFFFFFFF) of a byte stream fed in pieces. Each checksum
// is a value of its own; the tables are built when the program is compiled,
// and which instructions compute it is decided by the processor it runs on.
#include <cstddef>
#include <cstdint>

namespace zelbrin {

// The ways of computing the same CRC-32, slowest first. Every processor has
// the slicing tables; the carry-less ones need their instructions.
enum class Crc32Path { Slicing, Pclmul, Avx512 };
inline constexpr Crc32Path kAllCrc32Paths[] = {Crc32Path::Slicing, Crc32Path::Pclmul,
                                               Crc32Path::Avx512};

// Why this processor cannot take the path, or nullptr when it can.
const char* Crc32PathMissing(Crc32Path path);
// The fastest path this processor can take, found once.
Crc32Path FastestCrc32Path();
// A short name for reports: "slicing", "PCLMUL", "AVX-512".
const char* Crc32PathName(Crc32Path path);

class Crc32 {
  public:
    // Computed the fastest way this processor allows.
    Crc32() : path_(FastestCrc32Path()) {}
    // Computed on the given path, or on the slicing tables when the
    // processor cannot take it (Path() tells which).
    explicit Crc32(Crc32Path path) : path_(Crc32PathMissing(path) ? Crc32Path::Slicing : path) {}

    // Feeds the next bytes of the stream.
    void Update(const void* bytes, size_t length);
    // The CRC-32 of every byte fed so far (0 for none).
    uint32_t Value() const { return ~reg_; }
    Crc32Path Path() const { return path_; }

  private:
    uint32_t reg_ = 0xFFFFFFFFu;
    Crc32Path path_;
};

// The CRC-32 of one block of bytes.
uint32_t Crc32Of(const void* bytes, size_t length);

// The byte-at-a-time definition, kept as the reference the fast paths must
// match bit for bit: one table lookup per byte on a running register (not
// complemented).
uint32_t Crc32UpdateBytewise(uint32_t reg, const void* bytes, size_t length);
// Entry i of the byte-at-a-time table.
uint32_t Crc32TableEntry(unsigned i);

} // namespace zelbrin
