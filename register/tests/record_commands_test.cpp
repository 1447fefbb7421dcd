// The four record commands on real files in a temporary register folder, with
// the boxes answered from a script.
#include "core/commands/record_commands.h"

#include "faulty_files.h"
#include "scripted_ui.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace ombriel {
using support::testing::TempFolder;

namespace {

using support::testing::ReadBytes;
using support::testing::WriteBytes;
using testing::FaultyFiles;
using testing::ScriptedUi;
using testing::ShownBox;

constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kAccessDenied = 5;

std::string Record(const std::string& target, const std::string& description) {
    return "\"" + target + "\"\r\n\"" + description + "\"\r\n";
}

class RecordCommands : public ::testing::Test {
  protected:
    TempFolder folder;
    std::filesystem::path reg = folder.Path() / "Registro";
    std::filesystem::path doc = reg / "Doc";
    std::filesystem::path elsewhere = folder.Path() / "Altrove";
    ScriptedUi ui;
    FaultyFiles files{SystemFileServices()};

    void SetUp() override {
        std::filesystem::create_directories(doc);
        std::filesystem::create_directories(elsewhere);
    }
    void TearDown() override { std::filesystem::current_path(folder.Path().parent_path()); }

    // A document outside the register, picked in the chooser.
    ChosenFile PickNew(const std::string& name, const std::string& content = "contenuto") {
        WriteBytes(elsewhere / support::PathFromUtf8(name), content);
        return ChosenFile{support::Utf8FromPath(elsewhere / support::PathFromUtf8(name)), name};
    }
    void ExpectFailureBox(size_t index, uint32_t number) {
        ASSERT_LT(index, ui.shown.size());
        EXPECT_EQ(ui.shown[index].title, "Errore " + std::to_string(number));
        EXPECT_EQ(ui.shown[index].kind, BoxKind::Plain);
        EXPECT_FALSE(ui.shown[index].text.empty());
    }
};

// ---- Add file ----------------------------------------------------------------------

TEST_F(RecordCommands, AddFileCancelledChooserDoesNothingAtAll) {
    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Keep);
    EXPECT_EQ(ui.Titles(), std::vector<std::string>{"<chooser>"});
    EXPECT_TRUE(files.calls.empty()); // not even the working folder is touched
}

TEST_F(RecordCommands, AddFileMovesDocumentIntoDocAndWritesFileRecord) {
    ui.picks.push_back(PickNew("report.pdf", "PDF bytes"));
    ui.inputAnswers.push_back("Relazione annuale");
    std::filesystem::current_path(elsewhere); // where a file dialog may leave it

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_FALSE(std::filesystem::exists(elsewhere / "report.pdf"));
    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "PDF bytes");
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Relazione annuale"));
    EXPECT_EQ(std::filesystem::current_path(), reg);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].what, ShownBox::Input);
    EXPECT_EQ(ui.shown[1].text, "Descrizione FILE ?");
    EXPECT_EQ(ui.shown[1].title, "Aggiungi nuovo FILE");
    EXPECT_EQ(ui.shown[1].defaultText, "report");
}

TEST_F(RecordCommands, AddFileOrLinkRefusesKeyAlreadyRecordedFromAnotherFolder) {
    for (bool addFile : {true, false}) {
        SCOPED_TRACE(addFile ? "add file" : "add link");
        ui = ScriptedUi();
        WriteBytes(doc / "report.pdf.dat", Record("", "Prima"));
        WriteBytes(doc / "report.pdf", "il documento registrato"); // a whole entry
        ui.picks.push_back(PickNew("report.pdf", "altro"));
        ui.inputAnswers.push_back("Seconda"); // must never be asked for
        std::filesystem::current_path(elsewhere);

        auto after = addFile ? AddFileEntry(reg, ui, files) : AddLinkEntry(reg, ui, files);

        EXPECT_EQ(after, AfterCommand::Reload);
        ASSERT_EQ(ui.shown.size(), 2u);
        EXPECT_EQ(ui.shown[1].text, "Esiste già un file 'report.pdf'");
        EXPECT_EQ(ui.shown[1].title, "Impossibile procedere");
        EXPECT_EQ(ui.shown[1].kind, BoxKind::Exclamation);
        EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "altro");
        EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Prima"));
        EXPECT_EQ(std::filesystem::current_path(), reg);
    }
}

TEST_F(RecordCommands, AddFileEmptyOrCancelledDescriptionMovesNothing) {
    ui.picks.push_back(PickNew("tab.xls"));
    std::filesystem::current_path(elsewhere);

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_TRUE(std::filesystem::exists(elsewhere / "tab.xls"));
    EXPECT_FALSE(std::filesystem::exists(doc / "tab.xls"));
    EXPECT_FALSE(std::filesystem::exists(doc / "tab.xls.dat"));
    EXPECT_EQ(std::filesystem::current_path(), reg);
}

TEST_F(RecordCommands, AddFileRecordWriteFailureLeavesDocumentInPlace) {
    ui.picks.push_back(PickNew("report.pdf", "PDF bytes"));
    ui.inputAnswers.push_back("Relazione");
    files.FailStep("write", kDiskFull);

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "PDF bytes");
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf"));
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat"));
    ASSERT_EQ(ui.shown.size(), 3u);
    ExpectFailureBox(2, kDiskFull);
}

TEST_F(RecordCommands, AddFileTellsBothFailuresWhenTheRecordCannotBeTakenBack) {
    ui.picks.push_back(PickNew("report.pdf", "PDF bytes"));
    ui.inputAnswers.push_back("Relazione");
    files.FailStep("move", kAccessDenied);
    files.FailStep("delete", kDiskFull);

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    ASSERT_EQ(ui.shown.size(), 4u);
    ExpectFailureBox(2, kAccessDenied);
    ExpectFailureBox(3, kDiskFull);
    // The entry stays listed and the document where the user had it.
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "PDF bytes");
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Relazione"));
}

// Another PC records the same name between this add's test for the record
// and its own record: this add is refused as a duplicate, moves nothing and
// leaves the other's record as it is.
TEST_F(RecordCommands, AddThatLosesTheRaceForTheNameIsRefusedAsADuplicate) {
    struct OtherPcWritesFirst : FaultyFiles {
        using FaultyFiles::FaultyFiles;
        std::filesystem::path record;
        bool Exists(const std::filesystem::path& path) override {
            const bool there = FaultyFiles::Exists(path);
            if (path == record)
                WriteBytes(record, Record("", "Altro PC"));
            return there;
        }
    };
    for (bool addFile : {true, false}) {
        SCOPED_TRACE(addFile ? "add file" : "add link");
        std::filesystem::remove(doc / "report.pdf.dat");
        ui = ScriptedUi();
        ui.picks.push_back(PickNew("report.pdf", "mio"));
        ui.inputAnswers.push_back("Mia");
        OtherPcWritesFirst racing{SystemFileServices()};
        racing.record = doc / "report.pdf.dat";

        auto after = addFile ? AddFileEntry(reg, ui, racing) : AddLinkEntry(reg, ui, racing);

        EXPECT_EQ(after, AfterCommand::Reload);
        ASSERT_EQ(ui.shown.size(), 3u);
        EXPECT_EQ(ui.shown[2].text, "Esiste già un file 'report.pdf'");
        EXPECT_EQ(ui.shown[2].title, "Impossibile procedere");
        EXPECT_EQ(ui.shown[2].kind, BoxKind::Exclamation);
        EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "mio");
        EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf"));
        EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Altro PC"));
    }
}

TEST_F(RecordCommands, AddFileNeverOverwritesUnrecordedDocumentInDoc) {
    WriteBytes(doc / "report.pdf", "documento orfano");
    ui.picks.push_back(PickNew("report.pdf", "nuovo"));
    ui.inputAnswers.push_back("Relazione");

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "documento orfano");
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "nuovo");
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat"));
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[2].title.rfind("Errore ", 0), 0u);
}

TEST_F(RecordCommands, AddFileRefusedMoveWritesNoRecord) {
    ui.picks.push_back(PickNew("report.pdf"));
    ui.inputAnswers.push_back("Relazione");
    files.FailStep("move", kAccessDenied);

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_TRUE(std::filesystem::exists(elsewhere / "report.pdf"));
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat"));
    ExpectFailureBox(2, kAccessDenied);
}

TEST_F(RecordCommands, AddFileVanishedDocumentShowsFailureAndWritesNoRecord) {
    ChosenFile pick = PickNew("report.pdf");
    std::filesystem::remove(elsewhere / "report.pdf");
    ui.picks.push_back(pick);
    ui.inputAnswers.push_back("Relazione");

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat"));
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[2].title.rfind("Errore ", 0), 0u);
}

TEST_F(RecordCommands, AddFileCreatesMissingDocFolderOfNewRegister) {
    std::filesystem::remove_all(doc);
    ui.picks.push_back(PickNew("primo.doc"));
    ui.inputAnswers.push_back("Primo");

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_TRUE(std::filesystem::exists(doc / "primo.doc"));
    EXPECT_EQ(ReadBytes(doc / "primo.doc.dat"), Record("", "Primo"));
}

TEST_F(RecordCommands, AddFileGoneStartFolderShowsFailureAndMovesNothing) {
    ui.picks.push_back(PickNew("report.pdf"));
    ui.inputAnswers.push_back("Relazione");
    std::filesystem::remove_all(reg);

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_TRUE(std::filesystem::exists(elsewhere / "report.pdf"));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].title.rfind("Errore ", 0), 0u);
}

TEST_F(RecordCommands, AddFileKeepsNamesWithSpacesCommasAndCharactersBeyondAnsi) {
    const std::string name = "Città, prova € 𝄞 日本.pdf";
    ui.picks.push_back(PickNew(name, "x"));
    ui.inputAnswers.push_back("Descrizione con virgola, e accento è");

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(doc / support::PathFromUtf8(name)), "x");
    EXPECT_TRUE(std::filesystem::exists(doc / support::PathFromUtf8(name + ".dat")));
    EXPECT_EQ(ui.shown[1].defaultText, "Città, prova € 𝄞 日本");
}

// ---- Add link ----------------------------------------------------------------------

TEST_F(RecordCommands, AddLinkRecordsFullPathAndLeavesDocumentInPlace) {
    ChosenFile pick = PickNew("tab.xls", "foglio");
    ui.picks.push_back(pick);
    ui.inputAnswers.push_back("Tabella");

    EXPECT_EQ(AddLinkEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(elsewhere / "tab.xls"), "foglio");
    EXPECT_FALSE(std::filesystem::exists(doc / "tab.xls"));
    EXPECT_EQ(ReadBytes(doc / "tab.xls.dat"), Record(pick.path, "Tabella"));
    EXPECT_EQ(ui.shown[1].text, "Descrizione LINK ?");
    EXPECT_EQ(ui.shown[1].title, "Aggiungi nuovo LINK");
    EXPECT_EQ(ui.shown[1].defaultText, "tab");
}

TEST_F(RecordCommands, AddLinkRecordWriteFailureShowsFailure) {
    ui.picks.push_back(PickNew("tab.xls"));
    ui.inputAnswers.push_back("Tabella");
    files.FailStep("write", kAccessDenied);

    EXPECT_EQ(AddLinkEntry(reg, ui, files), AfterCommand::Reload);

    EXPECT_FALSE(std::filesystem::exists(doc / "tab.xls.dat"));
    ExpectFailureBox(2, kAccessDenied);
}

// ---- Modify ------------------------------------------------------------------------

TEST_F(RecordCommands, ModifyOrDeleteWithoutSelectedRowOnlyWarns) {
    for (bool modify : {true, false}) {
        ui = ScriptedUi();
        auto after = modify ? ModifyEntry(reg, std::nullopt, ui, files)
                            : DeleteEntry(reg, std::nullopt, ui, files);
        EXPECT_EQ(after, AfterCommand::Keep);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].text, "Selezionare prima una RIGA");
        EXPECT_EQ(ui.shown[0].title, "AVVISO");
        EXPECT_EQ(ui.shown[0].kind, BoxKind::Information);
    }
    EXPECT_TRUE(files.calls.empty());
}

TEST_F(RecordCommands, ModifyKeepsTheEntryKindAndLinkPath) {
    struct Case {
        std::string shown, recordName, expectedTarget;
    } cases[] = {
        {"report.pdf", "report.pdf.dat", ""},
        {"D:\\Dati\\tab.xls", "tab.xls.dat", "D:\\Dati\\tab.xls"},
        {"\\\\server\\share\\a b.doc", "a b.doc.dat", "\\\\server\\share\\a b.doc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        ui = ScriptedUi();
        WriteBytes(doc / c.recordName, Record(c.expectedTarget, "Vecchia"));
        ui.inputAnswers.push_back("Nuova, \"diversa\"");

        EXPECT_EQ(ModifyEntry(reg, SelectedEntry{"Vecchia", c.shown}, ui, files),
                  AfterCommand::Reload);

        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].text, "Nuova descrizione ?");
        EXPECT_EQ(ui.shown[0].title, "MODIFICA DESCRIZIONE");
        EXPECT_EQ(ui.shown[0].defaultText, "Vecchia");
        EXPECT_EQ(ReadBytes(doc / c.recordName).substr(0, c.expectedTarget.size() + 4),
                  "\"" + c.expectedTarget + "\"\r\n");
        EXPECT_NE(ReadBytes(doc / c.recordName), Record(c.expectedTarget, "Vecchia"));
    }
}

TEST_F(RecordCommands, ModifyEmptyAnswerLeavesRecordAndGrid) {
    WriteBytes(doc / "report.pdf.dat", Record("", "Vecchia"));
    EXPECT_EQ(ModifyEntry(reg, SelectedEntry{"Vecchia", "report.pdf"}, ui, files),
              AfterCommand::Keep);
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Vecchia"));
    EXPECT_TRUE(files.calls.empty());
}

TEST_F(RecordCommands, ModifyWriteFailureKeepsOldRecordWhole) {
    WriteBytes(doc / "report.pdf.dat", Record("", "Vecchia"));
    ui.inputAnswers.push_back("Nuova");
    files.FailStep("write", kDiskFull);

    EXPECT_EQ(ModifyEntry(reg, SelectedEntry{"Vecchia", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Vecchia"));
    ExpectFailureBox(1, kDiskFull);
}

TEST_F(RecordCommands, ModifyRefusesADescriptionTheRecordCouldNotHoldWhole) {
    WriteBytes(doc / "report.pdf.dat", Record("", "Vecchia"));
    ui.inputAnswers.push_back(std::string(300000, 'n'));

    EXPECT_EQ(ModifyEntry(reg, SelectedEntry{"Vecchia", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Vecchia"));
    ExpectFailureBox(1, kErrFileTooLarge);
}

// ---- Delete ------------------------------------------------------------------------

TEST_F(RecordCommands, DeleteLinkAsksOnceAndRemovesOnlyTheRecord) {
    WriteBytes(elsewhere / "tab.xls", "foglio");
    std::string target = support::Utf8FromPath(elsewhere / "tab.xls");
    WriteBytes(doc / "tab.xls.dat", Record(target, "Tabella"));
    WriteBytes(doc / "tab.xls", "omonimo in Doc"); // not the link's document
    ui.messageAnswers.push_back(Answer::Yes);

    EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"Tabella", "D:\\Dati\\tab.xls"}, ui, files),
              AfterCommand::Reload);

    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Tabella");
    EXPECT_EQ(ui.shown[0].title, "CONFERMA ELIMINAZIONE");
    EXPECT_EQ(ui.shown[0].kind, BoxKind::Question);
    EXPECT_FALSE(std::filesystem::exists(doc / "tab.xls.dat"));
    EXPECT_TRUE(std::filesystem::exists(elsewhere / "tab.xls"));
    EXPECT_TRUE(std::filesystem::exists(doc / "tab.xls"));
}

TEST_F(RecordCommands, DeleteFileAsksTwiceAndRemovesRecordAndDocument) {
    WriteBytes(doc / "report.pdf", "x");
    WriteBytes(doc / "report.pdf.dat", Record("", "Relazione"));
    ui.messageAnswers = {Answer::Yes, Answer::Yes};

    EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"Relazione", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "Il file 'report.pdf' verra ELIMINATO definitivamente\r\n"
                                "N.B. non sarà più possibile recuperare il file");
    EXPECT_EQ(ui.shown[1].title, "CANCELLO FILE ?");
    EXPECT_EQ(ui.shown[1].kind, BoxKind::Question);
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf"));
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat"));
}

TEST_F(RecordCommands, DeleteNoAtEitherConfirmationChangesNothing) {
    struct Case {
        std::string shown;
        std::deque<Answer> answers;
        size_t boxes;
    } cases[] = {
        {"report.pdf", {Answer::No}, 1},
        {"report.pdf", {Answer::Yes, Answer::No}, 2},
        {"C:\\Dati\\report.pdf", {Answer::No}, 1},
    };
    WriteBytes(doc / "report.pdf", "x");
    WriteBytes(doc / "report.pdf.dat", Record("", "Relazione"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown + " " + std::to_string(c.boxes));
        ui = ScriptedUi();
        ui.messageAnswers = c.answers;
        EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"Relazione", c.shown}, ui, files),
                  AfterCommand::Keep);
        EXPECT_EQ(ui.shown.size(), c.boxes);
        EXPECT_TRUE(std::filesystem::exists(doc / "report.pdf"));
        EXPECT_TRUE(std::filesystem::exists(doc / "report.pdf.dat"));
    }
}

TEST_F(RecordCommands, DeleteFileWhoseRecordIsGoneStillDeletesDocument) {
    WriteBytes(doc / "report.pdf", "x");
    ui.messageAnswers = {Answer::Yes, Answer::Yes};

    EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"Relazione", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf"));
    EXPECT_EQ(ui.shown.size(), 2u); // no failure box
}

TEST_F(RecordCommands, DeleteFileWithMissingDocumentRemovesEntryAndSaysSo) {
    WriteBytes(doc / "report.pdf.dat", Record("", "Relazione"));
    ui.messageAnswers = {Answer::Yes, Answer::Yes};

    EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"Relazione", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat"));
    ASSERT_EQ(ui.shown.size(), 3u);
    ExpectFailureBox(2, kErrFileNotFound);
}

TEST_F(RecordCommands, DeleteFileRefusedDocumentDeletionKeepsTheRecord) {
    WriteBytes(doc / "report.pdf", "x");
    WriteBytes(doc / "report.pdf.dat", Record("", "Relazione"));
    ui.messageAnswers = {Answer::Yes, Answer::Yes};
    files.FailStep("delete", kAccessDenied, 1);

    EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"Relazione", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    EXPECT_TRUE(std::filesystem::exists(doc / "report.pdf"));
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Relazione"));
    ExpectFailureBox(2, kAccessDenied);
}

TEST_F(RecordCommands, DeleteRefusesRowTextsThatLeadOutOfDoc) {
    // A hand-edited record can put anything in column 2; a key with a
    // separator or a drive must not delete or write files outside Doc.
    WriteBytes(reg / "victim.pdf", "da non perdere");
    WriteBytes(reg / "victim.pdf.dat", Record("", "x"));
    for (std::string shown : {"../victim.pdf", "..", "C:victim.pdf"}) {
        SCOPED_TRACE(shown);
        ui = ScriptedUi();
        ui.messageAnswers = {Answer::Yes, Answer::Yes};
        EXPECT_EQ(DeleteEntry(reg, SelectedEntry{"x", shown}, ui, files), AfterCommand::Reload);
        ui.inputAnswers.push_back("nuova");
        ModifyEntry(reg, SelectedEntry{"x", shown}, ui, files);
        EXPECT_EQ(ReadBytes(reg / "victim.pdf"), "da non perdere");
        EXPECT_EQ(ReadBytes(reg / "victim.pdf.dat"), Record("", "x"));
    }
}

} // namespace
} // namespace ombriel
