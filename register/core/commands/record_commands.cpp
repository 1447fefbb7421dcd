#include "core/commands/record_commands.h"

#include "core/commands/default_description.h"
#include "core/commands/entry_key.h"
#include "core/commands/failure_box.h"
#include "support/text.h"

namespace ombriel {

namespace {

constexpr uint32_t kErrInvalidName = 123; // ERROR_INVALID_NAME

const char kNoRowText[] = "Selezionare prima una RIGA";
const char kNoRowTitle[] = "AVVISO";

// A key names a file inside Doc; one that could lead out of it (a drive, a
// folder separator, a dot folder) or name Doc itself is refused.
bool IsPlainKey(const std::string& key) {
    return !key.empty() && key != "." && key != ".." &&
           key.find_first_of("\\/:") == std::string::npos;
}

struct EntryFiles {
    std::filesystem::path folder;   // Doc
    std::filesystem::path document; // Doc\key
    std::filesystem::path record;   // Doc\key.dat
};

EntryFiles FilesOf(const std::filesystem::path& startFolder, const std::string& key) {
    EntryFiles f;
    f.folder = startFolder / "Doc";
    f.document = f.folder / support::PathFromUtf8(key);
    f.record = f.folder / support::PathFromUtf8(key + ".dat");
    return f;
}

// A command's failure: the box, then the reload the command would have done.
AfterCommand Fail(CommandUi& ui, const Error& error) {
    ShowFailure(ui, error);
    return AfterCommand::Reload;
}

AfterCommand RefuseDuplicate(CommandUi& ui, const std::string& name) {
    ui.ShowMessage("Esiste già un file '" + name + "'", "Impossibile procedere",
                   BoxKind::Exclamation);
    return AfterCommand::Reload;
}

AfterCommand ChooseAndAdd(EntryKind kind, const std::filesystem::path& startFolder, CommandUi& ui,
                          FileServices& files) {
    std::optional<ChosenFile> chosen = ui.ChooseDocument();
    if (!chosen || chosen->path.empty())
        return AfterCommand::Keep;
    // The dialog may have moved the working directory; everything after it,
    // the reload included, must see the register's own folder again.
    if (Error failed = files.RestoreWorkingFolder(startFolder))
        return Fail(ui, failed);
    AddChosenEntry(kind, startFolder, *chosen, ui, files);
    return AfterCommand::Reload;
}

} // namespace

AddOutcome AddChosenEntry(EntryKind kind, const std::filesystem::path& startFolder,
                          const ChosenFile& chosen, CommandUi& ui, FileServices& files) {
    auto refuse = [&](const Error& error) {
        ShowFailure(ui, error);
        return AddOutcome::Refused;
    };
    const std::string& name = chosen.name;
    if (!IsPlainKey(name))
        return refuse(files.Failure(kErrInvalidName));
    const EntryFiles entry = FilesOf(startFolder, name);
    if (files.Exists(entry.record)) {
        RefuseDuplicate(ui, name);
        return AddOutcome::Refused;
    }

    const bool isFile = kind == EntryKind::File;
    const std::string description = ui.AskText(
        isFile ? "Descrizione FILE ?" : "Descrizione LINK ?",
        isFile ? "Aggiungi nuovo FILE" : "Aggiungi nuovo LINK", DefaultDescription(name));
    if (description.empty())
        return AddOutcome::Cancelled;

    if (Error failed = files.EnsureFolder(entry.folder))
        return refuse(failed);
    // The record comes first, created only if absent: another PC on the same
    // register may have recorded the name since the test above, and then
    // this add is the one refused. A document is moved into Doc only once
    // its record is there, so it never lies in Doc unseen, whenever the
    // program may stop.
    if (Error failed = files.CreateRecord(entry.record, isFile ? "" : chosen.path, description)) {
        if (failed.number != kErrAlreadyExists)
            return refuse(failed);
        RefuseDuplicate(ui, name);
        return AddOutcome::Refused;
    }
    if (!isFile)
        return AddOutcome::Added;

    const std::filesystem::path source = support::PathFromUtf8(chosen.path);
    if (Error failed = files.MoveDocument(source, entry.document)) {
        // The document stayed where it was: the record must not list it in
        // Doc, and must not block a later add of the same name.
        ShowFailure(ui, failed);
        if (Error stuck = files.RemoveFile(entry.record))
            ShowFailure(ui, stuck);
        return AddOutcome::Refused;
    }
    return AddOutcome::Added;
}

AfterCommand AddFileEntry(const std::filesystem::path& startFolder, CommandUi& ui,
                          FileServices& files) {
    return ChooseAndAdd(EntryKind::File, startFolder, ui, files);
}

AfterCommand AddLinkEntry(const std::filesystem::path& startFolder, CommandUi& ui,
                          FileServices& files) {
    return ChooseAndAdd(EntryKind::Link, startFolder, ui, files);
}

AfterCommand ModifyEntry(const std::filesystem::path& startFolder,
                         const std::optional<SelectedEntry>& selected, CommandUi& ui,
                         FileServices& files) {
    if (!selected) {
        ui.ShowMessage(kNoRowText, kNoRowTitle, BoxKind::Information);
        return AfterCommand::Keep;
    }
    const EntryKey key = EntryKeyOf(selected->nameOrPath);
    // The record keeps its kind: a link keeps its full path, a file stays a file.
    const std::string target = key.isLink ? selected->nameOrPath : std::string();
    const std::string description =
        ui.AskText("Nuova descrizione ?", "MODIFICA DESCRIZIONE", selected->description);
    if (description.empty())
        return AfterCommand::Keep;

    // A record named only ".dat" (empty key) is a real record and may be edited.
    if (!key.key.empty() && !IsPlainKey(key.key))
        return Fail(ui, files.Failure(kErrInvalidName));
    if (Error failed = files.WriteRecord(FilesOf(startFolder, key.key).record, target, description))
        return Fail(ui, failed);
    return AfterCommand::Reload;
}

AfterCommand DeleteEntry(const std::filesystem::path& startFolder,
                         const std::optional<SelectedEntry>& selected, CommandUi& ui,
                         FileServices& files) {
    if (!selected) {
        ui.ShowMessage(kNoRowText, kNoRowTitle, BoxKind::Information);
        return AfterCommand::Keep;
    }
    if (ui.ShowMessage(selected->description, "CONFERMA ELIMINAZIONE", BoxKind::Question) !=
        Answer::Yes)
        return AfterCommand::Keep;

    const EntryKey key = EntryKeyOf(selected->nameOrPath);
    if (!key.isLink) {
        const std::string warning = "Il file '" + key.key +
                                    "' verra ELIMINATO definitivamente\r\n"
                                    "N.B. non sarà più possibile recuperare il file";
        if (ui.ShowMessage(warning, "CANCELLO FILE ?", BoxKind::Question) != Answer::Yes)
            return AfterCommand::Keep;
    }

    const EntryFiles entry = FilesOf(startFolder, key.key);
    if (key.isLink) {
        if (!key.key.empty() && !IsPlainKey(key.key))
            return Fail(ui, files.Failure(kErrInvalidName));
        // The linked document is never touched: only the record goes.
        if (files.Exists(entry.record))
            if (Error failed = files.RemoveFile(entry.record))
                return Fail(ui, failed);
        return AfterCommand::Reload;
    }

    if (!IsPlainKey(key.key))
        return Fail(ui, files.Failure(kErrInvalidName));
    // The document goes first: if it cannot be deleted the record stays, so
    // the entry is still listed and no document is left without its record.
    const bool documentMissing = !files.Exists(entry.document);
    if (!documentMissing)
        if (Error failed = files.RemoveFile(entry.document))
            return Fail(ui, failed);
    if (files.Exists(entry.record))
        if (Error failed = files.RemoveFile(entry.record))
            return Fail(ui, failed);
    // The entry is gone as asked; the user still learns its document was not
    // there to delete.
    if (documentMissing)
        return Fail(ui, files.Failure(kErrFileNotFound));
    return AfterCommand::Reload;
}

} // namespace ombriel
