#pragma once
// The question a join asks before it writes anything.
#include <cstdint>
#include <string>

namespace zelbrin {

// outputName is UTF-8; count and size are shown in full, however large.
std::string FormatJoinConfirmation(uint64_t count, const std::string& outputName,
                                   uint64_t totalBytes);

} // namespace zelbrin
