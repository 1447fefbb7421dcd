#pragma once
// The table-driven CRC-32 steps, shared by the slicing path and by the
// carry-less paths, which leave their short ends and their last sixteen
// bytes to them. Registers are kept without the final complement.
#include <cstddef>
#include <cstdint>

namespace zelbrin {

// Runs the register over any number of bytes with the slicing tables.
uint32_t Crc32UpdateSlicing(uint32_t reg, const unsigned char* p, size_t length);

// Runs the register over exactly sixteen bytes.
uint32_t Crc32Update16(uint32_t reg, const unsigned char* p);

} // namespace zelbrin
