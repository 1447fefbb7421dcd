#pragma once
// The full path of an entry's document, as the user copies it or sees it
// selected in Explorer.
#include <string>
#include <string_view>

namespace ombriel {

// For a link entry (a name-or-path text with a backslash) the text itself;
// for a file entry the document in startFolder\Doc, joined with exactly one
// separator even when startFolder is a drive root.
std::string EntryFullPath(std::string_view nameOrPath, std::string_view startFolder);

// The command line that opens Explorer on the document's folder with the
// document selected; explorer: the full path of explorer.exe.
std::string SelectInExplorerCommand(std::string_view explorer, std::string_view documentPath);

} // namespace ombriel
