#include "core/commands/default_description.h"

#include "core/commands/utf8_text.h"

namespace ombriel {

std::string DefaultDescription(std::string_view bareName) {
    if (Utf8Length(bareName) >= 4)
        return Utf8DropLast(bareName, 4);
    size_t dot = bareName.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::string(bareName);
    return std::string(bareName.substr(0, dot));
}

} // namespace ombriel
