#pragma once
// CRC-32 by folding with carry-less multiplication: sixteen bytes (or
// sixty-four with AVX-512) are multiplied forward across the data by a
// power of x modulo the generator and XORed into what lies there, so the
// register's dependency chain is one multiplication per block instead of
// one table lookup per byte. Only built for x86-64; elsewhere, and on a
// processor without the instructions, the Cpu... queries answer false and
// the paths must not be called.
#include <cstddef>
#include <cstdint>

namespace zelbrin {

// The processor has PCLMULQDQ and SSE4.1.
bool CpuHasPclmulFolding();
// The processor has AVX-512 (F, VL) with VPCLMULQDQ, and the system saves
// the AVX-512 registers on a thread switch.
bool CpuHasAvx512Folding();

// Run the register (not complemented) over the bytes; only when the
// matching query above answered true.
uint32_t Crc32UpdatePclmul(uint32_t reg, const unsigned char* p, size_t length);
uint32_t Crc32UpdateAvx512(uint32_t reg, const unsigned char* p, size_t length);

} // namespace zelbrin
