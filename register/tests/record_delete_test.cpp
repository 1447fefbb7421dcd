// Delete on real files: the questions, the document before its record, and
// names that could lead out of Doc.
#include "record_commands_fixture.h"

namespace ombriel {
namespace {

// The fixture and its helpers.
using namespace testing;

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
    ExpectFailureBox(2, kErrFileNotFound, doc / "report.pdf");
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
    ExpectFailureBox(2, kAccessDenied, doc / "report.pdf");
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
