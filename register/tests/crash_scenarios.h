#pragma once
// The commands that change the register's files, each as one scenario the
// crash tests run over and over: laid out afresh in a folder, answered from
// a script, run in a helper process that dies at a chosen file step, then
// checked as a fresh start of the program would find the files. The helper
// program and the tests share this table, so both run the same command with
// the same answers.
#include "core/commands/record_commands.h"
#include "core/platform/platform.h"
#include "core/records/record_file.h"
#include "core/records/settings_file.h"
#include "scripted_ui.h"
#include "support/testing/files.h"
#include "support/text.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ombriel::testing {

// A record's bytes as the register stores them.
inline std::string RecordBytes(const std::string& target, const std::string& description) {
    return FormatRecord(RecordFields{target, description});
}

// Where one run's files lie.
struct CrashLayout {
    std::filesystem::path root;
    std::filesystem::path Register() const { return root / "Registro"; }
    std::filesystem::path Doc() const { return Register() / "Doc"; }
    std::filesystem::path Elsewhere() const { return root / "Altrove"; }
    std::filesystem::path Settings() const { return Register() / "Ombriel.ini"; }
};

// How a command ended, as its boxes told the user.
struct CommandOutcome {
    bool failed = false;    // an "Errore <n>" box
    bool duplicate = false; // the "Esiste già un file" box
    bool Clean() const { return !failed && !duplicate; }
};

inline CommandOutcome OutcomeOf(const ScriptedUi& ui) {
    CommandOutcome outcome;
    for (const ShownBox& box : ui.shown) {
        if (box.title.rfind("Errore ", 0) == 0)
            outcome.failed = true;
        if (box.title == "Impossibile procedere")
            outcome.duplicate = true;
    }
    return outcome;
}

// Where a document must be once the command is done.
enum class DocumentEnd { Home, Doc, Gone };

struct ScenarioDocument {
    std::string name; // its entry's key
    std::string content;
    std::function<std::filesystem::path(const CrashLayout&)> home; // where it is before
    DocumentEnd end;
};

struct ScenarioRecord {
    std::string key;
    std::function<std::optional<std::string>(const CrashLayout&)> before, after;
};

struct CommandScenario {
    std::string name;
    bool addsEntry = false;            // an add: refused as a duplicate once its record is there...
    bool finishesWhenRepeated = false; // ...unless it is an add file, which finishes the entry
    bool deletesFile = false;
    // The fewest file steps the command takes on any system: fewer crash
    // points mean the file layer does not pass the crash hook.
    uint64_t leastSteps = 1;
    std::vector<ScenarioRecord> records;
    std::vector<ScenarioDocument> documents;
    std::optional<std::string> settingsBefore, settingsAfter;
    // Runs the command on the laid-out files with the user's scripted answers.
    std::function<CommandOutcome(const CrashLayout&)> run;

    // Lays out the files as they are before the command.
    void Prepare(const CrashLayout& at) const {
        using support::testing::WriteBytes;
        support::testing::MakeFolders(at.Doc());
        support::testing::MakeFolders(at.Elsewhere());
        for (const ScenarioRecord& r : records)
            if (auto bytes = r.before(at))
                WriteBytes(at.Doc() / support::PathFromUtf8(r.key + ".dat"), *bytes);
        for (const ScenarioDocument& d : documents)
            WriteBytes(d.home(at), d.content);
        if (settingsBefore)
            WriteBytes(at.Settings(), *settingsBefore);
    }
};

namespace scenario_detail {

inline std::optional<std::string> None(const CrashLayout&) {
    return std::nullopt;
}
inline std::function<std::optional<std::string>(const CrashLayout&)> Bytes(std::string bytes) {
    return [bytes](const CrashLayout&) { return std::optional<std::string>(bytes); };
}
inline std::function<std::filesystem::path(const CrashLayout&)> InElsewhere(std::string name) {
    return [name](const CrashLayout& at) { return at.Elsewhere() / support::PathFromUtf8(name); };
}
inline std::function<std::filesystem::path(const CrashLayout&)> InDoc(std::string name) {
    return [name](const CrashLayout& at) { return at.Doc() / support::PathFromUtf8(name); };
}

inline CommandOutcome Add(bool file, FileServices& files, const CrashLayout& at,
                          const std::string& name, const std::string& description) {
    ScriptedUi ui;
    const std::filesystem::path path = at.Elsewhere() / support::PathFromUtf8(name);
    ui.picks.push_back(ChosenFile{support::Utf8FromPath(path), name});
    ui.inputAnswers.push_back(description);
    if (file)
        AddFileEntry(at.Register(), ui, files);
    else
        AddLinkEntry(at.Register(), ui, files);
    return OutcomeOf(ui);
}

inline CommandOutcome Modify(const CrashLayout& at, SelectedEntry row, const std::string& to) {
    ScriptedUi ui;
    ui.inputAnswers.push_back(to);
    ModifyEntry(at.Register(), row, ui, SystemFileServices());
    return OutcomeOf(ui);
}

inline CommandOutcome Delete(const CrashLayout& at, SelectedEntry row) {
    ScriptedUi ui;
    ui.messageAnswers = {Answer::Yes, Answer::Yes};
    DeleteEntry(at.Register(), row, ui, SystemFileServices());
    return OutcomeOf(ui);
}

// A menu item of the settings: the value changes, then all three are saved.
inline CommandOutcome ChooseViewer(const CrashLayout& at, std::string ViewerPaths::*item,
                                   const std::string& path) {
    ViewerPaths paths;
    CommandOutcome outcome;
    outcome.failed = LoadSettings(SystemPlatform(), at.Settings(), paths).Failed();
    paths.*item = path;
    if (SystemFileServices().RestoreWorkingFolder(at.Register()) ||
        SaveSettings(SystemPlatform(), at.Settings(), paths))
        outcome.failed = true;
    return outcome;
}

inline const std::string kOtherRecord = RecordBytes("", "Un altro documento");
inline const std::string kSettings = "\"C:\\Acrobat\\ar.exe\"\r\n\"C:\\Office\\winword.exe\"\r\n"
                                     "\"C:\\Office\\excel.exe\"\r\n";
inline const std::string kNewViewer = "C:\\Programmi nuovi\\viewer, v2.exe";
inline const std::string kLinkPath = "D:\\Dati\\tab.xls";

} // namespace scenario_detail

// Every command the crash tests run, by name.
inline std::vector<CommandScenario> CommandScenarios() {
    using namespace scenario_detail;
    // A second entry each register holds: no command may touch it.
    const ScenarioRecord other{"altro.doc", Bytes(kOtherRecord), Bytes(kOtherRecord)};
    const ScenarioDocument otherDocument{"altro.doc", "documento che resta", InDoc("altro.doc"),
                                         DocumentEnd::Home};
    std::vector<CommandScenario> all;

    for (bool across : {false, true}) {
        CommandScenario add;
        add.name = across ? "add-file-across-drives" : "add-file";
        add.addsEntry = true;
        add.finishesWhenRepeated = true;
        // The folder, the record (temporary file, data, flush, name) and the
        // move: one step on a drive, three across (copy, name, removal).
        add.leastSteps = across ? 8 : 6;
        add.records = {other, {"report.pdf", None, Bytes(RecordBytes("", "Relazione"))}};
        add.documents = {
            otherDocument,
            {"report.pdf", "documento da registrare", InElsewhere("report.pdf"), DocumentEnd::Doc}};
        add.run = [across](const CrashLayout& at) {
            return Add(true, across ? CopyingFileServices() : SystemFileServices(), at,
                       "report.pdf", "Relazione");
        };
        all.push_back(add);
    }

    CommandScenario link;
    link.name = "add-link";
    link.addsEntry = true;
    link.leastSteps = 5;
    link.records = {other, {"tab.xls", None, [](const CrashLayout& at) {
                                return std::optional<std::string>(RecordBytes(
                                    support::Utf8FromPath(at.Elsewhere() / "tab.xls"), "Tabella"));
                            }}};
    link.documents = {otherDocument,
                      {"tab.xls", "foglio collegato", InElsewhere("tab.xls"), DocumentEnd::Home}};
    link.run = [](const CrashLayout& at) {
        return Add(false, SystemFileServices(), at, "tab.xls", "Tabella");
    };
    all.push_back(link);

    CommandScenario modifyFile;
    modifyFile.name = "modify-file";
    modifyFile.leastSteps = 4;
    modifyFile.records = {other,
                          {"report.pdf", Bytes(RecordBytes("", "Vecchia descrizione")),
                           Bytes(RecordBytes("", "Nuova descrizione, più lunga"))}};
    modifyFile.documents = {otherDocument,
                            {"report.pdf", "documento", InDoc("report.pdf"), DocumentEnd::Home}};
    modifyFile.run = [](const CrashLayout& at) {
        return Modify(at, SelectedEntry{"Vecchia descrizione", "report.pdf"},
                      "Nuova descrizione, più lunga");
    };
    all.push_back(modifyFile);

    CommandScenario modifyLink;
    modifyLink.name = "modify-link";
    modifyLink.leastSteps = 4;
    modifyLink.records = {other,
                          {"tab.xls", Bytes(RecordBytes(kLinkPath, "Vecchia")),
                           Bytes(RecordBytes(kLinkPath, "Nuova"))}};
    modifyLink.documents = {otherDocument};
    modifyLink.run = [](const CrashLayout& at) {
        return Modify(at, SelectedEntry{"Vecchia", kLinkPath}, "Nuova");
    };
    all.push_back(modifyLink);

    CommandScenario deleteFile;
    deleteFile.name = "delete-file";
    deleteFile.deletesFile = true;
    deleteFile.leastSteps = 2;
    deleteFile.records = {other, {"report.pdf", Bytes(RecordBytes("", "Relazione")), None}};
    deleteFile.documents = {
        otherDocument,
        {"report.pdf", "documento da eliminare", InDoc("report.pdf"), DocumentEnd::Gone}};
    deleteFile.run = [](const CrashLayout& at) {
        return Delete(at, SelectedEntry{"Relazione", "report.pdf"});
    };
    all.push_back(deleteFile);

    CommandScenario deleteLink;
    deleteLink.name = "delete-link";
    deleteLink.records = {other, {"tab.xls", Bytes(RecordBytes(kLinkPath, "Tabella")), None}};
    deleteLink.documents = {
        otherDocument, {"tab.xls", "foglio collegato", InElsewhere("tab.xls"), DocumentEnd::Home}};
    deleteLink.run = [](const CrashLayout& at) {
        return Delete(at, SelectedEntry{"Tabella", kLinkPath});
    };
    all.push_back(deleteLink);

    const struct {
        const char* name;
        std::string ViewerPaths::*item;
        size_t line;
    } items[] = {{"settings-acrobat", &ViewerPaths::PathAR, 0},
                 {"settings-word", &ViewerPaths::PathWrd, 1},
                 {"settings-excel", &ViewerPaths::PathExc, 2}};
    for (const auto& item : items) {
        CommandScenario settings;
        settings.name = item.name;
        settings.leastSteps = 4;
        settings.records = {other};
        settings.documents = {otherDocument};
        settings.settingsBefore = kSettings;
        std::vector<std::string> lines = {"C:\\Acrobat\\ar.exe", "C:\\Office\\winword.exe",
                                          "C:\\Office\\excel.exe"};
        lines[item.line] = kNewViewer;
        settings.settingsAfter =
            "\"" + lines[0] + "\"\r\n\"" + lines[1] + "\"\r\n\"" + lines[2] + "\"\r\n";
        settings.run = [member = item.item](const CrashLayout& at) {
            return ChooseViewer(at, member, kNewViewer);
        };
        all.push_back(settings);
    }
    return all;
}

} // namespace ombriel::testing
