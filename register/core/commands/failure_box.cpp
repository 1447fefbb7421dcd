#include "core/commands/failure_box.h"

#include <string>

namespace ombriel {

void ShowFailure(CommandUi& ui, const Error& error) {
    ui.ShowMessage(error.description, "Errore " + std::to_string(error.number), BoxKind::Plain);
}

} // namespace ombriel
