#pragma once
// Whether the user has been told that Doc cannot be reached. A share that
// drops stays down for a while and every refresh meanwhile fails the same
// way: the user hears of it once, and again only after Doc has been listed
// once more and then lost again.
#include "core/commands/command_ui.h"
#include "core/platform/error.h"

#include <string>

namespace ombriel {

class DocReachability {
  public:
    // Doc was listed; docExisted: it was there (not an empty register
    // without a Doc folder yet).
    void Listed(bool docExisted);
    // A look at Doc failed; true when the user is to be told now.
    bool Failed();
    // Whether a Doc that is not found is an empty register, as at a first
    // start, rather than a register that has gone: only until Doc has been
    // seen in this run.
    bool MissingMeansEmpty(const Error& failure) const;
    // Whether Doc has been listed while it existed.
    bool Seen() const { return seen_; }

  private:
    bool seen_ = false;
    bool told_ = false;
};

// The box that tells the user: the folder's path and the system's reason,
// titled "Errore " and the failure's number as the register's failure boxes
// are, with only an OK button.
void ShowDocUnreachable(CommandUi& ui, const std::string& docPath, const Error& failure);

// A failure that says the path is not there, as against one that says it
// cannot be reached or read.
bool IsNotFound(const Error& failure);

} // namespace ombriel
