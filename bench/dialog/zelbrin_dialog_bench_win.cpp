// A split and a join through Zelbrin.exe's own dialog, timed as the user
// waits: from the answer to the confirmation until the final box. Measures
// what the engine benches cannot: the program around the engine (its
// threads, its progress messages). Prints one line, "split <s> join <s>".
// CRC Check is ticked unless the last argument is 0 (then the join has no
// .CRC file to check against).
//   zelbrin_dialog_bench <Zelbrin.exe> <source> <empty work folder> [crc 0|1]
#include "ui_driver.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kLongest = 30 * 60 * 1000;
constexpr int kPollMs = 50;

enum Control {
    kSource = 1000,
    kTarget = 1002,
    kValue = 1006,
    kSplitRadio = 1021,
    kJoinRadio = 1022,
    kPiecesMethod = 1016,
    kCrcCheck = 1020,
};

// A box of the program: a dialog of its own other than the main one.
HWND WaitForBox(DWORD pid, HWND dialog, int timeoutMs) {
    HWND box = nullptr;
    ui::WaitUntil(
        [&] {
            for (HWND w : ui::TopWindows(pid))
                if (w != dialog && ui::ClassName(w) == L"#32770")
                    box = w;
            return box != nullptr;
        },
        timeoutMs, kPollMs);
    return box;
}

// Answers Yes to the confirmation the operation asks and returns the seconds
// until its final box, which it closes; negative when something else happened.
double ConfirmAndTime(DWORD pid, HWND dialog) {
    const HWND question = WaitForBox(pid, dialog, 10000);
    if (!question)
        return -1;
    const auto start = std::chrono::steady_clock::now();
    if (!ui::Answer(question, IDYES))
        return -1;
    const HWND done = WaitForBox(pid, dialog, kLongest);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::wstring text = done ? ui::ReadMessageBox(done).text : L"-";
    if (text.find(L"Successfully") == std::wstring::npos) {
        std::fprintf(stderr, "the operation ended with: %ls\n", text.c_str());
        return -1;
    }
    ui::Answer(done, IDOK);
    return seconds;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(
            stderr, "usage: zelbrin_dialog_bench <Zelbrin.exe> <source> <work folder> [crc 0|1]\n");
        return 2;
    }
    const bool crc = argc < 5 || std::wstring(argv[4]) != L"0";
    const fs::path exe = argv[1], source = argv[2], work = argv[3];
    const fs::path pieces = work / "pieces", joined = work / "joined";
    fs::create_directories(pieces);
    fs::create_directories(joined);

    ui::Process app = ui::Process::Start(exe, L"", exe.parent_path());
    HWND dialog = ui::WaitForWindow(app.Id(), L"#32770");
    if (!dialog)
        return 1;
    auto item = [&](int id) { return ui::Child(dialog, id); };

    SendMessageW(item(kPiecesMethod), BM_CLICK, 0, 0);
    SendMessageW(item(kCrcCheck), BM_SETCHECK, crc ? BST_CHECKED : BST_UNCHECKED, 0);
    ui::SetText(item(kSource), source.native());
    ui::SetText(item(kTarget), pieces.native());
    ui::SetText(item(kValue), L"8");
    ui::Click(item(IDOK));
    const double split = ConfirmAndTime(app.Id(), dialog);

    // Settle: the dialog has given its controls back before the next click.
    ui::WaitUntil([&] { return ui::IsEnabled(item(IDOK)); }, kLongest, kPollMs);
    SendMessageW(item(kJoinRadio), BM_CLICK, 0, 0);
    const fs::path first =
        pieces / (source.stem().native() + L"_" + source.extension().native().substr(1) + L".1");
    ui::SetText(item(kSource), first.native());
    ui::SetText(item(kTarget), joined.native());
    ui::Click(item(IDOK));
    const double join = ConfirmAndTime(app.Id(), dialog);

    PostMessageW(dialog, WM_CLOSE, 0, 0);
    app.WaitExit(10000);
    if (split < 0 || join < 0)
        return 1;
    std::printf("split %.3f join %.3f\n", split, join);
    return 0;
}
