#pragma once
// A register started in a fresh folder and driven through its real window:
// the open-file dialog, the program's input box, the message boxes, posted
// clicks and keys on the grid, and a stand-in viewer that records how it was
// started.
#include "../win/resource.h"
#include "input_driver.h"
#include "listview_driver.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

inline const std::wstring kFormClass = L"OmbrielForm1";

inline std::string Record(const std::string& target, const std::string& description) {
    return "\"" + target + "\"\r\n\"" + description + "\"\r\n";
}

inline std::string U8(const std::filesystem::path& p) {
    return ui::Narrow(p.wstring());
}

class RegisterE2e : public testing::Test {
  protected:
    ui::TempFolder folder{"ombriel"};
    ui::Process process_;
    HWND form_ = nullptr;

    void Put(const std::filesystem::path& file, const std::string& bytes) {
        std::filesystem::create_directories(file.parent_path());
        ui::WriteBytes(file, bytes);
    }
    // Settings with the three viewer paths (ASCII paths: the file is ANSI).
    void Viewers(const std::string& pdf, const std::string& doc, const std::string& xls) {
        Put(folder / L"Ombriel.ini", "\"" + pdf + "\"\r\n\"" + doc + "\"\r\n\"" + xls + "\"\r\n");
    }
    void Start(const std::wstring& args = {}) {
        if (!std::filesystem::exists(folder / L"Ombriel.ini"))
            Viewers("", "", "");
        std::filesystem::create_directories(folder / L"Doc");
        process_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", args, folder.Path());
        form_ = ui::WaitForWindow(process_.Id(), kFormClass);
        ASSERT_NE(form_, nullptr);
    }
    HWND Grid() const { return ui::Child(form_, IDC_FGRID); }
    void Press(int id) { ui::Click(ui::Child(form_, id)); }
    int Rows() const { return ui::ListViewItemCount(Grid()); }
    bool WaitRows(int n) {
        return ui::WaitUntil([&] { return Rows() == n; });
    }
    // A click on a cell, posted with its own position, and the row it
    // selects; the pointer plays no part.
    void ClickCell(int item, int column) {
        ui::PostClick(Grid(), ui::Centre(ui::ListViewCellRect(Grid(), item, column)));
        ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewSelectedItem(Grid()) == item; }))
            << "the click did not reach row " << item;
    }
    void DoubleClickCell(int item, int column) {
        ui::PostDoubleClick(Grid(), ui::Centre(ui::ListViewCellRect(Grid(), item, column)));
    }
    // Once the program has settled after the last box a test answered, it
    // must not be showing another one.
    void ExpectNoFurtherBox() {
        ASSERT_TRUE(ui::Settle(form_)) << "the register does not answer";
        EXPECT_FALSE(ui::HasDialog(process_.Id())) << "a box the test did not expect";
    }

    void ChooseInOpenDialog(const std::filesystem::path& file) {
        HWND dialog = ui::WaitForDialog(process_.Id());
        ASSERT_NE(dialog, nullptr) << "no open-file dialog";
        ASSERT_TRUE(ui::AnswerOpenFileDialog(dialog, file.wstring()));
    }
    // Checks the input box's title, prompt and pre-filled, selected default,
    // then types answer and presses OK (or Cancel when answer is null).
    void AnswerInputBox(const std::wstring& title, const std::wstring& prompt,
                        const std::wstring& defaultText, const wchar_t* answer) {
        HWND box = ui::WaitForDialog(process_.Id(), title);
        ASSERT_NE(box, nullptr) << "no input box titled " << ui::Narrow(title);
        HWND edit = GetDlgItem(box, IDC_INPUTBOX_EDIT);
        EXPECT_EQ(ui::Text(GetDlgItem(box, IDC_INPUTBOX_PROMPT)), prompt);
        EXPECT_EQ(ui::Text(edit), defaultText);
        DWORD sel = DWORD(SendMessageW(edit, EM_GETSEL, 0, 0));
        EXPECT_EQ(LOWORD(sel), 0);
        EXPECT_EQ(HIWORD(sel), defaultText.size()) << "the default text is selected";
        EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
        EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
        if (answer)
            ui::SetText(edit, answer);
        ASSERT_TRUE(ui::Answer(box, answer ? IDOK : IDCANCEL));
    }
    ui::MessageBoxInfo ExpectBox(const std::wstring& title, const std::wstring& text) {
        auto box = ui::WaitForMessageBox(process_.Id());
        EXPECT_TRUE(box.has_value()) << "no box titled " << ui::Narrow(title);
        if (!box)
            return {};
        EXPECT_EQ(box->title, title);
        EXPECT_EQ(box->text, text);
        return *box;
    }
    // What the stand-in viewer wrote about its start.
    std::multimap<std::string, std::string> ViewerReport() {
        auto file = folder / L"cmdline.txt";
        std::multimap<std::string, std::string> report;
        // The viewer renames its report into place and may still hold it
        // for a moment after, so a read can come back empty: the report
        // counts once it reads whole (it ends with its last line's end).
        std::string text;
        if (!ui::WaitUntil([&] {
                text = ui::ReadBytes(file);
                return text.find("line=") != std::string::npos && text.ends_with("\r\n");
            }))
            return report;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find("\r\n", pos);
            std::string line = text.substr(pos, end - pos);
            size_t eq = line.find('=');
            report.emplace(line.substr(0, eq), line.substr(eq + 1));
            pos = end + 2;
        }
        return report;
    }
    // The stand-in viewer copied to a folder whose name has a space, with a
    // decoy at the path an unquoted command line would start instead.
    std::filesystem::path InstallViewer() {
        auto viewer = folder / L"Programmi Test" / L"viewer.exe";
        std::filesystem::create_directories(viewer.parent_path());
        std::filesystem::copy_file(ui::ExeDir() / L"cmdline_recorder.exe", viewer);
        std::filesystem::copy_file(ui::ExeDir() / L"cmdline_recorder.exe",
                                   folder / L"Programmi.exe");
        return viewer;
    }
};

// Two copies of the register on one folder, as two PCs open it from a share.
class TwoRegistersE2e : public RegisterE2e {
  protected:
    ui::Process other_;
    HWND otherForm_ = nullptr;

    // The second copy, started once the first shows its window.
    void StartOther() {
        other_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", {}, folder.Path());
        otherForm_ = ui::WaitForWindow(other_.Id(), kFormClass);
        ASSERT_NE(otherForm_, nullptr);
    }
    HWND OtherGrid() const { return ui::Child(otherForm_, IDC_FGRID); }
};
