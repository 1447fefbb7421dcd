#pragma once
// The context menu of a grid row and what only its items do: copy the
// entry's path, show the document in Explorer.
#include <windows.h>

#include <string>

namespace ombriel {

// Shows the row menu at a screen point: "Apri", "Apri percorso file",
// "Copia percorso" and, unless readOnly, "Modifica" and "Elimina". Returns
// the IDM_ROW_* id chosen, 0 when the menu was closed without a choice.
int ShowRowMenu(HWND owner, POINT screen, bool readOnly);

// Puts text on the clipboard as Unicode text; false when the clipboard could
// not be had.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);

// The full path of Explorer: explorer.exe in the Windows folder.
std::wstring ExplorerPath();

} // namespace ombriel
