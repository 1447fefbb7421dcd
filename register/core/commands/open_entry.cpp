#include "core/commands/open_entry.h"

#include "core/commands/failure_box.h"
#include "core/commands/utf8_text.h"
#include "support/text.h"

namespace ombriel {

std::string QuoteArgument(std::string_view text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless they precede a quote.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

std::string DocumentPath(std::string_view nameOrPath, std::string_view startFolder) {
    if (nameOrPath.find(":\\") != std::string_view::npos)
        return std::string(nameOrPath);
    std::string path(startFolder);
    path += "\\Doc\\";
    path += nameOrPath;
    return path;
}

LaunchRequest BuildLaunch(std::string_view nameOrPath, std::string_view startFolder,
                          const ViewerPaths& viewers) {
    const std::string type = Utf8TakeLast(nameOrPath, 3);
    const std::string document = DocumentPath(nameOrPath, startFolder);
    const std::string* viewer = nullptr;
    if (type == "pdf")
        viewer = &viewers.PathAR;
    else if (type == "doc")
        viewer = &viewers.PathWrd;
    else if (type == "xls")
        viewer = &viewers.PathExc;

    LaunchRequest request;
    if (viewer) {
        request.program = *viewer;
        // The program token is never escaped by the parser, only delimited.
        request.commandLine = "\"" + *viewer + "\" " + QuoteArgument(document);
        request.windowState = WindowState::Maximized;
    } else {
        request.program = document;
        request.commandLine = "\"" + document + "\"";
        request.windowState = WindowState::Normal;
    }
    return request;
}

void OpenEntry(int currentRow, std::string_view nameOrPath, std::string_view startFolder,
               const ViewerPaths& viewers, ProcessLauncher& launcher, CommandUi& ui) {
    if (currentRow < 1)
        return;
    const LaunchRequest request = BuildLaunch(nameOrPath, startFolder, viewers);
    if (Error failed = launcher.Launch(request))
        ShowFailure(ui, failed, support::PathFromUtf8(request.program));
}

std::string MissingDocumentHint(std::string_view documentPath) {
    return "Documento mancante: " + std::string(documentPath);
}

bool ReportMissingDocument(int currentRow, std::string_view nameOrPath,
                           std::string_view startFolder, bool markedMissing, FileServices& files,
                           CommandUi& ui) {
    if (currentRow < 1 || !markedMissing || nameOrPath.find(":\\") != std::string_view::npos)
        return false;
    const std::string document = DocumentPath(nameOrPath, startFolder);
    // The mark is as old as the last reload: a document put back since opens.
    if (files.Exists(support::PathFromUtf8(document)))
        return false;
    ui.ShowMessage("Il documento non si trova nella cartella Doc del registro:\r\n" + document,
                   "Documento mancante", BoxKind::Exclamation);
    return true;
}

void ReportMissingLink(std::string_view targetPath, CommandUi& ui) {
    // Worded as the box of a file entry missing from Doc, whose title the
    // row's hint shares.
    ui.ShowMessage("Il documento collegato non si trova:\r\n" + std::string(targetPath),
                   "Documento mancante", BoxKind::Exclamation);
}

} // namespace ombriel
