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

// startFolder: the register's folder, the one that holds Doc.
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
