#pragma once
// CRC-32 (ISO-HDLC / IEEE 802.3) with one program-wide running register, as
// split and join share it one operation at a time.
#include <cstddef>
#include <cstdint>

extern uint32_t CrcRegister;

// Fills the lookup tables; call once before any checksum is computed.
void Crc32InitTable();

// Table entry i of the byte-at-a-time table (for tests and diagnostics).
uint32_t Crc32TableEntry(unsigned i);

// Feeds bytes into CrcRegister. A start flag of exactly 1 first resets the
// register to 0xFFFFFFFF; anything else continues from its current value.
// Returns the register (not complemented).
uint32_t Crc32Update(const void* bytes, size_t length, int start);

// The byte-at-a-time definition, kept as the reference the fast path must
// match bit for bit. Works on the given register, not on CrcRegister.
uint32_t Crc32UpdateBytewise(uint32_t reg, const void* bytes, size_t length);
