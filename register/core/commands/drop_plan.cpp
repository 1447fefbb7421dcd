#include "core/commands/drop_plan.h"

namespace ombriel {

DropAction ActionForDrop(const DropKeys& keys, const AllowedDrop& allowed, bool readOnly) {
    if (readOnly || (!allowed.move && !allowed.link))
        return DropAction::None;
    if (keys.rightButton)
        return DropAction::AskMenu;
    if (keys.alt || (keys.ctrl && keys.shift))
        return allowed.link ? DropAction::AddLink : DropAction::None;
    if (keys.ctrl)
        return DropAction::None;
    return allowed.move ? DropAction::AddFile : DropAction::AddLink;
}

std::string BareName(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

namespace {

std::string GoOnQuestion(size_t remaining) {
    return remaining == 1 ? "Continuare con l'altro file?"
                          : "Continuare con gli altri " + std::to_string(remaining) + " file?";
}

} // namespace

void AddDroppedFiles(EntryKind kind, const std::filesystem::path& startFolder,
                     const std::vector<DroppedItem>& items, CommandUi& ui, FileServices& files) {
    const std::string title =
        kind == EntryKind::File ? "Aggiungi nuovo FILE" : "Aggiungi nuovo LINK";
    for (size_t i = 0; i < items.size(); ++i) {
        const DroppedItem& item = items[i];
        if (item.isFolder) {
            ui.ShowMessage("'" + item.path + "' è una cartella: si possono aggiungere solo file",
                           "Impossibile procedere", BoxKind::Exclamation);
            continue;
        }
        const ChosenFile chosen{item.path, BareName(item.path)};
        if (AddChosenEntry(kind, startFolder, chosen, ui, files) != AddOutcome::Cancelled)
            continue;
        const size_t remaining = items.size() - i - 1;
        if (remaining > 0 &&
            ui.ShowMessage(GoOnQuestion(remaining), title, BoxKind::Question) != Answer::Yes)
            return;
    }
}

} // namespace ombriel
