#include "form1_win.h"

#include "command_ui_win.h"
#include "commands_win.h"
#include "file_dialog_win.h"
#include "resource.h"

#include "core/commands/failure_box.h"
#include "core/commands/open_entry.h"
#include "core/grid/reload.h"
#include "core/grid/row_selection.h"
#include "core/platform/file_services.h"
#include "core/records/cache_pruning.h"
#include "support/text.h"

#include <commctrl.h>

#include <vector>

namespace ombriel {
namespace {

constexpr wchar_t kClassName[] = L"OmbrielForm1";

// Design rectangles in twips: left, top, width, height.
struct TwipRect {
    int left, top, width, height;
};
constexpr TwipRect kGridRect{660, 600, 9975, 6075};

// The five push buttons in tab order; BtnEsci sits 60 twips lower.
struct ButtonDesign {
    int id;
    const wchar_t* caption;
    TwipRect rect;
};
constexpr ButtonDesign kButtons[] = {
    {IDC_BTN_ADDFILE, L"AGGIUNGI &FILE", {660, 7260, 1755, 495}},
    {IDC_BTN_ADDLINK, L"AGGIUNGI &LINK", {2580, 7260, 1755, 495}},
    {IDC_BTN_MODIFICA, L"&MODIFICA", {4560, 7260, 1455, 495}},
    {IDC_BTN_ELIMINA, L"&ELIMINA", {6240, 7260, 1455, 495}},
    {IDC_BTN_ESCI, L"&ESCI", {8940, 7320, 1635, 495}},
};
// The buttons read-only mode hides: AGGIUNGI FILE, MODIFICA, ELIMINA.
constexpr int kEditingButtons[] = {0, 2, 3};

constexpr int kOuterWidth = 11500;
constexpr int kOuterHeight = 8900;
// The focus mark frames a button with the design's margin: 4 pixels at 96 DPI,
// visible around the button, which is drawn above it.
constexpr int kFocusMarkMargin = 60;

HFONT MakeFont(int hundredthsOfPoint, int dpi, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(hundredthsOfPoint, dpi, 7200);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    // The scalable face of MS Sans Serif.
    lstrcpyW(lf.lfFaceName, L"Microsoft Sans Serif");
    return CreateFontIndirectW(&lf);
}

} // namespace

bool Form1::ReadOnly() const {
    return IsReadOnlyArg(support::Narrow(CommandArg_));
}

bool Form1::Create(const std::wstring& commandArg, int showCommand) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Form1::WndProc;
    wc.hInstance = inst;
    wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(IDI_OMBRIEL));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr; // painted by the window itself
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"OMBRIEL",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, inst, this);
    if (!hwnd_)
        return false;
    dpi_ = int(GetDpiForWindow(hwnd_));
    CreateMenu();
    CreateControls();
    linkMarks_.Start(hwnd_, Fgrid.Hwnd());
    CommandArg_ = commandArg;
    StartUp();
    ConnectRowActions();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetFocus(Fgrid.Hwnd());
    return true;
}

void Form1::CreateMenu() {
    HMENU bar = ::CreateMenu();
    HMENU mnuImp = CreatePopupMenu();
    AppendMenuW(mnuImp, MF_STRING, IDM_PER_AR, L"Percorso &Acrobat Reader");
    AppendMenuW(mnuImp, MF_STRING, IDM_PER_WRD, L"Percorso &Word");
    AppendMenuW(mnuImp, MF_STRING, IDM_PER_EXC, L"Percorso &Excel");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuImp), L"&Impostazioni");
    SetMenu(hwnd_, bar);
}

void Form1::CreateControls() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    // Creation order is the tab order: the grid first, then the buttons.
    Fgrid.Create(hwnd_, IDC_FGRID);
    ConnectGrid();
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        buttons_[i] = CreateWindowExW(
            0, L"BUTTON", kButtons[i].caption,
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 0, 10, 10, hwnd_,
            reinterpret_cast<HMENU>(INT_PTR(kButtons[i].id)), inst, nullptr);
    }
    LayoutControls();
}

void Form1::ConnectGrid() {
    Fgrid.onClick = [this] { OnGridClick(); };
    Fgrid.onDoubleClick = [this] { OnGridDoubleClick(); };
    // The chosen row's hint follows its link's mark.
    linkMarks_.onMarkChanged = [this](int row) {
        if (row == SelectedRow_ && row == gridModel_.Row())
            OnGridClick();
    };
    // The keys do what the buttons do, and only where the buttons are shown.
    Fgrid.onDeleteKey = [this] {
        Busy busy(*this);
        if (!ReadOnly())
            DeleteEntry(*this);
    };
    Fgrid.onEditKey = [this] {
        Busy busy(*this);
        if (!ReadOnly())
            ModifyDescription(*this);
    };
}

void Form1::LayoutControls() {
    // The controls let go of the old fonts before those are deleted.
    support::UniqueFont oldButtonFont(buttonFont_.Release());
    support::UniqueFont oldGridFont(gridFont_.Release());
    buttonFont_.Reset(MakeFont(825, dpi_, true));
    gridFont_.Reset(MakeFont(975, dpi_, false));
    auto place = [&](HWND w, const TwipRect& r) {
        MoveWindow(w, Px(r.left), Px(r.top), Px(r.width), Px(r.height), TRUE);
    };
    place(Fgrid.Hwnd(), kGridRect);
    Fgrid.SetFont(gridFont_.Get());
    Fgrid.ApplyDpi(dpi_);
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        place(buttons_[i], kButtons[i].rect);
        SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), TRUE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::StartUp() {
    CenterForm();
    LoadBackground();
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring cwd(n, L'\0');
    cwd.resize(GetCurrentDirectoryW(n, cwd.data()));
    StartFolder_ = cwd;
    SetWindowTextW(hwnd_, (L"OMBRIEL - Vers. " + VersionText()).c_str());
    LoadSettings();
    const std::filesystem::path doc = StartFolder_ / L"Doc";
    const std::filesystem::path cacheFolder = platform_.LocalCacheFolder();
    const std::filesystem::path cacheFile =
        cacheFolder.empty() ? cacheFolder
                            : RecordCacheFile(cacheFolder, support::Utf8FromPath(doc));
    store_ = std::make_unique<RecordStore>(platform_, doc, cacheFile);
    StartWatching(); // before the first reading: no change after it is missed
    if (ReloadRecords()) {
        // The header and widths of an empty grid all the same.
        FormatGrid(gridModel_, ReadOnly());
        Fgrid.Refresh();
    }
    RemoveLeftoverTemporaries(platform_, doc, store_->Temporaries());
    PruneOldCaches(platform_, cacheFolder, cacheFile);
    if (ReadOnly()) {
        for (int i : kEditingButtons)
            ShowWindow(buttons_[i], SW_HIDE);
    }
}

void Form1::CenterForm() {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    const int w = Px(kOuterWidth);
    const int h = Px(kOuterHeight);
    const RECT& s = mi.rcMonitor;
    SetWindowPos(hwnd_, nullptr, s.left + (s.right - s.left - w) / 2,
                 s.top + (s.bottom - s.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::LoadBackground() {
    // A missing or unreadable picture leaves the plain background, silently.
    background_.Load(L"Img\\Sfondo.jpg");
    InvalidateRect(hwnd_, nullptr, TRUE);
}

std::wstring Form1::VersionText() const {
    std::vector<wchar_t> exe(32768);
    GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size()));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.data(), &ignored);
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (size == 0 || !GetFileVersionInfoW(exe.data(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info)
        return L"0.0.0";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

std::optional<SelectedEntry> Form1::ChosenEntry() const {
    if (SelectedRow_ < 1 || SelectedRow_ >= gridModel_.Rows())
        return std::nullopt;
    return SelectedEntry{std::string(gridModel_.TextMatrix(SelectedRow_, 1)),
                         std::string(gridModel_.TextMatrix(SelectedRow_, 2))};
}

Error Form1::ReloadRecords() {
    watcher_.ReadingStarts();
    const Error listing = ombriel::ReloadRecords(gridModel_, *store_, ReadOnly());
    watcher_.ReadingEnds();
    if (!listing) {
        Fgrid.Refresh();
        SelectedRow_ = 0;
        linkMarks_.Reload(store_->Records(), StartFolder_);
    }
    // This reading is newer than any change a waiting refresh would show.
    refreshPending_ = false;
    DocListed(listing, files_.Exists(StartFolder_ / L"Doc"));
    return listing;
}

void Form1::OnGridClick() {
    const RowClick click = ClickRow(gridModel_.Row(), gridModel_.Col(), [&](int row, int col) {
        return std::string(gridModel_.TextMatrix(row, col));
    });
    SelectedRow_ = click.selectedRow;
    Fgrid.SetToolTipText(RowHint(SelectedRow_, click.hint));
}

std::string Form1::RowHint(int row, const std::string& plainHint) const {
    if (row == 0 || gridModel_.TextMatrix(row, 0) != kMissingDocumentMark)
        return plainHint;
    return MissingDocumentHint(
        DocumentPath(gridModel_.TextMatrix(row, 2), support::Utf8FromPath(StartFolder_)));
}

void Form1::OnGridDoubleClick() {
    Busy busy(*this);
    const int row = gridModel_.Row();
    const std::string nameOrPath = row >= 1 && row < gridModel_.Rows()
                                       ? std::string(gridModel_.TextMatrix(row, 2))
                                       : std::string();
    const bool missing = row >= 1 && row < gridModel_.Rows() &&
                         gridModel_.TextMatrix(row, 0) == kMissingDocumentMark;
    WinCommandUi ui(hwnd_);
    if (linkMarks_.ReportIfMissing(row, ui))
        return;
    OpenEntry(hwnd_, row, nameOrPath, StartFolder_, viewers_, missing, files_);
}

void Form1::LoadSettings() {
    const std::filesystem::path file = StartFolder_ / L"Ombriel.ini";
    if (Error e = ombriel::LoadSettings(platform_, file, viewers_))
        ShowError(e, file);
}

void Form1::SaveSettings() {
    const std::filesystem::path file = StartFolder_ / L"Ombriel.ini";
    if (Error e = ombriel::SaveSettings(platform_, file, viewers_))
        ShowError(e, file);
}

void Form1::ShowError(const Error& error, const std::filesystem::path& file) const {
    WinCommandUi ui(hwnd_);
    ShowFailure(ui, error, file);
}

void Form1::RestoreStartFolder() const {
    // The full path sets the drive and the directory on it in one step.
    SetCurrentDirectoryW(StartFolder_.c_str());
}

void Form1::ChooseViewerPath(std::string& value) {
    const ChosenPath chosen = ShowOpen(hwnd_);
    if (!chosen.Chosen())
        return;
    value = support::Narrow(chosen.fullPath);
    RestoreStartFolder();
    SaveSettings();
}

void Form1::MoveFocusMark(short top, short left, short height, short width) {
    shapeVisible_ = false;
    shapeTwips_ = RECT{left - kFocusMarkMargin, top - kFocusMarkMargin,
                       left + width + kFocusMarkMargin, top + height + kFocusMarkMargin};
    shapeVisible_ = true;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::OnButtonFocus(HWND button) {
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        if (buttons_[i] == button) {
            const TwipRect& r = kButtons[i].rect;
            MoveFocusMark(short(r.top), short(r.left), short(r.height), short(r.width));
        }
    }
}

void Form1::OnCommand(int id, int code, HWND control) {
    if (control && code == BN_SETFOCUS) {
        OnButtonFocus(control);
        return;
    }
    if (control && code != BN_CLICKED)
        return;
    Busy busy(*this);
    switch (id) {
    case IDC_BTN_ADDFILE:
        AddFileEntry(*this);
        break;
    case IDC_BTN_ADDLINK:
        AddLinkEntry(*this);
        break;
    case IDC_BTN_MODIFICA:
        ModifyDescription(*this);
        break;
    case IDC_BTN_ELIMINA:
        DeleteEntry(*this);
        break;
    case IDC_BTN_ESCI:
        DestroyWindow(hwnd_);
        break;
    case IDM_PER_AR:
        ChooseViewerPath(viewers_.PathAR);
        break;
    case IDM_PER_WRD:
        ChooseViewerPath(viewers_.PathWrd);
        break;
    case IDM_PER_EXC:
        ChooseViewerPath(viewers_.PathExc);
        break;
    default:
        OnRowCommand(id);
        break;
    }
}

void Form1::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (shapeVisible_) {
        RECT r{Px(shapeTwips_.left), Px(shapeTwips_.top), Px(shapeTwips_.right),
               Px(shapeTwips_.bottom)};
        support::UniqueBrush black(CreateSolidBrush(RGB(0, 0, 0)));
        const int thickness = dpi_ >= 144 ? 2 : 1;
        for (int i = 0; i < thickness; ++i) {
            FrameRect(dc, &r, black.Get());
            InflateRect(&r, -1, -1);
        }
    }
    EndPaint(hwnd_, &ps);
}

void Form1::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
}

LRESULT CALLBACK Form1::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form1* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    return self ? self->HandleMessage(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (linkMarks_.HandleMessage(msg, wp, lp))
        return 0;
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnRowNotify(reinterpret_cast<NMHDR*>(lp), result))
            return result;
        if (Fgrid.Hwnd() && Fgrid.HandleNotify(reinterpret_cast<NMHDR*>(lp), result))
            return result;
        break;
    }
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        background_.Draw(dc, dpi_);
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wp), *reinterpret_cast<RECT*>(lp));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case kMsgRunDrops:
        RunDrops();
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case kDocChangedMessage:
        OnDocChanged();
        return 0;
    case WM_DESTROY:
        dropTarget_.Revoke();
        watcher_.Stop();
        if (store_)
            store_->SaveCacheIfChanged();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace ombriel
