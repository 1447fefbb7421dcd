#pragma once
// Small services on the controls of dialog 101 and the program's string
// table, shared by the dialog and the operations it starts.
#include <windows.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace zelbrin {

// A string-table text; a longer one is cut to limit - 1 characters.
std::wstring LoadText(int stringId, int limit);

// Shows string-table text `stringId` in an information box captioned
// "Zelbrin" with one OK button.
void ShowMessage(HWND owner, int stringId);
// The same box for a failure of the file system: the string-table text,
// then the file's path and the system's reason.
void ShowFailureMessage(HWND owner, int stringId, const std::filesystem::path& file,
                        int systemError);

// Enables or disables one control of the dialog by id.
void EnableDlgControl(HWND dialog, int controlId, bool enable);

// The whole text of a control, of any length.
std::wstring GetControlText(HWND dialog, int controlId);

// The dialog's controls while an operation runs: every one that takes input
// is disabled, and the dialog takes no dropped files, so nothing can change
// the operation; afterwards each is as it was before.
class FrozenControls {
  public:
    void Freeze(HWND dialog);
    // focusId: the control an operation sent the focus to, or 0 for the one
    // that had it before.
    void Thaw(int focusId = 0);
    bool Frozen() const { return frozen_; }

  private:
    HWND dialog_ = nullptr;
    bool frozen_ = false;
    HWND focus_ = nullptr;
    std::vector<std::pair<HWND, bool>> enabled_;
};

} // namespace zelbrin
