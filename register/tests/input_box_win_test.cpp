// The input box in-process: whatever is typed or pasted into it, the text it
// returns fits a record that reads back whole.
#include "input_box_win.h"
#include "resource.h"

#include "core/records/record_file.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"

#include <gtest/gtest.h>

using namespace ombriel;
using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

namespace {

const wchar_t kTitle[] = L"Descrizione di prova";
LRESULT limitSeen = 0;

// Runs inside the box's own message loop, so the box exists by then: pastes
// more than the box may take, as a user could, and presses OK.
void CALLBACK PasteTooMuchAndConfirm(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = FindWindowW(L"#32770", kTitle);
    HWND edit = GetDlgItem(box, IDC_INPUTBOX_EDIT);
    limitSeen = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    const std::wstring pasted(kDescriptionMaxUnits + 1000, L'\u65E5'); // 日, 3 bytes stored
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST(InputBox, TakesNoMoreThanARecordWithTheLongestTargetHoldsWhole) {
    SetTimer(nullptr, 0, 0, PasteTooMuchAndConfirm);
    const std::wstring answer =
        ShowInputBox(nullptr, L"Descrizione FILE ?", kTitle, L"", kDescriptionMaxUnits);
    EXPECT_EQ(size_t(limitSeen), kDescriptionMaxUnits);
    ASSERT_EQ(answer.size(), kDescriptionMaxUnits);

    TempFolder dir;
    const RecordFields longest{support::Narrow(std::wstring(kTargetMaxUnits, L'\u65E5')),
                               support::Narrow(answer)};
    ASSERT_FALSE(WriteRecordFile(SystemPlatform(), dir.Path() / "a.pdf.dat", longest));
    RecordFields back;
    ASSERT_FALSE(ReadRecordFile(SystemPlatform(), dir.Path() / "a.pdf.dat", back));
    EXPECT_EQ(back.description, longest.description);
    EXPECT_EQ(back.target, longest.target);
}
