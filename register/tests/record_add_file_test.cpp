// Add file on real files: the record first, then the move into Doc, and every
// way it can fail.
#include "record_commands_fixture.h"

namespace ombriel {
namespace {

// The fixture and its helpers.
using namespace testing;

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

// Add file and Add link, each run and reported by its own name.
class EitherAdd : public RecordCommands, public ::testing::WithParamInterface<bool> {
  protected:
    AfterCommand Add() {
        return GetParam() ? AddFileEntry(reg, ui, files) : AddLinkEntry(reg, ui, files);
    }
};

TEST_P(EitherAdd, RefusesKeyAlreadyRecordedFromAnotherFolder) {
    WriteBytes(doc / "report.pdf.dat", Record("", "Prima"));
    WriteBytes(doc / "report.pdf", "il documento registrato"); // a whole entry
    ui.picks.push_back(PickNew("report.pdf", "altro"));
    ui.inputAnswers.push_back("Seconda"); // must never be asked for
    std::filesystem::current_path(elsewhere);

    EXPECT_EQ(Add(), AfterCommand::Reload);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "Esiste già un file 'report.pdf'");
    EXPECT_EQ(ui.shown[1].title, "Impossibile procedere");
    EXPECT_EQ(ui.shown[1].kind, BoxKind::Exclamation);
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "altro");
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Prima"));
    EXPECT_EQ(std::filesystem::current_path(), reg);
}

INSTANTIATE_TEST_SUITE_P(RecordCommands, EitherAdd, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "File" : "Link"; });

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
    ExpectFailureBox(2, kDiskFull, doc / "report.pdf.dat");
}

TEST_F(RecordCommands, AddFileTellsBothFailuresWhenTheRecordCannotBeTakenBack) {
    ui.picks.push_back(PickNew("report.pdf", "PDF bytes"));
    ui.inputAnswers.push_back("Relazione");
    files.FailStep("move", kAccessDenied);
    files.FailStep("delete", kDiskFull);

    EXPECT_EQ(AddFileEntry(reg, ui, files), AfterCommand::Reload);

    ASSERT_EQ(ui.shown.size(), 4u);
    ExpectFailureBox(2, kAccessDenied, elsewhere / "report.pdf");
    ExpectFailureBox(3, kDiskFull, doc / "report.pdf.dat");
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
    ExpectFailureBox(2, kAccessDenied, elsewhere / "report.pdf");
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

} // namespace
} // namespace ombriel
