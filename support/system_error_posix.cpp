#include "support/system_error.h"

#include <cstring>

namespace support {

std::string PlatformErrorText(uint32_t code) {
    const char* text = std::strerror(static_cast<int>(code));
    return text ? text : "";
}

} // namespace support
