// Placeholder bodies until the record commands and the opening of entries
// arrive; the window is wired to these functions already.
#include "commands_win.h"

#include "form1_win.h"

void AddFileEntry(Form1&) {}
void AddLinkEntry(Form1&) {}
void ModifyDescription(Form1&) {}
void DeleteEntry(Form1&) {}

void SelectRow(Form1& form) { form.SelectedRow = form.gridModel.Row(); }

void OpenEntry(Form1&) {}
