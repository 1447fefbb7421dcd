#include "core/commands/record_commands.h"

#include "core/commands/default_description.h"
#include "core/commands/entry_key.h"
#include "core/commands/failure_box.h"
#include "support/text.h"

#include <algorithm>

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
AfterCommand Fail(CommandUi& ui, const Error& error, const std::filesystem::path& file) {
    ShowFailure(ui, error, file);
    return AfterCommand::Reload;
}

AfterCommand RefuseDuplicate(CommandUi& ui, const std::string& name) {
    ui.ShowMessage("Esiste già un file '" + name + "'", "Impossibile procedere",
                   BoxKind::Exclamation);
    return AfterCommand::Reload;
}

// A move refused because a file of the name is already there.
bool NameTaken(const Error& failed) {
    constexpr uint32_t kErrFileExists = 80; // ERROR_FILE_EXISTS
    return failed.number == kErrAlreadyExists || failed.number == kErrFileExists;
}

// Completes a file entry whose record is there from an add that was cut
// short. The record is rewritten only when the user changed its description,
// and written back as it was if the document cannot be moved in after all:
// the entry then stays as it was before the command.
AddOutcome FinishFileEntry(CommandUi& ui, FileServices& files, const EntryFiles& entry,
                           const std::filesystem::path& source, const RecordFields& recorded,
                           const std::string& description, bool documentThere) {
    const bool changed = description != recorded.description;
    if (changed)
        if (Error failed = files.WriteRecord(entry.record, "", description)) {
            ShowFailure(ui, failed, entry.record);
            return AddOutcome::Refused;
        }
    // A whole copy is in Doc already: only the original's removal was left.
    Error failed =
        documentThere ? files.RemoveFile(source) : files.MoveDocument(source, entry.document);
    if (!failed)
        return AddOutcome::Added;
    // The document arrived meanwhile: another PC's add of the name finished
    // first, and this one is the duplicate.
    const bool taken = !documentThere && NameTaken(failed);
    if (taken)
        RefuseDuplicate(ui, support::Utf8FromPath(entry.document.filename()));
    else
        ShowFailure(ui, failed, source);
    if (changed && !documentThere && !taken)
        if (Error stuck = files.WriteRecord(entry.record, "", recorded.description))
            ShowFailure(ui, stuck, entry.record);
    return AddOutcome::Refused;
}

AfterCommand ChooseAndAdd(EntryKind kind, const std::filesystem::path& startFolder, CommandUi& ui,
                          FileServices& files) {
    std::optional<ChosenFile> chosen = ui.ChooseDocument();
    if (!chosen || chosen->path.empty())
        return AfterCommand::Keep;
    // The dialog may have moved the working directory; everything after it,
    // the reload included, must see the register's own folder again.
    if (Error failed = files.RestoreWorkingFolder(startFolder))
        return Fail(ui, failed, startFolder);
    AddChosenEntry(kind, startFolder, *chosen, ui, files);
    return AfterCommand::Reload;
}

} // namespace

AddOutcome AddChosenEntry(EntryKind kind, const std::filesystem::path& startFolder,
                          const ChosenFile& chosen, CommandUi& ui, FileServices& files) {
    auto refuse = [&](const Error& error, const std::filesystem::path& file) {
        ShowFailure(ui, error, file);
        return AddOutcome::Refused;
    };
    auto duplicate = [&](const std::string& name) {
        RefuseDuplicate(ui, name);
        return AddOutcome::Refused;
    };
    const std::string& name = chosen.name;
    const std::filesystem::path source = support::PathFromUtf8(chosen.path);
    if (!IsPlainKey(name))
        return refuse(files.Failure(kErrInvalidName), source);
    const EntryFiles entry = FilesOf(startFolder, name);
    const bool isFile = kind == EntryKind::File;
    // What writers killed on the way left in Doc goes first; a copy another
    // PC is still filling stays.
    const std::vector<std::string> held = files.RemoveLeftoverTemporaries(entry.folder);
    // A copy of this very document another PC is still making: its add is
    // under way, not cut short.
    const bool addUnderWay = std::any_of(held.begin(), held.end(), [&](const std::string& t) {
        return t.size() > name.size() && t.compare(0, name.size(), name) == 0 &&
               t[name.size()] == '.';
    });

    // A file entry whose add was cut short: its record is there, but its
    // document is not, or is there whole while the chosen file still holds
    // the same bytes (the move was stopped before it removed the original).
    // Adding the same file again finishes it.
    std::optional<RecordFields> unfinished;
    bool documentThere = false;
    if (files.Exists(entry.record)) {
        RecordFields recorded;
        if (!isFile || addUnderWay || files.ReadRecord(entry.record, recorded) ||
            !recorded.target.empty())
            return duplicate(name);
        documentThere = files.Exists(entry.document);
        if (documentThere && !files.IsCopyOf(source, entry.document))
            return duplicate(name);
        unfinished = std::move(recorded);
    }

    // An unfinished entry offers the description it was recorded with, so a
    // plain OK keeps it.
    const std::string description =
        ui.AskText(isFile ? "Descrizione FILE ?" : "Descrizione LINK ?",
                   isFile ? "Aggiungi nuovo FILE" : "Aggiungi nuovo LINK",
                   unfinished ? unfinished->description : DefaultDescription(name));
    if (description.empty())
        return AddOutcome::Cancelled;
    if (unfinished)
        return FinishFileEntry(ui, files, entry, source, *unfinished, description, documentThere);

    if (Error failed = files.EnsureFolder(entry.folder))
        return refuse(failed, entry.folder);
    // The record comes first, created only if absent: another PC on the same
    // register may have recorded the name since the test above, and then
    // this add is the one refused. A document is moved into Doc only once
    // its record is there, so it never lies in Doc unseen, whenever the
    // program may stop.
    const bool documentBefore = isFile && files.Exists(entry.document);
    if (Error failed = files.CreateRecord(entry.record, isFile ? "" : chosen.path, description))
        return failed.number == kErrAlreadyExists ? duplicate(name) : refuse(failed, entry.record);
    if (!isFile)
        return AddOutcome::Added;

    if (Error failed = files.MoveDocument(source, entry.document)) {
        // The document stayed where it was: the record must not list it in
        // Doc, and must not block a later add of the same name. Unless a
        // document of the name came into Doc since the record was made
        // (another PC finished this entry meanwhile): the record lists it.
        if (NameTaken(failed) && !documentBefore && files.Exists(entry.document))
            return duplicate(name);
        ShowFailure(ui, failed, source);
        if (Error stuck = files.RemoveFile(entry.record))
            ShowFailure(ui, stuck, entry.record);
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
    const std::filesystem::path record = FilesOf(startFolder, key.key).record;
    if (!key.key.empty() && !IsPlainKey(key.key))
        return Fail(ui, files.Failure(kErrInvalidName), record);
    if (Error failed = files.WriteRecord(record, target, description))
        return Fail(ui, failed, record);
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
            return Fail(ui, files.Failure(kErrInvalidName), entry.record);
        // The linked document is never touched: only the record goes.
        if (files.Exists(entry.record))
            if (Error failed = files.RemoveFile(entry.record))
                return Fail(ui, failed, entry.record);
        return AfterCommand::Reload;
    }

    if (!IsPlainKey(key.key))
        return Fail(ui, files.Failure(kErrInvalidName), entry.document);
    // The document goes first: if it cannot be deleted the record stays, so
    // the entry is still listed and no document is left without its record.
    const bool documentMissing = !files.Exists(entry.document);
    if (!documentMissing)
        if (Error failed = files.RemoveFile(entry.document))
            return Fail(ui, failed, entry.document);
    if (files.Exists(entry.record))
        if (Error failed = files.RemoveFile(entry.record))
            return Fail(ui, failed, entry.record);
    // The entry is gone as asked; the user still learns its document was not
    // there to delete.
    if (documentMissing)
        return Fail(ui, files.Failure(kErrFileNotFound), entry.document);
    return AfterCommand::Reload;
}

} // namespace ombriel
