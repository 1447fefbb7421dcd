#pragma once
// One of several PCs working on one register at the same time: a helper
// process runs this workload with its own worker number while others run it
// too, and writes what each command came to into its log; the test then
// checks the register against all the logs.
//
// Every reload's records must read whole. Each round r of worker w:
//   1. adds its own document "w<w>-r<r>.pdf" as a file entry;
//   2. waits until every worker has reached round r;
//   3. adds "comune-r<r>.pdf", the same name as every other worker: its own
//      document as a file entry in odd rounds, a link to its own PC's
//      document in even rounds;
//   4. reloads the list, as the grid would, and modifies the common entry
//      (every worker at about the same moment);
//   5. modifies its own entry of this round;
//   6. deletes its own entry of the round before, document and record.
#include "core/commands/record_commands.h"
#include "core/platform/platform.h"
#include "core/records/record_list.h"
#include "scripted_ui.h"
#include "support/testing/files.h"
#include "support/testing/wait.h"
#include "support/text.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace ombriel::testing::workload {

// prefix, n in decimal, suffix.
inline std::string Numbered(std::string_view prefix, int n, std::string_view suffix = {}) {
    std::string text(prefix);
    text += std::to_string(n);
    text += suffix;
    return text;
}

struct Folders {
    std::filesystem::path root;
    std::filesystem::path Register() const { return root / "Registro"; }
    std::filesystem::path Doc() const { return Register() / "Doc"; }
    std::filesystem::path Sources(int worker) const { return root / Numbered("Pc", worker); }
    std::filesystem::path Sync() const { return root / "sync"; }
    std::filesystem::path Log(int worker) const { return root / Numbered("log", worker, ".txt"); }
};

inline std::string Tag(int worker, int round) {
    return Numbered("w", worker) + Numbered("-r", round);
}
inline std::string OwnName(int worker, int round) {
    return Tag(worker, round) + ".pdf";
}
inline std::string CommonName(int round) {
    return Numbered("comune-r", round, ".pdf");
}
inline bool CommonIsFile(int round) {
    return round % 2 == 1;
}
inline std::string OwnContent(int worker, int round) {
    return "documento proprio " + Tag(worker, round);
}
inline std::string CommonContent(int worker, int round) {
    return "documento comune di " + Tag(worker, round);
}
// The document a link of a common entry points at, on the worker's own PC.
inline std::string CommonLinkTarget(int worker, int round) {
    return Numbered("\\\\pc", worker, "\\Documenti\\") + CommonName(round);
}
inline std::string AddedText(int worker, int round) {
    return "aggiunto da " + Tag(worker, round);
}
inline std::string ModifiedText(int worker, int round) {
    return "modificato da " + Tag(worker, round);
}
inline std::string DuplicateText(const std::string& name) {
    return "Esiste già un file '" + name + "'";
}

// What a command came to, as its boxes told the user: "done", "duplicate"
// (the exact refusal of a name already taken) or "failed <title>: <text>".
inline std::string Verdict(const ScriptedUi& ui, const std::string& name) {
    for (const ShownBox& box : ui.shown) {
        if (box.what != ShownBox::Message)
            continue;
        if (box.title == "Impossibile procedere" && box.text == DuplicateText(name) &&
            box.kind == BoxKind::Exclamation)
            return "duplicate";
        return "failed " + box.title + ": " + box.text;
    }
    return "done";
}

// The file services, noting whether a refused add lost the race for the
// name (its own record creation found the name taken) rather than seeing
// the record before it asked for a description.
class RaceWitness : public FileServices {
  public:
    bool lostRace = false;
    bool Exists(const std::filesystem::path& path) override { return real_.Exists(path); }
    Error EnsureFolder(const std::filesystem::path& folder) override {
        return real_.EnsureFolder(folder);
    }
    Error MoveDocument(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        return real_.MoveDocument(from, to);
    }
    Error RemoveFile(const std::filesystem::path& file) override { return real_.RemoveFile(file); }
    Error CreateRecord(const std::filesystem::path& recordFile, const std::string& target,
                       const std::string& description) override {
        Error e = real_.CreateRecord(recordFile, target, description);
        lostRace = e.number == kErrAlreadyExists;
        return e;
    }
    Error WriteRecord(const std::filesystem::path& recordFile, const std::string& target,
                      const std::string& description) override {
        return real_.WriteRecord(recordFile, target, description);
    }
    Error RestoreWorkingFolder(const std::filesystem::path& startFolder) override {
        return real_.RestoreWorkingFolder(startFolder);
    }
    std::string Describe(uint32_t number) override { return real_.Describe(number); }

  private:
    FileServices& real_ = SystemFileServices();
};

class Worker {
  public:
    Worker(Folders folders, int worker, int workers)
        : at_(std::move(folders)), worker_(worker), workers_(workers),
          log_(at_.Log(worker), std::ios::binary) {}

    // False when the workload could not go on (a barrier nobody else reached).
    bool Run(int rounds) {
        for (int r = 1; r <= rounds; ++r) {
            AddFile("add-own", OwnName(worker_, r), OwnContent(worker_, r), AddedText(worker_, r));
            if (!Barrier(r))
                return false;
            const std::string common = CommonName(r);
            if (CommonIsFile(r))
                AddFile("add-common", common, CommonContent(worker_, r), AddedText(worker_, r));
            else
                AddLink(common, CommonLinkTarget(worker_, r), AddedText(worker_, r));
            ModifyListed("modify-common", common, ModifiedText(worker_, r));
            ModifyListed("modify-own", OwnName(worker_, r), ModifiedText(worker_, r));
            if (r > 1)
                DeleteOwn(OwnName(worker_, r - 1), ModifiedText(worker_, r - 1));
        }
        return bool(log_.flush());
    }

  private:
    void Log(const std::string& line) { log_ << line << "\n" << std::flush; }

    void AddFile(const char* what, const std::string& name, const std::string& content,
                 const std::string& description) {
        const std::filesystem::path document = at_.Sources(worker_) / name;
        support::testing::WriteBytes(document, content);
        Add(what, true, name, support::Utf8FromPath(document), description);
    }
    void AddLink(const std::string& name, const std::string& target,
                 const std::string& description) {
        Add("add-common", false, name, target, description);
    }
    void Add(const char* what, bool file, const std::string& name, const std::string& path,
             const std::string& description) {
        ScriptedUi ui;
        RaceWitness files;
        ui.picks.push_back(ChosenFile{path, name});
        ui.inputAnswers.push_back(description);
        if (file)
            AddFileEntry(at_.Register(), ui, files);
        else
            AddLinkEntry(at_.Register(), ui, files);
        std::string verdict = Verdict(ui, name);
        if (verdict == "duplicate" && files.lostRace)
            verdict += " race";
        Log(std::string(what) + " " + name + " " + verdict);
    }

    // Reloads the list as the grid does and modifies the entry's row; every
    // record read must be whole.
    void ModifyListed(const char* what, const std::string& name, const std::string& text) {
        std::optional<SelectedEntry> row;
        for (const RecordEntry& entry : LoadRecords(SystemPlatform(), at_.Doc())) {
            // A record cut short reads as ending early (or too long); one
            // another worker deleted after the listing saw it cannot be
            // opened any more, which is no tear: the grid shows that row
            // empty until its next reload.
            if (entry.error.number == kErrEndOfFile || entry.error.number == kErrFileTooLarge)
                Log("torn " + entry.fileName);
            else if (entry.error)
                Log("vanished " + entry.fileName);
            if (entry.key == name)
                row = SelectedEntry{entry.fields.description,
                                    entry.fields.target.empty() ? entry.key : entry.fields.target};
        }
        if (!row) {
            Log(std::string(what) + " " + name + " unlisted");
            return;
        }
        ScriptedUi ui;
        ui.inputAnswers.push_back(text);
        ModifyEntry(at_.Register(), row, ui, SystemFileServices());
        Log(std::string(what) + " " + name + " " + Verdict(ui, name));
    }

    void DeleteOwn(const std::string& name, const std::string& description) {
        ScriptedUi ui;
        ui.messageAnswers = {Answer::Yes, Answer::Yes};
        DeleteEntry(at_.Register(), SelectedEntry{description, name}, ui, SystemFileServices());
        // The two confirmations are the boxes a delete always shows.
        ui.shown.erase(ui.shown.begin(), ui.shown.begin() + std::min<size_t>(2, ui.shown.size()));
        Log("delete-own " + name + " " + Verdict(ui, name));
    }

    // Every worker marks its arrival at round r and waits for the others, so
    // the adds of the common name start together.
    bool Barrier(int round) {
        const std::string prefix = Numbered("r", round, "-");
        support::testing::WriteBytes(at_.Sync() / Numbered(prefix, worker_), "");
        const bool allArrived = support::testing::WaitUntil(
            [&] {
                for (int w = 0; w < workers_; ++w)
                    if (!std::filesystem::exists(at_.Sync() / Numbered(prefix, w)))
                        return false;
                return true;
            },
            std::chrono::minutes(2), std::chrono::milliseconds(1));
        if (!allArrived)
            Log("barrier " + prefix + " never reached by all");
        return allArrived;
    }

    Folders at_;
    int worker_;
    int workers_;
    std::ofstream log_;
};

} // namespace ombriel::testing::workload
