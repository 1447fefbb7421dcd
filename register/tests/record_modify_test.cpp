// Modify on real files: a new description, the entry's kind kept, the old
// record whole when the write fails.
#include "record_commands_fixture.h"

namespace ombriel {
namespace {

// The fixture and its helpers.
using namespace testing;

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
    ExpectFailureBox(1, kDiskFull, doc / "report.pdf.dat");
}

TEST_F(RecordCommands, ModifyRefusesADescriptionTheRecordCouldNotHoldWhole) {
    WriteBytes(doc / "report.pdf.dat", Record("", "Vecchia"));
    ui.inputAnswers.push_back(std::string(300000, 'n'));

    EXPECT_EQ(ModifyEntry(reg, SelectedEntry{"Vecchia", "report.pdf"}, ui, files),
              AfterCommand::Reload);

    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), Record("", "Vecchia"));
    ExpectFailureBox(1, kErrFileTooLarge, doc / "report.pdf.dat");
}

} // namespace
} // namespace ombriel
