#pragma once
// The register's commands as Form1's events reach them: each one shows the
// real boxes and dialogs, runs the command's logic from the core on the real
// files, and reloads the grid when the command says so.
#include "core/platform/file_services.h"
#include "core/records/settings_file.h"

#include <windows.h>

#include <filesystem>
#include <string>

namespace ombriel {

class Form1;

void AddFileEntry(Form1& form);      // click on BtnAddFile
void AddLinkEntry(Form1& form);      // click on BtnAddLink
void ModifyDescription(Form1& form); // click on BtnModifica, F2 on the grid
void DeleteEntry(Form1& form);       // click on BtnElimina, Delete on the grid

// Double click on the grid (or Enter): opens the entry of row `row`, whose
// name-or-path text is nameOrPath; nothing for row 0. An entry marked as
// missing its document says so instead, while the document is not there.
void OpenEntry(HWND owner, int row, const std::string& nameOrPath,
               const std::filesystem::path& startFolder, const ViewerPaths& viewers,
               bool markedMissing, FileServices& files);

} // namespace ombriel
