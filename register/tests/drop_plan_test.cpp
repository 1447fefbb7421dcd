// Dropped documents: what the keys of a drag ask for, and the adds of several
// documents one after another on real files, with the boxes answered from a
// script.
#include "core/commands/drop_plan.h"

#include "faulty_files.h"
#include "scripted_ui.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;
using testing::FaultyFiles;
using testing::ScriptedUi;

struct KeysCase {
    DropKeys keys;
    AllowedDrop allowed;
    bool readOnly;
    DropAction expected;
};

class DropKeysTest : public ::testing::TestWithParam<KeysCase> {};

TEST_P(DropKeysTest, FollowsExplorersConventions) {
    const KeysCase& c = GetParam();
    EXPECT_EQ(ActionForDrop(c.keys, c.allowed, c.readOnly), c.expected);
}

constexpr AllowedDrop kAll{true, true};
constexpr AllowedDrop kNoMove{false, true};
constexpr AllowedDrop kMoveOnly{true, false};
constexpr DropKeys kPlain{};
constexpr DropKeys kAlt{.alt = true};
constexpr DropKeys kCtrl{.ctrl = true};
constexpr DropKeys kShift{.shift = true};
constexpr DropKeys kCtrlShift{.ctrl = true, .shift = true};
constexpr DropKeys kRight{.rightButton = true};

INSTANTIATE_TEST_SUITE_P(Keys, DropKeysTest,
                         ::testing::Values(KeysCase{kPlain, kAll, false, DropAction::AddFile},
                                           KeysCase{kShift, kAll, false, DropAction::AddFile},
                                           KeysCase{kAlt, kAll, false, DropAction::AddLink},
                                           KeysCase{kCtrlShift, kAll, false, DropAction::AddLink},
                                           KeysCase{kCtrl, kAll, false, DropAction::None},
                                           KeysCase{kRight, kAll, false, DropAction::AskMenu},
                                           KeysCase{kPlain, kNoMove, false, DropAction::AddLink},
                                           KeysCase{kAlt, kMoveOnly, false, DropAction::None},
                                           KeysCase{kPlain, AllowedDrop{false, false}, false,
                                                    DropAction::None},
                                           KeysCase{kPlain, kAll, true, DropAction::None},
                                           KeysCase{kAlt, kAll, true, DropAction::None},
                                           KeysCase{kRight, kAll, true, DropAction::None}));

class DroppedFiles : public ::testing::Test {
  protected:
    TempFolder folder;
    std::filesystem::path reg = folder.Path() / "Registro";
    std::filesystem::path doc = reg / "Doc";
    std::filesystem::path desk = folder.Path() / "Scrivania";
    ScriptedUi ui;
    FaultyFiles files{SystemFileServices()};

    void SetUp() override {
        std::filesystem::create_directories(doc);
        std::filesystem::create_directories(desk);
    }
    DroppedItem File(const std::string& name) {
        WriteBytes(desk / support::PathFromUtf8(name), name);
        return DroppedItem{support::Utf8FromPath(desk / support::PathFromUtf8(name)), false};
    }
    bool InDoc(const std::string& name) {
        return std::filesystem::exists(doc / support::PathFromUtf8(name));
    }
};

TEST_F(DroppedFiles, EachDocumentGetsTheBoxesOfTheButtonInTurn) {
    const auto a = File("report.pdf");
    const auto b = File("tab.xls");
    ui.inputAnswers = {"Relazione", "Tabella"};
    AddDroppedFiles(EntryKind::File, reg, {a, b}, ui, files);
    EXPECT_EQ(ui.Titles(),
              (std::vector<std::string>{"Aggiungi nuovo FILE", "Aggiungi nuovo FILE"}));
    EXPECT_EQ(ui.shown[0].defaultText, "report");
    EXPECT_EQ(ui.shown[1].defaultText, "tab");
    EXPECT_EQ(ReadBytes(doc / "report.pdf"), "report.pdf");
    EXPECT_EQ(ReadBytes(doc / "tab.xls.dat"), "\"\"\r\n\"Tabella\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(desk / "report.pdf"));
}

TEST_F(DroppedFiles, LinksLeaveTheDocumentsWhereTheyAre) {
    const auto a = File("tab.xls");
    ui.inputAnswers = {"Tabella"};
    AddDroppedFiles(EntryKind::Link, reg, {a}, ui, files);
    EXPECT_EQ(ui.shown.at(0).title, "Aggiungi nuovo LINK");
    EXPECT_EQ(ui.shown.at(0).text, "Descrizione LINK ?");
    EXPECT_EQ(ReadBytes(doc / "tab.xls.dat"), "\"" + a.path + "\"\r\n\"Tabella\"\r\n");
    EXPECT_TRUE(std::filesystem::exists(a.path));
    EXPECT_FALSE(InDoc("tab.xls"));
}

TEST_F(DroppedFiles, ACancelledBoxAsksWhetherToGoOnAndNoEndsTheDrop) {
    const auto a = File("a.pdf");
    const auto b = File("b.pdf");
    const auto c = File("c.pdf");
    const auto d = File("d.pdf");
    // a: cancelled, go on; b: added; c: cancelled, stop; d never asked.
    ui.inputAnswers = {"", "Bi", ""};
    ui.messageAnswers = {Answer::Yes, Answer::No};
    AddDroppedFiles(EntryKind::File, reg, {a, b, c, d}, ui, files);
    ASSERT_EQ(ui.shown.size(), 5u);
    EXPECT_EQ(ui.shown[1].text, "Continuare con gli altri 3 file?");
    EXPECT_EQ(ui.shown[1].kind, BoxKind::Question);
    EXPECT_EQ(ui.shown[1].title, "Aggiungi nuovo FILE");
    EXPECT_EQ(ui.shown[4].text, "Continuare con l'altro file?");
    EXPECT_FALSE(InDoc("a.pdf"));
    EXPECT_TRUE(InDoc("b.pdf"));
    EXPECT_FALSE(InDoc("c.pdf.dat"));
    EXPECT_FALSE(InDoc("d.pdf.dat"));
}

TEST_F(DroppedFiles, CancellingTheLastBoxAsksNothingMore) {
    ui.inputAnswers = {"Primo", ""};
    AddDroppedFiles(EntryKind::File, reg, {File("a.pdf"), File("b.pdf")}, ui, files);
    EXPECT_EQ(ui.shown.size(), 2u);
}

TEST_F(DroppedFiles, FoldersDuplicatesAndFailedMovesAreRefusedAndTheRestGoesOn) {
    std::filesystem::create_directories(desk / "Cartella");
    WriteBytes(doc / "dup.pdf.dat", "\"\"\r\n\"Già\"\r\n");
    WriteBytes(doc / "dup.pdf", "il documento registrato"); // a whole entry
    const DroppedItem sub{support::Utf8FromPath(desk / "Cartella"), true};
    const auto dup = File("dup.pdf");
    const auto stuck = File("stuck.pdf");
    const auto fine = File("fine.pdf");
    files.FailStep("move", 32, 1); // the first move: a document another program holds
    ui.inputAnswers = {"Bloccato", "Buono"};
    AddDroppedFiles(EntryKind::File, reg, {sub, dup, stuck, fine}, ui, files);
    ASSERT_EQ(ui.shown.size(), 5u);
    EXPECT_EQ(ui.shown[0].text,
              "'" + sub.path + "' è una cartella: si possono aggiungere solo file");
    EXPECT_EQ(ui.shown[0].kind, BoxKind::Exclamation);
    EXPECT_EQ(ui.shown[1].text, "Esiste già un file 'dup.pdf'");
    EXPECT_EQ(ui.shown[3].title, "Errore 32");
    EXPECT_FALSE(InDoc("stuck.pdf.dat")) << "the record of the failed move is taken back";
    EXPECT_TRUE(std::filesystem::exists(stuck.path));
    EXPECT_TRUE(InDoc("fine.pdf"));
}

TEST(DropBareName, IsThePartAfterTheLastSeparator) {
    EXPECT_EQ(BareName("C:\\A\\report.pdf"), "report.pdf");
    EXPECT_EQ(BareName("\\\\server\\share\\x.doc"), "x.doc");
    EXPECT_EQ(BareName("/tmp/y.xls"), "y.xls");
    EXPECT_EQ(BareName("nome.pdf"), "nome.pdf");
}

} // namespace
} // namespace ombriel
