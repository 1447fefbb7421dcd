#include "core/entry_key.h"

namespace ombriel {

EntryKey EntryKeyOf(std::string_view nameOrPath) {
    size_t slash = nameOrPath.rfind('\\');
    if (slash == std::string_view::npos)
        return {false, std::string(nameOrPath)};
    return {true, std::string(nameOrPath.substr(slash + 1))};
}

} // namespace ombriel
