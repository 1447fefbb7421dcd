// The crash hook of the programs people run: every step passes it and
// nothing happens. Linked into Ombriel and Zelbrin themselves, so the
// hook's armed version in the support library, with its counters and the
// crash the tests arm, is never pulled into a program that ships; the tests
// and their helper programs link the armed one.
#include "support/crash_point.h"

namespace support {

void CrashPoint() {}

} // namespace support
