#pragma once
#include "core/commands/command_ui.h"
#include "core/platform/error.h"

namespace ombriel {

// The register's one failure box: the description, titled "Errore " and the
// failure's number, with only an OK button and no icon.
void ShowFailure(CommandUi& ui, const Error& error);

} // namespace ombriel
