// The driver's own checks against a probe program, so a fault in the driver
// shows here rather than as a puzzling failure in a program's tests.
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::wstring ReadAnswer(const ui::TempFolder& dir) {
    std::string bytes = ui::ReadBytes(dir / L"answer.txt");
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

TEST(UiDriver, ReadsAndAnswersAMessageBox) {
    ui::TempFolder dir;
    auto p = ui::Process::Start(ui::ExeDir() / L"uidriver_probe.exe", L"yesno", dir.Path());
    auto box = ui::WaitForMessageBox(p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, L"Probe");
    EXPECT_EQ(box->text, L"Proceed with città?");
    EXPECT_TRUE(box->hasIcon);
    EXPECT_NE(std::find(box->buttons.begin(), box->buttons.end(), IDNO), box->buttons.end());
    ASSERT_TRUE(ui::Answer(box->hwnd, IDNO));
    ASSERT_TRUE(p.WaitExit());
    EXPECT_EQ(ReadAnswer(dir), std::to_wstring(IDNO));
}

TEST(UiDriver, TypesAPathIntoTheOpenFileDialog) {
    ui::TempFolder dir;
    auto chosen = dir / L"città e spazi.txt";
    ui::WriteBytes(chosen, "x");
    auto p = ui::Process::Start(ui::ExeDir() / L"uidriver_probe.exe", L"open", dir.Path());
    HWND dlg = ui::WaitForDialog(p.Id());
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(ui::AnswerOpenFileDialog(dlg, chosen.wstring()));
    ASSERT_TRUE(p.WaitExit());
    EXPECT_EQ(ReadAnswer(dir), chosen.wstring());
}

TEST(UiDriver, KillsTheProgramWhenTheTestEnds) {
    ui::TempFolder dir;
    HANDLE copy = nullptr;
    {
        auto p = ui::Process::Start(ui::ExeDir() / L"uidriver_probe.exe", L"yesno", dir.Path());
        ASSERT_TRUE(ui::WaitForMessageBox(p.Id()));
        DuplicateHandle(GetCurrentProcess(), p.Handle(), GetCurrentProcess(), &copy, SYNCHRONIZE,
                        FALSE, 0);
    }
    EXPECT_EQ(WaitForSingleObject(copy, 5000), WAIT_OBJECT_0);
    CloseHandle(copy);
}

} // namespace
