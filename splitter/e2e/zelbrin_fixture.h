#pragma once
// Starts a fresh Zelbrin.exe per test and finds its dialog.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "ui_driver.h"
#include "ui_driver_keys.h"

inline constexpr wchar_t kZelbrinCaption[] = L"Zelbrin V 1.0.8 (build 020118) ";

class ZelbrinDialog : public ::testing::Test {
  protected:
    void SetUp() override { Start(L""); }

    // Starts Zelbrin with a command line, as a "Send To" shortcut or a drop
    // on its icon would, in the working folder workdir (the program's own by
    // default).
    void Start(const std::wstring& arguments, const std::filesystem::path& workdir = {}) {
        app_ = ui::Process::Start(ui::ExeDir() / "Zelbrin.exe", arguments,
                                  workdir.empty() ? ui::ExeDir() : workdir);
        dialog_ = ui::WaitForWindow(app_.Id(), L"#32770", kZelbrinCaption);
        ASSERT_NE(dialog_, nullptr) << "the Zelbrin dialog did not appear";
    }

    HWND Item(int id) const { return ui::Child(dialog_, id); }
    std::wstring TextOf(int id) const { return ui::Text(Item(id)); }
    bool Checked(int id) const { return ui::IsChecked(Item(id)); }
    bool Enabled(int id) const { return ui::IsEnabled(Item(id)); }
    bool Visible(int id) const { return ui::IsVisible(Item(id)); }
    // A click as the mouse makes it, so a radio checks itself; it returns when
    // the dialog has handled it. Buttons that open a box are pressed with
    // ui::Click instead, which does not wait.
    void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void SetTextOf(int id, const std::wstring& text) const { ui::SetText(Item(id), text); }
    void Tick(int id) const { SendMessageW(Item(id), BM_SETCHECK, BST_CHECKED, 0); }
    LRESULT ProgressPos() const { return SendMessageW(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0); }

    // A message box of the program, its caption and text.
    // (The dialog itself is a #32770 with statics of id 65535 too, so it is
    // left out of the search.)
    ui::MessageBoxInfo ExpectBox() {
        HWND box = OtherDialog();
        EXPECT_NE(box, nullptr) << "no box appeared";
        return box ? ui::ReadMessageBox(box) : ui::MessageBoxInfo{};
    }

    // A dialog of the program other than the main one shown now, or null.
    HWND CurrentBox() const {
        for (HWND w : ui::TopWindows(app_.Id())) {
            if (w != dialog_ && ui::ClassName(w) == L"#32770")
                return w;
        }
        return nullptr;
    }

    // A dialog of the program other than the main one: a box, a chooser.
    HWND OtherDialog() const {
        HWND found = nullptr;
        ui::WaitUntil([&] {
            for (HWND w : ui::TopWindows(app_.Id())) {
                if (w != dialog_ && ui::ClassName(w) == L"#32770")
                    found = w;
            }
            return found != nullptr;
        });
        return found;
    }

    ui::Process app_;
    HWND dialog_ = nullptr;
};
