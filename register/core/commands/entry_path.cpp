#include "core/commands/entry_path.h"

#include "core/commands/entry_key.h"

namespace ombriel {

std::string EntryFullPath(std::string_view nameOrPath, std::string_view startFolder) {
    if (EntryKeyOf(nameOrPath).isLink)
        return std::string(nameOrPath);
    std::string path(startFolder);
    if (path.empty() || (path.back() != '\\' && path.back() != '/'))
        path += '\\';
    return path + "Doc\\" + std::string(nameOrPath);
}

std::string SelectInExplorerCommand(std::string_view explorer, std::string_view documentPath) {
    // Explorer reads the switch and the path as one argument: the quotes
    // keep a path with spaces or commas whole.
    return "\"" + std::string(explorer) + "\" /select,\"" + std::string(documentPath) + "\"";
}

} // namespace ombriel
