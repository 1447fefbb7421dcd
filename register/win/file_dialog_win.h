#pragma once
// The open-file dialog (Cmd1, Cmd2): modal, one file, its full path and bare
// name; both empty when the user cancels.
#include <windows.h>

#include <string>

namespace ombriel {

struct ChosenPath {
    std::wstring fullPath;
    std::wstring fileName;
    bool Chosen() const { return !fileName.empty(); }
};

// filter: pairs of texts separated by '|' ("*.pdf;*.doc|*.pdf;*.doc"), or
// empty for every file.
ChosenPath ShowOpen(HWND owner, const std::wstring& filter = {});

} // namespace ombriel
