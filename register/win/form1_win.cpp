#include "form1_win.h"

#include "commands_win.h"
#include "file_dialog_win.h"
#include "resource.h"

#include "core/reload.h"
#include "core/wide_text.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr wchar_t kClassName[] = L"OmbrielForm1";

// Design rectangles in twips: left, top, width, height.
struct TwipRect {
    int left, top, width, height;
};
constexpr TwipRect kGridRect{660, 600, 9975, 6075};
constexpr TwipRect kAddFileRect{660, 7260, 1755, 495};
constexpr TwipRect kAddLinkRect{2580, 7260, 1755, 495};
constexpr TwipRect kModificaRect{4560, 7260, 1455, 495};
constexpr TwipRect kEliminaRect{6240, 7260, 1455, 495};
constexpr TwipRect kEsciRect{8940, 7320, 1635, 495};
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

Form1::~Form1() {
    if (buttonFont_) {
        DeleteObject(buttonFont_);
    }
    if (gridFont_) {
        DeleteObject(gridFont_);
    }
}

bool Form1::ReadOnly() const {
    return ombriel::IsReadOnlyArg(ombriel::Narrow(CommandArg));
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
    if (!hwnd_) {
        return false;
    }
    dpi_ = int(GetDpiForWindow(hwnd_));
    CreateMenu();
    CreateControls();
    CommandArg = commandArg;
    StartUp();
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
    Fgrid.onClick = [this] { SelectRow(*this); };
    Fgrid.onDoubleClick = [this] { OpenEntry(*this); };
    // The keys do what the buttons do, and only where the buttons are shown.
    Fgrid.onDeleteKey = [this] {
        if (!ReadOnly()) {
            DeleteEntry(*this);
        }
    };
    Fgrid.onEditKey = [this] {
        if (!ReadOnly()) {
            ModifyDescription(*this);
        }
    };
    auto button = [&](const wchar_t* text, int id) {
        return CreateWindowExW(0, L"BUTTON", text,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 0,
                               10, 10, hwnd_, reinterpret_cast<HMENU>(INT_PTR(id)), inst, nullptr);
    };
    BtnAddFile = button(L"AGGIUNGI &FILE", IDC_BTN_ADDFILE);
    BtnAddLink = button(L"AGGIUNGI &LINK", IDC_BTN_ADDLINK);
    BtnModifica = button(L"&MODIFICA", IDC_BTN_MODIFICA);
    BtnElimina = button(L"&ELIMINA", IDC_BTN_ELIMINA);
    BtnEsci = button(L"&ESCI", IDC_BTN_ESCI);
    LayoutControls();
}

void Form1::LayoutControls() {
    // The controls let go of the old fonts before they are deleted.
    HFONT oldButtonFont = buttonFont_;
    HFONT oldGridFont = gridFont_;
    buttonFont_ = MakeFont(825, dpi_, true);
    gridFont_ = MakeFont(975, dpi_, false);
    auto place = [&](HWND w, const TwipRect& r) {
        MoveWindow(w, Px(r.left), Px(r.top), Px(r.width), Px(r.height), TRUE);
    };
    place(Fgrid.Hwnd(), kGridRect);
    Fgrid.SetFont(gridFont_);
    Fgrid.ApplyDpi(dpi_);
    const std::pair<HWND, TwipRect> buttons[] = {{BtnAddFile, kAddFileRect},
                                                 {BtnAddLink, kAddLinkRect},
                                                 {BtnModifica, kModificaRect},
                                                 {BtnElimina, kEliminaRect},
                                                 {BtnEsci, kEsciRect}};
    for (const auto& [w, r] : buttons) {
        place(w, r);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_), TRUE);
    }
    if (oldButtonFont) {
        DeleteObject(oldButtonFont);
    }
    if (oldGridFont) {
        DeleteObject(oldGridFont);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::StartUp() {
    CenterForm();
    LoadBackground();
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring cwd(n, L'\0');
    cwd.resize(GetCurrentDirectoryW(n, cwd.data()));
    StartFolder = cwd;
    StartDrive = cwd.empty() ? L'\0' : cwd[0];
    SetWindowTextW(hwnd_, (L"OMBRIEL - Vers. " + VersionText()).c_str());
    LoadSaveSettings("carica");
    ReloadRecords();
    if (ReadOnly()) {
        ShowWindow(BtnAddFile, SW_HIDE);
        ShowWindow(BtnModifica, SW_HIDE);
        ShowWindow(BtnElimina, SW_HIDE);
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
    DWORD size = GetFileVersionInfoSizeW(exe.data(), &ignored);
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (size == 0 || !GetFileVersionInfoW(exe.data(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info) {
        return L"0.0.0";
    }
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

void Form1::ReloadRecords() {
    ombriel::ReloadRecords(gridModel, platform, DocFolder(), ReadOnly());
    Fgrid.Refresh();
    SelectedRow = 0;
}

void Form1::LoadSaveSettings(const std::string& mode) {
    if (ombriel::Error e =
            ombriel::LoadSaveSettings(platform, StartFolder / L"Ombriel.ini", mode, viewers)) {
        ShowError(e);
    }
}

void Form1::ShowError(const ombriel::Error& error) const {
    std::wstring title = L"Errore " + std::to_wstring(error.number);
    MessageBoxW(hwnd_, ombriel::Widen(error.description).c_str(), title.c_str(), 0);
}

void Form1::RestoreStartFolder() const {
    // The full path sets the drive and the directory on it in one step.
    SetCurrentDirectoryW(StartFolder.c_str());
}

void Form1::ChooseViewerPath(std::string& value) {
    ChosenFile chosen = ShowOpen(hwnd_);
    if (!chosen.Chosen()) {
        return;
    }
    value = ombriel::Narrow(chosen.fullPath);
    RestoreStartFolder();
    LoadSaveSettings("salva");
}

void Form1::MoveFocusMark(short top, short left, short height, short width) {
    shapeVisible_ = false;
    shapeTwips_ = RECT{left - kFocusMarkMargin, top - kFocusMarkMargin,
                       left + width + kFocusMarkMargin, top + height + kFocusMarkMargin};
    shapeVisible_ = true;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::OnButtonFocus(HWND button) {
    const std::pair<HWND, TwipRect> buttons[] = {{BtnAddFile, kAddFileRect},
                                                 {BtnAddLink, kAddLinkRect},
                                                 {BtnModifica, kModificaRect},
                                                 {BtnElimina, kEliminaRect},
                                                 {BtnEsci, kEsciRect}};
    for (const auto& [w, r] : buttons) {
        if (w == button) {
            MoveFocusMark(short(r.top), short(r.left), short(r.height), short(r.width));
        }
    }
}

void Form1::OnCommand(int id, int code, HWND control) {
    if (control && code == BN_SETFOCUS) {
        OnButtonFocus(control);
        return;
    }
    if (control && code != BN_CLICKED) {
        return;
    }
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
        ChooseViewerPath(viewers.PathAR);
        break;
    case IDM_PER_WRD:
        ChooseViewerPath(viewers.PathWrd);
        break;
    case IDM_PER_EXC:
        ChooseViewerPath(viewers.PathExc);
        break;
    default:
        break;
    }
}

void Form1::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (shapeVisible_) {
        RECT r{Px(shapeTwips_.left), Px(shapeTwips_.top), Px(shapeTwips_.right),
               Px(shapeTwips_.bottom)};
        HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        const int thickness = dpi_ >= 144 ? 2 : 1;
        for (int i = 0; i < thickness; ++i) {
            FrameRect(dc, &r, black);
            InflateRect(&r, -1, -1);
        }
        DeleteObject(black);
    }
    EndPaint(hwnd_, &ps);
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
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (Fgrid.Hwnd() && Fgrid.HandleNotify(reinterpret_cast<NMHDR*>(lp), result)) {
            return result;
        }
        break;
    }
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        background_.Draw(dc);
        return 1;
    }
    case WM_PAINT:
        Paint();
        return 0;
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wp);
        const RECT* r = reinterpret_cast<RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        LayoutControls();
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}
