#pragma once
#include "core/commands/command_ui.h"
#include "core/platform/error.h"

#include <filesystem>

namespace ombriel {

// The register's one failure box: the description and the file it concerns,
// titled "Errore " and the failure's number, with only an OK button and no
// icon.
void ShowFailure(CommandUi& ui, const Error& error, const std::filesystem::path& file);

} // namespace ombriel
