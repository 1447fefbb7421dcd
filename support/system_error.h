#pragma once
// The system's own description of a failure, in the user's language, as
// UTF-8: GetLastError codes on Windows, errno values elsewhere.
#include <cstdint>
#include <string>

namespace support {

// Never empty: a code the system has no text for is shown as its number.
std::string SystemErrorText(uint32_t code);

} // namespace support
