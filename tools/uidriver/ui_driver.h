#pragma once
// End-to-end test driver: starts a real program, finds its windows and
// controls, presses buttons, answers boxes and dialogs and reads their texts,
// all from another process as a user's actions would arrive.
//
// Buttons are pressed with posted WM_COMMAND messages, never sent ones: a
// program shows its boxes from inside the click handler, so a sent message
// would block the test until the box it is meant to answer is closed.
#include "support/handles_win.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/text.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

constexpr int kDefaultTimeoutMs = 15000;

// A program started for a test; terminated when the object goes away, so a
// failing test never leaves a window behind for the next one.
class Process {
  public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    // exe: full path. args: the command-line text after the program name
    // (passed as-is). workdir: the working directory the program starts in.
    // The pointer is first parked in the screen's corner, where no window of
    // the program appears, so no real mouse motion reaches the program while
    // a test drives it with posted input.
    static Process Start(const std::filesystem::path& exe, const std::wstring& args,
                         const std::filesystem::path& workdir);

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_.Get(); }
    bool Running() const;
    // Waits for the program to end by itself; false on time-out.
    bool WaitExit(int timeoutMs = kDefaultTimeoutMs) const;
    DWORD ExitCode() const;
    void Kill();

  private:
    support::UniqueHandle handle_;
    DWORD id_ = 0;
};

// Polls until pred() holds; false on time-out.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = kDefaultTimeoutMs,
               int stepMs = 20);

// Visible top-level windows of a process, in z-order.
std::vector<HWND> TopWindows(DWORD pid);
// Every top-level window of a process, hidden ones included.
std::vector<HWND> AllTopWindows(DWORD pid);
// First visible top-level window of pid whose class (if given) and title (if
// given) match exactly; nullptr on time-out.
HWND WaitForWindow(DWORD pid, const std::wstring& cls, const std::wstring& title = {},
                   int timeoutMs = kDefaultTimeoutMs);
// True when hwnd is no longer a visible window.
bool WaitGone(HWND hwnd, int timeoutMs = kDefaultTimeoutMs);

std::wstring Text(HWND hwnd);
void SetText(HWND hwnd, const std::wstring& text);
std::wstring ClassName(HWND hwnd);
bool IsVisible(HWND hwnd);
bool IsEnabled(HWND hwnd);
RECT ClientRectOnScreen(HWND hwnd);
RECT WindowRectOnScreen(HWND hwnd);

// Child control by id (direct child), or the first descendant of a class
// (and text, if given).
HWND Child(HWND parent, int id);
HWND FindDescendant(HWND parent, const std::wstring& cls, const std::wstring& text = {});
std::vector<HWND> Descendants(HWND parent);

// Presses a button the way a click would reach its owner: BN_CLICKED posted
// to the parent.
void Click(HWND button);
// Posts WM_COMMAND with an id to a window (menu items, accelerators).
void PostCommand(HWND window, int id);
bool IsChecked(HWND button);

// A standard message box (a #32770 dialog with the text static 65535).
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;
    std::vector<int> buttons; // ids of the visible push buttons (IDOK, IDYES, ...)
    bool hasIcon = false;
};
// Waits for a message box of pid; std::nullopt on time-out.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, int timeoutMs = kDefaultTimeoutMs);
MessageBoxInfo ReadMessageBox(HWND box);
// Answers a box with one of its buttons (IDOK, IDYES, IDNO, IDCANCEL) and
// waits until it is destroyed, so the code that showed it has gone on;
// false if it stayed.
bool Answer(HWND box, int buttonId, int timeoutMs = kDefaultTimeoutMs);
// Any visible #32770 dialog of pid whose title matches (empty: any).
HWND WaitForDialog(DWORD pid, const std::wstring& title = {}, int timeoutMs = kDefaultTimeoutMs);

// Waits until the thread that owns `window` has answered a sent message: it
// is then back in a message loop, its own or that of a box it shows. A box
// is a window before its loop runs, so once a program has settled after the
// last box a test answered, HasDialog tells whether the program went on to
// show another one. False when the program does not answer in time.
bool Settle(HWND window, int timeoutMs = kDefaultTimeoutMs);
// Whether pid has a dialog (a box, a chooser), shown or about to be shown;
// `except` (the program's own main dialog) does not count.
bool HasDialog(DWORD pid, HWND except = nullptr);

// The common open-file dialog: types a full path into the file-name field and
// confirms it with OK. False if the dialog does not close.
bool AnswerOpenFileDialog(HWND dialog, const std::wstring& path, int timeoutMs = kDefaultTimeoutMs);
// Cancels any dialog with IDCANCEL.
bool CancelDialog(HWND dialog, int timeoutMs = kDefaultTimeoutMs);

// Pixels of a window's client area as the screen shows them.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, row-major from the top
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    bool SaveBmp(const std::filesystem::path& file) const;
};
Image CaptureClient(HWND hwnd);
inline uint32_t Rgb(int r, int g, int b) {
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}
// True when the colours differ by at most tol in each channel.
bool ColorNear(uint32_t a, uint32_t b, int tol = 8);

// Temporary folders, whole files and text conversion come from the support
// libraries, under the driver's names.
using support::Narrow;
using support::Widen;
using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

// Folder of the running test executable; the programs under test are built
// beside it.
std::filesystem::path ExeDir();

} // namespace ui
