#pragma once
// The register numbers its errors as Windows does; the native build maps
// errno onto those numbers in one place.
#include <cstdint>

namespace ombriel {
uint32_t ErrorNumberFromErrno(int err);
} // namespace ombriel
