// What a killed writer left in Doc goes at the next start and before an add;
// a temporary file a writer of another process still fills stays.
#include "core/commands/record_commands.h"
#include "core/platform/file_services.h"
#include "core/records/record_store.h"

#include "scripted_ui.h"
#include "support/testing/child_process.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/testing/wait.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

using support::testing::ChildProcess;
using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WaitUntil;
using support::testing::WriteBytes;

TEST(LeftoverTemporaries, CopyHeldByAnotherProcessSurvivesAndGoesOnceReleased) {
    TempFolder dir;
    const auto doc = dir.Path() / "Registro" / "Doc";
    WriteBytes(doc / "grande.pdf.4242-1.tmp~", "copia in corso da un altro PC");
    WriteBytes(doc / "morto.pdf.999-3.tmp~", "copia di uno scrittore ucciso");
    WriteBytes(doc / "altro.doc", "documento");
    WriteBytes(doc / "altro.doc.dat", "\"\"\r\n\"Altro\"\r\n");
    const auto ready = dir.Path() / "pronto";
    const auto release = dir.Path() / "rilascia";
    ChildProcess writer("ombriel_test_child",
                        {"hold", support::Utf8FromPath(doc / "grande.pdf.4242-1.tmp~"),
                         support::Utf8FromPath(ready), support::Utf8FromPath(release)});
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(ready); }, std::chrono::seconds(60),
                          std::chrono::milliseconds(5)));

    // At a start: from the listing the grid was filled with.
    RecordStore store(SystemPlatform(), doc);
    ASSERT_FALSE(store.Refresh());
    RemoveLeftoverTemporaries(SystemPlatform(), doc, store.Temporaries());
    EXPECT_EQ(ReadBytes(doc / "grande.pdf.4242-1.tmp~"), "copia in corso da un altro PC");
    EXPECT_FALSE(std::filesystem::exists(doc / "morto.pdf.999-3.tmp~"));

    // Before an add: the held copy still stays.
    SystemFileServices().RemoveLeftoverTemporaries(doc);
    EXPECT_TRUE(std::filesystem::exists(doc / "grande.pdf.4242-1.tmp~"));

    WriteBytes(release, "");
    const auto end = writer.Wait();
    ASSERT_FALSE(end.killed);
    ASSERT_EQ(end.exitCode, 0);
    SystemFileServices().RemoveLeftoverTemporaries(doc);
    EXPECT_FALSE(std::filesystem::exists(doc / "grande.pdf.4242-1.tmp~"));
    EXPECT_EQ(ReadBytes(doc / "altro.doc"), "documento");
    EXPECT_TRUE(std::filesystem::exists(doc / "altro.doc.dat"));
}

class FinishAdd : public ::testing::Test {
  protected:
    TempFolder dir;
    std::filesystem::path reg = dir.Path() / "Registro";
    std::filesystem::path doc = reg / "Doc";
    std::filesystem::path elsewhere = dir.Path() / "Altrove";
    testing::ScriptedUi ui;
    void TearDown() override { std::filesystem::current_path(dir.Path().parent_path()); }
    void Pick(const std::string& content) {
        WriteBytes(elsewhere / "report.pdf", content);
        ui.picks.push_back(
            ChosenFile{support::Utf8FromPath(elsewhere / "report.pdf"), "report.pdf"});
    }
};

TEST_F(FinishAdd, RecordWithoutItsDocumentIsCompletedKeepingTheRecordedDescription) {
    WriteBytes(doc / "report.pdf.dat", FormatRecord(RecordFields{"", "Relazione, già scritta"}));
    WriteBytes(doc / "report.pdf.dat.77-1.tmp~", "\"mez");
    Pick("il documento");
    ui.inputAnswers.push_back("Relazione, già scritta"); // OK on the offered text
    EXPECT_EQ(AddFileEntry(reg, ui, SystemFileServices()), AfterCommand::Reload);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].title, "Aggiungi nuovo FILE");
    EXPECT_EQ(ui.shown[1].defaultText, "Relazione, già scritta");
    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "il documento");
    EXPECT_FALSE(std::filesystem::exists(elsewhere / "report.pdf"));
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"),
              FormatRecord(RecordFields{"", "Relazione, già scritta"}));
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf.dat.77-1.tmp~"));
}

TEST_F(FinishAdd, ChangedDescriptionIsWrittenAndCancelChangesNothing) {
    WriteBytes(doc / "report.pdf.dat", FormatRecord(RecordFields{"", "Vecchia"}));
    Pick("il documento");
    EXPECT_EQ(AddFileEntry(reg, ui, SystemFileServices()), AfterCommand::Reload); // Cancel
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "il documento");
    EXPECT_FALSE(std::filesystem::exists(doc / "report.pdf"));
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), FormatRecord(RecordFields{"", "Vecchia"}));

    ui = testing::ScriptedUi();
    Pick("il documento");
    ui.inputAnswers.push_back("Nuova");
    EXPECT_EQ(AddFileEntry(reg, ui, SystemFileServices()), AfterCommand::Reload);
    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "il documento");
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), FormatRecord(RecordFields{"", "Nuova"}));
}

TEST_F(FinishAdd, WholeCopyInDocOnlyLosesItsOriginalAndADifferentFileIsRefused) {
    WriteBytes(doc / "report.pdf.dat", FormatRecord(RecordFields{"", "Relazione"}));
    WriteBytes(doc / "report.pdf", "lo stesso documento");
    Pick("un altro documento");
    ui.inputAnswers.push_back("Relazione");
    AddFileEntry(reg, ui, SystemFileServices());
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "Esiste già un file 'report.pdf'");
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "un altro documento");

    ui = testing::ScriptedUi();
    Pick("lo stesso documento"); // a move stopped after its copy
    ui.inputAnswers.push_back("Relazione");
    AddFileEntry(reg, ui, SystemFileServices());
    EXPECT_EQ(ui.Titles(), (std::vector<std::string>{"<chooser>", "Aggiungi nuovo FILE"}));
    EXPECT_FALSE(std::filesystem::exists(elsewhere / "report.pdf"));
    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "lo stesso documento");

    // The document picked in Doc itself is never its own copy.
    ui = testing::ScriptedUi();
    ui.picks.push_back(ChosenFile{support::Utf8FromPath(doc / "report.pdf"), "report.pdf"});
    AddFileEntry(reg, ui, SystemFileServices());
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].title, "Impossibile procedere");
    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "lo stesso documento");
}

TEST_F(FinishAdd, AddUnderWayOnAnotherPcIsADuplicateNotAnUnfinishedEntry) {
    // Another PC has written the record and is still copying the document.
    WriteBytes(doc / "report.pdf.dat", FormatRecord(RecordFields{"", "Dell'altro PC"}));
    WriteBytes(doc / "report.pdf.4242-1.tmp~", "copia in corso");
    const auto ready = dir.Path() / "pronto";
    const auto release = dir.Path() / "rilascia";
    ChildProcess writer("ombriel_test_child",
                        {"hold", support::Utf8FromPath(doc / "report.pdf.4242-1.tmp~"),
                         support::Utf8FromPath(ready), support::Utf8FromPath(release)});
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(ready); }, std::chrono::seconds(60),
                          std::chrono::milliseconds(5)));
    Pick("il mio documento");
    ui.inputAnswers.push_back("Mia");
    AddFileEntry(reg, ui, SystemFileServices());
    WriteBytes(release, "");
    EXPECT_EQ(writer.Wait().exitCode, 0);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "Esiste già un file 'report.pdf'");
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "il mio documento");
    EXPECT_EQ(ReadBytes(doc / "report.pdf.dat"), FormatRecord(RecordFields{"", "Dell'altro PC"}));
    EXPECT_EQ(ReadBytes(doc / "report.pdf.4242-1.tmp~"), "copia in corso");
}

TEST_F(FinishAdd, LinkRecordOfTheSameNameIsStillADuplicate) {
    WriteBytes(doc / "report.pdf.dat", FormatRecord(RecordFields{"C:\\A\\report.pdf", "Link"}));
    Pick("documento");
    ui.inputAnswers.push_back("x");
    AddFileEntry(reg, ui, SystemFileServices());
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].title, "Impossibile procedere");
    EXPECT_EQ(ReadBytes(elsewhere / "report.pdf"), "documento");
}

} // namespace
} // namespace ombriel
