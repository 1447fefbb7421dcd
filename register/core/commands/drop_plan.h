#pragma once
// Documents dropped on the register from Explorer: what the keys held at the
// drop ask for, and the adds of the dropped documents one after another, each
// with the boxes the buttons show for a chosen document.
#include "core/commands/command_ui.h"
#include "core/commands/record_commands.h"
#include "core/platform/file_services.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ombriel {

// The keys and the mouse button of a drag over the register.
struct DropKeys {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
    bool rightButton = false;
};

// What the drag source lets the drop do with its files.
struct AllowedDrop {
    bool move = true;
    bool link = true;
};

enum class DropAction {
    None,    // nothing can be dropped: the cursor shows it
    AddFile, // the documents move into Doc
    AddLink, // the documents stay where they are
    AskMenu, // a right-drag: the drop menu decides
};

// Explorer's conventions: a plain drop (or with Shift) moves, Alt or
// Ctrl+Shift links, a right-drag asks. Ctrl alone asks for a copy, which the
// register does not make, so it cannot drop; neither can the read-only mode.
// A move the source does not allow falls back to a link.
DropAction ActionForDrop(const DropKeys& keys, const AllowedDrop& allowed, bool readOnly);

// One dropped item: its full path (UTF-8) and whether it is a folder.
struct DroppedItem {
    std::string path;
    bool isFolder = false;
};

// The bare name of a path: the part after its last separator.
std::string BareName(const std::string& path);

// Adds each dropped document as the buttons add a chosen one (the duplicate
// box, the description box with its default, the rollback of a failed move),
// one after another. A folder is refused with a box. A cancelled description
// skips that document and, when more follow, asks whether to go on with
// them; No ends the drop. The caller reloads the grid afterwards.
void AddDroppedFiles(EntryKind kind, const std::filesystem::path& startFolder,
                     const std::vector<DroppedItem>& items, CommandUi& ui, FileServices& files);

} // namespace ombriel
