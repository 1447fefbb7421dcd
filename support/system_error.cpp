#include "support/system_error.h"

namespace support {

// The system's text, or "" when it has none (system_error_win/_posix.cpp).
std::string PlatformErrorText(uint32_t code);

std::string SystemErrorText(uint32_t code) {
    if (std::string text = PlatformErrorText(code); !text.empty())
        return text;
    std::string number = "(";
    number += std::to_string(code);
    number += ')';
    return number;
}

} // namespace support
