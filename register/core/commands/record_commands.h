#pragma once
// The four commands that change the register: add a file, add a link, change
// a description, delete an entry. Each talks to the user through CommandUi and
// touches files only through FileServices; the caller reloads the grid when a
// command says so.
#include "core/commands/command_ui.h"
#include "core/platform/file_services.h"

#include <filesystem>
#include <optional>
#include <string>

namespace ombriel {

enum class AfterCommand {
    Keep,   // the grid and the selection stay as they are
    Reload, // the grid must be rebuilt from the record files
};

// The texts of the selected grid row (UTF-8).
struct SelectedEntry {
    std::string description; // column 1
    std::string nameOrPath;  // column 2: the key of a file entry, the path of a link
};

enum class EntryKind { File, Link };

// How the add of one document ended, for a caller that adds several in turn.
enum class AddOutcome {
    Added,     // the record is written (and a file entry's document moved)
    Cancelled, // the description was cancelled or left empty: nothing changed
    Refused,   // a box said why not: a duplicate name or a failure
};

// startFolder: the register's folder, the one that holds Doc.
// Adds the document `chosen` as a file or link entry, with the same checks
// and boxes as the buttons once their chooser has given a file. The caller
// reloads the grid afterwards, whatever the outcome.
AddOutcome AddChosenEntry(EntryKind kind, const std::filesystem::path& startFolder,
                          const ChosenFile& chosen, CommandUi& ui, FileServices& files);
// The buttons: the chooser, then AddChosenEntry.
AfterCommand AddFileEntry(const std::filesystem::path& startFolder, CommandUi& ui,
                          FileServices& files);
AfterCommand AddLinkEntry(const std::filesystem::path& startFolder, CommandUi& ui,
                          FileServices& files);
// selected: nothing when no row is selected.
AfterCommand ModifyEntry(const std::filesystem::path& startFolder,
                         const std::optional<SelectedEntry>& selected, CommandUi& ui,
                         FileServices& files);
AfterCommand DeleteEntry(const std::filesystem::path& startFolder,
                         const std::optional<SelectedEntry>& selected, CommandUi& ui,
                         FileServices& files);

} // namespace ombriel
