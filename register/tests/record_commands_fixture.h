#pragma once
// The record commands' fixture: a register folder in a temporary folder, a
// document elsewhere to pick, the boxes answered from a script and the file
// steps able to fail on cue.
#include "core/commands/record_commands.h"

#include "faulty_files.h"
#include "scripted_ui.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace ombriel::testing {

using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

inline constexpr uint32_t kDiskFull = 112;
inline constexpr uint32_t kAccessDenied = 5;

inline std::string Record(const std::string& target, const std::string& description) {
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
    // The failure box: its number in the title, the description and then
    // the file it concerns in the text.
    void ExpectFailureBox(size_t index, uint32_t number, const std::filesystem::path& file) {
        ASSERT_LT(index, ui.shown.size());
        EXPECT_EQ(ui.shown[index].title, "Errore " + std::to_string(number));
        EXPECT_EQ(ui.shown[index].kind, BoxKind::Plain);
        const std::string tail = "\n\n" + support::Utf8FromPath(file);
        const std::string& text = ui.shown[index].text;
        ASSERT_GT(text.size(), tail.size()) << text;
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
    }
};

} // namespace ombriel::testing
