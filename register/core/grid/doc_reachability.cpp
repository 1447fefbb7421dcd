#include "core/grid/doc_reachability.h"

namespace ombriel {

void ShowDocUnreachable(CommandUi& ui, const std::string& docPath, const Error& failure) {
    ui.ShowMessage("Impossibile raggiungere la cartella dei documenti:\n" + docPath + "\n\n" +
                       failure.description +
                       "\n\nL'elenco resta com'era e si aggiornerà da solo quando la cartella "
                       "sarà di nuovo raggiungibile.",
                   "Errore " + std::to_string(failure.number), BoxKind::Plain);
}

bool IsNotFound(const Error& failure) {
    return failure.number == kErrFileNotFound || failure.number == kErrPathNotFound;
}

void DocReachability::Listed(bool docExisted) {
    told_ = false;
    if (docExisted)
        seen_ = true;
}

bool DocReachability::Failed() {
    if (told_)
        return false;
    told_ = true;
    return true;
}

bool DocReachability::MissingMeansEmpty(const Error& failure) const {
    return IsNotFound(failure) && !seen_;
}

} // namespace ombriel
