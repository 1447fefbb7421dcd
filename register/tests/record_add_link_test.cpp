// Add link on real files: the record holds the full path, the document
// stays where it is.
#include "record_commands_fixture.h"

namespace ombriel {
namespace {

// The fixture and its helpers.
using namespace testing;

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
    ExpectFailureBox(2, kAccessDenied, doc / "tab.xls.dat");
}

} // namespace
} // namespace ombriel
