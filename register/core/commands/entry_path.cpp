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
    std::string line;
    line.reserve(explorer.size() + documentPath.size() + 13);
    line.append(1, '"').append(explorer).append("\" /select,\"").append(documentPath);
    line.append(1, '"');
    return line;
}

} // namespace ombriel
