#include "core/entry_key.h"

#include "core/record_file.h"

namespace ombriel {

EntryKey EntryKeyOf(std::string_view nameOrPath) {
    return {nameOrPath.find('\\') != std::string_view::npos, RecordKeyFromShown(nameOrPath)};
}

} // namespace ombriel
