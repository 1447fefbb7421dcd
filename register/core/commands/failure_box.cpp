#include "core/commands/failure_box.h"

#include "support/failure.h"

#include <string>

namespace ombriel {

void ShowFailure(CommandUi& ui, const Error& error, const std::filesystem::path& file) {
    // The description is the system's own text for the number already.
    ui.ShowMessage(support::FailureText({error.description, file, 0}),
                   "Errore " + std::to_string(error.number), BoxKind::Plain);
}

} // namespace ombriel
