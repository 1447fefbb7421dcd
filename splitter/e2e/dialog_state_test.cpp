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
    {IDC_GROUP_STATIC, L"Button", L"Do you wish to Split or Join Files ?", false, {7, 2, 216, 20}},
    {IDC_MODE_SPLIT, L"Button", L"Sp&lit", false, {37, 11, 29, 8}},
    {IDC_MODE_JOIN, L"Button", L"Joi&n", false, {148, 11, 29, 8}},
    {IDC_SOURCE_PATH, L"Edit", L"", false, {7, 27, 143, 12}},
    {IDC_SOURCE_BUTTON, L"Button", L"Sou&rce File...", true, {155, 27, 68, 11}},
    {IDC_TARGET_PATH, L"Edit", L"", false, {7, 44, 143, 12}},
    {IDC_TARGET_BUTTON, L"Button", L"&Target Dir...", true, {155, 45, 68, 11}},
    {IDC_GROUP_STATIC, L"Button", L"Other Parameters", false, {7, 57, 216, 72}},
    {IDC_METHOD_PIECES, L"Button", L"&Pieces", false, {15, 67, 45, 8}},
    {IDC_METHOD_SIZE, L"Button", L"Si&ze", false, {72, 67, 39, 8}},
    {IDC_METHOD_KEYWORD, L"Button", L"&Keyword", false, {122, 67, 44, 8}},
    {IDC_ABOUT_BUTTON, L"Button", L"Abo&ut ", true, {179, 65, 36, 12}},
    {IDC_BATCH_FILE, L"Button", L"&Generate Batch File ?", true, {16, 78, 84, 8}},
    {IDC_CRC_CHECK, L"Button", L"CRC Ch&eck ?", true, {16, 90, 58, 8}},
    {IDC_UNIT_LABEL, L"Static", L"Unit of Size :", false, {109, 77, 42, 8}},
    {IDC_HELP_BUTTON, L"Button", L"&Help...", true, {179, 79, 36, 12}},
    {IDC_UNIT_MBS, L"Button", L"&MBs", false, {109, 85, 32, 9}},
    {IDC_UNIT_KBS, L"Button", L"K&Bs", false, {109, 94, 29, 9}},
    {IDC_UNIT_BYTES, L"Button", L"B&ytes", false, {109, 103, 32, 9}},
    {IDC_VALUE, L"Edit", L"", true, {13, 113, 203, 13}},
    {IDOK, L"Button", L"&Split", true, {57, 138, 50, 14}},
    {IDCANCEL, L"Button", L"&Cancel", true, {123, 138, 50, 14}},
    {IDC_VALUE_LABEL, L"Static", L"&No of Pieces", false, {14, 102, 46, 8}},
    {IDC_PROGRESS, L"msctls_progress32", nullptr, false, {7, 130, 216, 6}},
};

const int kSplitOnly[] = {IDC_METHOD_KEYWORD, IDC_METHOD_SIZE, IDC_METHOD_PIECES, IDC_BATCH_FILE,
                          IDC_CRC_CHECK,      IDC_VALUE,       IDC_UNIT_LABEL,    IDC_UNIT_KBS,
                          IDC_UNIT_BYTES,     IDC_UNIT_MBS};
const int kAlwaysEnabled[] = {IDC_MODE_SPLIT,    IDC_MODE_JOIN,   IDC_SOURCE_PATH,
                              IDC_SOURCE_BUTTON, IDC_TARGET_PATH, IDC_TARGET_BUTTON,
                              IDC_ABOUT_BUTTON,  IDC_HELP_BUTTON, IDOK,
                              IDCANCEL,          IDC_VALUE_LABEL};
const int kUnitControls[] = {IDC_UNIT_LABEL, IDC_UNIT_KBS, IDC_UNIT_BYTES, IDC_UNIT_MBS};

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
    EXPECT_TRUE(GetWindowLongW(Item(IDC_SOURCE_PATH), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(Item(IDC_TARGET_PATH), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetWindowLongW(Item(IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
}

TEST_F(ZelbrinDialog, StartsInSplitModeByPiecesWithUnitsHidden) {
    EXPECT_EQ(ui::Text(dialog_), kZelbrinCaption);
    const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    EXPECT_TRUE(Checked(IDC_MODE_SPLIT));
    EXPECT_FALSE(Checked(IDC_MODE_JOIN));
    EXPECT_TRUE(Checked(IDC_METHOD_PIECES));
    EXPECT_FALSE(Checked(IDC_METHOD_SIZE));
    EXPECT_FALSE(Checked(IDC_METHOD_KEYWORD));
    EXPECT_TRUE(Checked(IDC_UNIT_KBS)) << "KBs is the initial unit";
    EXPECT_FALSE(Checked(IDC_UNIT_MBS));
    EXPECT_FALSE(Checked(IDC_UNIT_BYTES));
    EXPECT_FALSE(Checked(IDC_BATCH_FILE));
    EXPECT_FALSE(Checked(IDC_CRC_CHECK));
    for (int id : kUnitControls)
        EXPECT_FALSE(Visible(id)) << id;
    EXPECT_EQ(TextOf(IDC_VALUE_LABEL), L"&No of Pieces");
    EXPECT_EQ(TextOf(IDOK), L"&Split");
    for (int id : {IDC_SOURCE_PATH, IDC_TARGET_PATH, IDC_VALUE})
        EXPECT_EQ(TextOf(id), L"") << id;
    EXPECT_EQ(ProgressPos(), 0);
    for (const ControlSpec& c : kTemplate) {
        if (c.id != IDC_GROUP_STATIC) {
            EXPECT_TRUE(Enabled(c.id)) << c.id;
        }
    }
    EXPECT_EQ(ui::FocusOf(dialog_), Item(IDC_SOURCE_BUTTON))
        << "the focus starts on Source File...";
    EXPECT_EQ(SendMessageW(Item(IDC_VALUE), EM_GETLIMITTEXT, 0, 0), 25);
}

TEST_F(ZelbrinDialog, EachMethodSetsLabelUnitsAndEmptiesTheValue) {
    struct {
        int radio;
        const wchar_t* label;
        bool unitsShown;
    } const rows[] = {
        {IDC_METHOD_SIZE, L"&Size per piece", true},  {IDC_METHOD_KEYWORD, L"&Keyword", false},
        {IDC_METHOD_PIECES, L"&No of Pieces", false}, {IDC_METHOD_SIZE, L"&Size per piece", true},
        {IDC_METHOD_SIZE, L"&Size per piece", true}, // the method already chosen empties too
    };
    for (const auto& row : rows) {
        SetTextOf(IDC_VALUE, L"12345");
        Click(row.radio);
        EXPECT_EQ(TextOf(IDC_VALUE_LABEL), row.label) << row.radio;
        EXPECT_EQ(TextOf(IDC_VALUE), L"") << row.radio;
        for (int id : kUnitControls)
            EXPECT_EQ(Visible(id), row.unitsShown) << "radio " << row.radio << " unit " << id;
        for (const ControlSpec& c : kTemplate) {
            if (c.id != IDC_GROUP_STATIC) {
                EXPECT_TRUE(Enabled(c.id)) << "radio " << row.radio << " control " << c.id;
            }
        }
        EXPECT_EQ(TextOf(IDOK), L"&Split");
    }
}

TEST_F(ZelbrinDialog, JoinDisablesSplitControlsAndSplitEnablesThemAgain) {
    Click(IDC_METHOD_SIZE); // units shown
    Click(IDC_MODE_JOIN);
    EXPECT_EQ(TextOf(IDOK), L"&Join");
    for (int id : kSplitOnly)
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : kAlwaysEnabled)
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kUnitControls)
        EXPECT_TRUE(Visible(id)) << "join leaves the units as the method left them: " << id;
    EXPECT_EQ(TextOf(IDC_VALUE_LABEL), L"&Size per piece");

    Click(IDC_MODE_SPLIT);
    EXPECT_EQ(TextOf(IDOK), L"&Split");
    for (int id : kSplitOnly)
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kUnitControls)
        EXPECT_TRUE(Visible(id)) << id;
}

TEST_F(ZelbrinDialog, ModeSwitchForgetsPathsAndProgressButKeepsValueOptionsAndUnit) {
    Click(IDC_METHOD_SIZE);
    Click(IDC_UNIT_MBS);
    Tick(IDC_BATCH_FILE);
    Tick(IDC_CRC_CHECK);
    for (int mode :
         {IDC_MODE_JOIN, IDC_MODE_SPLIT, IDC_MODE_SPLIT}) { // also the radio of the mode in force
        SetTextOf(IDC_SOURCE_PATH, L"C:\\data\\big.zip");
        SetTextOf(IDC_TARGET_PATH, L"C:\\data\\");
        SetTextOf(IDC_VALUE, L"7");
        SendMessageW(Item(IDC_PROGRESS), PBM_SETPOS, 40, 0);
        Click(mode);
        EXPECT_EQ(TextOf(IDC_SOURCE_PATH), L"") << mode;
        EXPECT_EQ(TextOf(IDC_TARGET_PATH), L"") << mode;
        EXPECT_EQ(ProgressPos(), 0) << mode;
        EXPECT_EQ(TextOf(IDC_VALUE), L"7") << mode;
        EXPECT_TRUE(Checked(IDC_BATCH_FILE)) << mode;
        EXPECT_TRUE(Checked(IDC_CRC_CHECK)) << mode;
        EXPECT_TRUE(Checked(IDC_UNIT_MBS)) << mode;
        EXPECT_FALSE(Checked(IDC_UNIT_KBS)) << mode;
        EXPECT_TRUE(Checked(IDC_METHOD_SIZE)) << "the method stays: " << mode;
    }
}

TEST_F(ZelbrinDialog, CancelEndsTheProgramWithExitCodeZero) {
    Click(IDCANCEL);
    ASSERT_TRUE(app_.WaitExit());
    EXPECT_EQ(app_.ExitCode(), 0u);
}

TEST_F(ZelbrinDialog, SystemCloseEndsTheProgram) {
    PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(app_.WaitExit());
    EXPECT_EQ(app_.ExitCode(), 0u);
}

} // namespace
