// The dialog's controls and their states as the user sees them: the first
// look, every state of the method and mode radios, and what a mode switch
// keeps and forgets.
#include "zelbrin_fixture.h"

#include <vector>

namespace {

struct ControlSpec {
    int id;
    const wchar_t* cls;
    const wchar_t* caption;
    bool tabStop;
    RECT units; // x, y, width, height in dialog units
};

// Template order, which is also the tab order.
const ControlSpec kTemplate[] = {
    {65535, L"Button", L"Do you wish to Split or Join Files ?", false, {7, 2, 216, 20}},
    {1021, L"Button", L"Sp&lit", false, {37, 11, 29, 8}},
    {1022, L"Button", L"Joi&n", false, {148, 11, 29, 8}},
    {1000, L"Edit", L"", false, {7, 27, 143, 12}},
    {1001, L"Button", L"Sou&rce File...", true, {155, 27, 68, 11}},
    {1002, L"Edit", L"", false, {7, 44, 143, 12}},
    {1003, L"Button", L"&Target Dir...", true, {155, 45, 68, 11}},
    {65535, L"Button", L"Other Parameters", false, {7, 57, 216, 72}},
    {1016, L"Button", L"&Pieces", false, {15, 67, 45, 8}},
    {1015, L"Button", L"Si&ze", false, {72, 67, 39, 8}},
    {1005, L"Button", L"&Keyword", false, {122, 67, 44, 8}},
    {1008, L"Button", L"Abo&ut ", true, {179, 65, 36, 12}},
    {1019, L"Button", L"&Generate Batch File ?", true, {16, 78, 84, 8}},
    {1020, L"Button", L"CRC Ch&eck ?", true, {16, 90, 58, 8}},
    {1026, L"Static", L"Unit of Size :", false, {109, 77, 42, 8}},
    {1009, L"Button", L"&Help...", true, {179, 79, 36, 12}},
    {1028, L"Button", L"&MBs", false, {109, 85, 32, 9}},
    {1024, L"Button", L"K&Bs", false, {109, 94, 29, 9}},
    {1025, L"Button", L"B&ytes", false, {109, 103, 32, 9}},
    {1006, L"Edit", L"", true, {13, 113, 203, 13}},
    {1, L"Button", L"&Split", true, {57, 138, 50, 14}},
    {2, L"Button", L"&Cancel", true, {123, 138, 50, 14}},
    {1007, L"Static", L"&No of Pieces", false, {14, 102, 46, 8}},
    {1018, L"msctls_progress32", nullptr, false, {7, 130, 216, 6}},
};

const int kSplitOnly[] = {1005, 1015, 1016, 1019, 1020, 1006, 1026, 1024, 1025, 1028};
const int kAlwaysEnabled[] = {1021, 1022, 1000, 1001, 1002, 1003, 1008, 1009, 1, 2, 1007};
const int kUnitControls[] = {1026, 1024, 1025, 1028};

TEST_F(ZelbrinDialog, ControlsComeInTemplateOrderWithTheirCaptionsTabStopsAndPlaces) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    ASSERT_EQ(children.size(), std::size(kTemplate));
    for (size_t i = 0; i < children.size(); ++i) {
        const ControlSpec& want = kTemplate[i];
        const HWND c = children[i];
        EXPECT_EQ(GetDlgCtrlID(c), want.id) << "position " << i;
        EXPECT_EQ(ui::ClassName(c), want.cls) << "id " << want.id;
        if (want.caption) {
            EXPECT_EQ(ui::Text(c), want.caption) << "id " << want.id;
        }
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        // The system gives a checked radio the tab stop of its group.
        const bool checkedRadio = (style & 0x0F) == BS_AUTORADIOBUTTON && ui::IsChecked(c);
        EXPECT_EQ((style & WS_TABSTOP) != 0, want.tabStop || checkedRadio) << "id " << want.id;
    }
    // Dialog units to pixels, from the client area of 230 x 159 units.
    RECT client{};
    GetClientRect(dialog_, &client);
    const double px = client.right / 230.0, py = client.bottom / 159.0;
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT& u = kTemplate[i].units;
        RECT r{};
        GetWindowRect(children[i], &r);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
        const int id = kTemplate[i].id;
        EXPECT_NEAR(r.left, u.left * px, 2) << "x of " << id;
        EXPECT_NEAR(r.top, u.top * py, 2) << "y of " << id;
        EXPECT_NEAR(r.right - r.left, u.right * px, 2) << "width of " << id;
        EXPECT_NEAR(r.bottom - r.top, u.bottom * py, 2) << "height of " << id;
    }
    EXPECT_TRUE(GetWindowLongW(Item(1000), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(Item(1002), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetWindowLongW(Item(1), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
}

TEST_F(ZelbrinDialog, StartsInSplitModeByPiecesWithUnitsHidden) {
    EXPECT_EQ(ui::Text(dialog_), kZelbrinCaption);
    const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    EXPECT_TRUE(Checked(1021));
    EXPECT_FALSE(Checked(1022));
    EXPECT_TRUE(Checked(1016));
    EXPECT_FALSE(Checked(1015));
    EXPECT_FALSE(Checked(1005));
    EXPECT_TRUE(Checked(1024)) << "KBs is the initial unit";
    EXPECT_FALSE(Checked(1028));
    EXPECT_FALSE(Checked(1025));
    EXPECT_FALSE(Checked(1019));
    EXPECT_FALSE(Checked(1020));
    for (int id : kUnitControls)
        EXPECT_FALSE(Visible(id)) << id;
    EXPECT_EQ(TextOf(1007), L"&No of Pieces");
    EXPECT_EQ(TextOf(1), L"&Split");
    for (int id : {1000, 1002, 1006})
        EXPECT_EQ(TextOf(id), L"") << id;
    EXPECT_EQ(ProgressPos(), 0);
    for (const ControlSpec& c : kTemplate) {
        if (c.id != 65535) {
            EXPECT_TRUE(Enabled(c.id)) << c.id;
        }
    }
    EXPECT_EQ(ui::FocusOf(dialog_), Item(1001)) << "the focus starts on Source File...";
    EXPECT_EQ(SendMessageW(Item(1006), EM_GETLIMITTEXT, 0, 0), 25);
}

TEST_F(ZelbrinDialog, EachMethodSetsLabelUnitsAndEmptiesTheValue) {
    struct {
        int radio;
        const wchar_t* label;
        bool unitsShown;
    } const rows[] = {
        {1015, L"&Size per piece", true}, {1005, L"&Keyword", false},
        {1016, L"&No of Pieces", false},  {1015, L"&Size per piece", true},
        {1015, L"&Size per piece", true}, // the method already chosen empties too
    };
    for (const auto& row : rows) {
        SetTextOf(1006, L"12345");
        Click(row.radio);
        EXPECT_EQ(TextOf(1007), row.label) << row.radio;
        EXPECT_EQ(TextOf(1006), L"") << row.radio;
        for (int id : kUnitControls)
            EXPECT_EQ(Visible(id), row.unitsShown) << "radio " << row.radio << " unit " << id;
        for (const ControlSpec& c : kTemplate) {
            if (c.id != 65535) {
                EXPECT_TRUE(Enabled(c.id)) << "radio " << row.radio << " control " << c.id;
            }
        }
        EXPECT_EQ(TextOf(1), L"&Split");
    }
}

TEST_F(ZelbrinDialog, JoinDisablesSplitControlsAndSplitEnablesThemAgain) {
    Click(1015); // units shown
    Click(1022);
    EXPECT_EQ(TextOf(1), L"&Join");
    for (int id : kSplitOnly)
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : kAlwaysEnabled)
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kUnitControls)
        EXPECT_TRUE(Visible(id)) << "join leaves the units as the method left them: " << id;
    EXPECT_EQ(TextOf(1007), L"&Size per piece");

    Click(1021);
    EXPECT_EQ(TextOf(1), L"&Split");
    for (int id : kSplitOnly)
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kUnitControls)
        EXPECT_TRUE(Visible(id)) << id;
}

TEST_F(ZelbrinDialog, ModeSwitchForgetsPathsAndProgressButKeepsValueOptionsAndUnit) {
    Click(1015);
    Click(1028);
    Tick(1019);
    Tick(1020);
    for (int mode : {1022, 1021, 1021}) { // also the radio of the mode in force
        SetTextOf(1000, L"C:\\data\\big.zip");
        SetTextOf(1002, L"C:\\data\\");
        SetTextOf(1006, L"7");
        SendMessageW(Item(1018), PBM_SETPOS, 40, 0);
        Click(mode);
        EXPECT_EQ(TextOf(1000), L"") << mode;
        EXPECT_EQ(TextOf(1002), L"") << mode;
        EXPECT_EQ(ProgressPos(), 0) << mode;
        EXPECT_EQ(TextOf(1006), L"7") << mode;
        EXPECT_TRUE(Checked(1019)) << mode;
        EXPECT_TRUE(Checked(1020)) << mode;
        EXPECT_TRUE(Checked(1028)) << mode;
        EXPECT_FALSE(Checked(1024)) << mode;
        EXPECT_TRUE(Checked(1015)) << "the method stays: " << mode;
    }
}

TEST_F(ZelbrinDialog, CancelEndsTheProgramWithExitCodeZero) {
    Click(2);
    ASSERT_TRUE(app_.WaitExit());
    EXPECT_EQ(app_.ExitCode(), 0u);
}

TEST_F(ZelbrinDialog, SystemCloseEndsTheProgram) {
    PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(app_.WaitExit());
    EXPECT_EQ(app_.ExitCode(), 0u);
}

} // namespace
