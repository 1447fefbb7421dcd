#include "ui_driver.h"

#include "support/testing/wait.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace ui {

// ---- Process ----------------------------------------------------------------

Process::Process(Process&& other) noexcept
    : handle_(std::move(other.handle_)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        handle_ = std::move(other.handle_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
}

Process Process::Start(const std::filesystem::path& exe, const std::wstring& args,
                       const std::filesystem::path& workdir) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    std::wstring cmd = L"\"" + exe.wstring() + L"\"";
    if (!args.empty())
        cmd += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring wd = workdir.wstring();
    if (!CreateProcessW(exe.wstring().c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        wd.empty() ? nullptr : wd.c_str(), &si, &pi))
        throw std::runtime_error("cannot start " + Narrow(exe.wstring()) + ", error " +
                                 std::to_string(GetLastError()));
    const support::UniqueHandle thread(pi.hThread);
    Process p;
    p.handle_.Reset(pi.hProcess);
    p.id_ = pi.dwProcessId;
    return p;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(int timeoutMs) const {
    return handle_ && WaitForSingleObject(handle_.Get(), DWORD(timeoutMs)) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (handle_)
        GetExitCodeProcess(handle_.Get(), &code);
    return code;
}

void Process::Kill() {
    if (!handle_)
        return;
    if (Running()) {
        TerminateProcess(handle_.Get(), 1);
        WaitForSingleObject(handle_.Get(), 5000);
    }
    handle_.Reset();
    id_ = 0;
}

// ---- Waiting and windows ------------------------------------------------------

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs, int stepMs) {
    return support::testing::WaitUntil(pred, std::chrono::milliseconds(timeoutMs),
                                       std::chrono::milliseconds(stepMs));
}

std::vector<HWND> AllTopWindows(DWORD pid) {
    struct Ctx {
        DWORD pid;
        std::vector<HWND> found;
    } ctx{pid, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(h, &owner);
            if (owner == c->pid)
                c->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::vector<HWND> TopWindows(DWORD pid) {
    std::vector<HWND> windows = AllTopWindows(pid);
    std::erase_if(windows, [](HWND h) { return !IsWindowVisible(h); });
    return windows;
}

static HWND FindTop(DWORD pid, const std::wstring& cls, const std::wstring& title) {
    for (HWND h : TopWindows(pid)) {
        if (!cls.empty() && ClassName(h) != cls)
            continue;
        if (!title.empty() && Text(h) != title)
            continue;
        return h;
    }
    return nullptr;
}

HWND WaitForWindow(DWORD pid, const std::wstring& cls, const std::wstring& title, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTop(pid, cls, title)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitGone(HWND hwnd, int timeoutMs) {
    return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeoutMs);
}

std::wstring Text(HWND hwnd) {
    // WM_GETTEXT is marshalled across processes; GetWindowText is not for
    // other processes' controls.
    LRESULT len = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring s(size_t(len) + 1, L'\0');
    LRESULT got =
        SendMessageW(hwnd, WM_GETTEXT, WPARAM(s.size()), reinterpret_cast<LPARAM>(s.data()));
    s.resize(size_t(got));
    return s;
}

void SetText(HWND hwnd, const std::wstring& text) {
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ClassName(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

bool IsVisible(HWND hwnd) {
    return hwnd && IsWindowVisible(hwnd);
}
bool IsEnabled(HWND hwnd) {
    return hwnd && IsWindowEnabled(hwnd);
}

RECT ClientRectOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowRectOnScreen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

HWND Child(HWND parent, int id) {
    return GetDlgItem(parent, id);
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND FindDescendant(HWND parent, const std::wstring& cls, const std::wstring& text) {
    for (HWND h : Descendants(parent)) {
        if (ClassName(h) == cls && (text.empty() || Text(h) == text))
            return h;
    }
    return nullptr;
}

// ---- Input ----------------------------------------------------------------------

void Click(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void PostCommand(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// ---- Boxes and dialogs ----------------------------------------------------------

static bool IsDialog(HWND h) {
    return ClassName(h) == L"#32770";
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    info.title = Text(box);
    if (HWND t = GetDlgItem(box, 0xFFFF))
        info.text = Text(t);
    HWND icon = GetDlgItem(box, 1088);
    info.hasIcon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    for (HWND h : Descendants(box)) {
        if (ClassName(h) == L"Button" && IsWindowVisible(h))
            info.buttons.push_back(GetDlgCtrlID(h));
    }
    return info;
}

static bool IsMessageBox(HWND h) {
    return IsDialog(h) && GetDlgItem(h, 0xFFFF) != nullptr;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, int timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : TopWindows(pid)) {
                if (IsMessageBox(h)) {
                    found = h;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (!found)
        return std::nullopt;
    return ReadMessageBox(found);
}

bool Answer(HWND box, int buttonId, int timeoutMs) {
    HWND button = GetDlgItem(box, buttonId);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return WaitUntil([&] { return !IsWindow(box); }, timeoutMs);
}

HWND WaitForDialog(DWORD pid, const std::wstring& title, int timeoutMs) {
    return WaitForWindow(pid, L"#32770", title, timeoutMs);
}

bool Settle(HWND window, int timeoutMs) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, UINT(timeoutMs), &ignored) != 0;
}

bool HasDialog(DWORD pid, HWND except) {
    for (HWND h : AllTopWindows(pid)) {
        if (h != except && IsDialog(h))
            return true;
    }
    return false;
}

bool AnswerOpenFileDialog(HWND dialog, const std::wstring& path, int timeoutMs) {
    // The file-name field is a ComboBoxEx (1148) holding an edit; older
    // layouts have a plain edit 1152.
    HWND field = nullptr;
    WaitUntil(
        [&] {
            if (HWND combo = GetDlgItem(dialog, 1148))
                field = FindDescendant(combo, L"Edit");
            if (!field)
                field = GetDlgItem(dialog, 1152);
            return field != nullptr;
        },
        timeoutMs);
    if (!field)
        return false;
    SetText(field, path);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitUntil([&] { return !IsWindow(dialog); }, timeoutMs);
}

bool CancelDialog(HWND dialog, int timeoutMs) {
    return Answer(dialog, IDCANCEL, timeoutMs);
}

// ---- Pixels -----------------------------------------------------------------------

Image CaptureClient(HWND hwnd) {
    RECT r = ClientRectOnScreen(hwnd);
    Image img;
    img.width = r.right - r.left;
    img.height = r.bottom - r.top;
    if (img.width <= 0 || img.height <= 0)
        return img;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = img.width;
    bi.bmiHeader.biHeight = -img.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, img.width, img.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    img.pixels.assign(px, px + size_t(img.width) * img.height);
    for (auto& p : img.pixels)
        p &= 0x00FFFFFF;
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return img;
}

bool Image::SaveBmp(const std::filesystem::path& file) const {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = -height;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    DWORD data = DWORD(pixels.size() * 4);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + data;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    out.write(reinterpret_cast<const char*>(pixels.data()), data);
    return bool(out);
}

bool ColorNear(uint32_t a, uint32_t b, int tol) {
    for (int shift = 0; shift <= 16; shift += 8) {
        int ca = int(a >> shift & 0xFF), cb = int(b >> shift & 0xFF);
        if (ca - cb > tol || cb - ca > tol)
            return false;
    }
    return true;
}

// ---- Files ---------------------------------------------------------------------------

std::filesystem::path ExeDir() {
    std::wstring buf(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    buf.resize(n);
    return std::filesystem::path(buf).parent_path();
}

} // namespace ui
