#include "core/commands/entry_key.h"

#include "core/records/record_file.h"

namespace ombriel {

EntryKey EntryKeyOf(std::string_view nameOrPath) {
    return {nameOrPath.find('\\') != std::string_view::npos, RecordKeyFromShown(nameOrPath)};
}

} // namespace ombriel
