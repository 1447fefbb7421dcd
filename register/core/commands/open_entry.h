#pragma once
// Opening an entry of the grid: which program starts, with which command line
// and window state.
#include "core/commands/command_ui.h"
#include "core/platform/file_services.h"
#include "core/platform/process_launcher.h"
#include "core/records/settings_file.h"

#include <string>
#include <string_view>

namespace ombriel {

// One argument in double quotes, so that spaces and commas stay inside it and
// the receiving program reads back exactly the text (trailing backslashes and
// inner quotes escaped the way command lines are parsed on Windows).
std::string QuoteArgument(std::string_view text);

// The document's full path for the name-or-path text of a row: the text itself
// when it holds ":\", else startFolder + "\Doc\" + the text.
std::string DocumentPath(std::string_view nameOrPath, std::string_view startFolder);

// The launch for a row's name-or-path text. pdf, doc and xls (matched
// case-sensitively on the last three characters) go to their viewer,
// maximised; anything else is started by itself in normal size. Both the
// program and the document are quoted, so a path with spaces can neither open
// nothing nor start a different program.
LaunchRequest BuildLaunch(std::string_view nameOrPath, std::string_view startFolder,
                          const ViewerPaths& viewers);

// Double-click on the grid: opens the entry of currentRow (nothing for the
// header row or an empty grid). A failure shows the "Errore " box.
void OpenEntry(int currentRow, std::string_view nameOrPath, std::string_view startFolder,
               const ViewerPaths& viewers, ProcessLauncher& launcher, CommandUi& ui);

// The hint of a row whose document is missing from Doc, for its full path.
std::string MissingDocumentHint(std::string_view documentPath);

// Double-click on a file entry the grid marks as missing its document: when
// the document is still not there, a box says so and names its path, and
// true is returned (the entry is not opened). False when the entry is not
// marked, is a link, or its document has come back.
bool ReportMissingDocument(int currentRow, std::string_view nameOrPath,
                           std::string_view startFolder, bool markedMissing, FileServices& files,
                           CommandUi& ui);

// Double-click on a link entry whose target, looked at again, is not there:
// a box says so and names the path the link points at.
void ReportMissingLink(std::string_view targetPath, CommandUi& ui);

} // namespace ombriel
