// The Doc watcher in-process, on real folders: a change, a Doc created after
// the start, a Doc taken away and brought back each reach the window as a
// posted message with the watcher's look at Doc; stopping ends the thread.
#include "doc_watcher_win.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "support/testing/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>

using namespace ombriel;
using support::testing::TempFolder;
using support::testing::WaitUntil;
using support::testing::WriteBytes;

namespace {

constexpr UINT kMessage = WM_APP + 7;

// A window of the test's own that only receives messages.
class MessageWindow {
  public:
    MessageWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {}
    ~MessageWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }

    // Waits for the watcher's message and hands it back to the watcher,
    // until `seen` holds for the watcher's look at Doc; false after 15 s.
    bool WaitFor(DocWatcher& watcher, const std::function<bool(uint32_t probe)>& seen) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        for (;;) {
            MSG msg;
            while (PeekMessageW(&msg, hwnd_, kMessage, kMessage, PM_REMOVE)) {
                watcher.Taken();
                if (seen(watcher.LastProbe()))
                    return true;
            }
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero())
                return false;
            MsgWaitForMultipleObjects(
                0, nullptr, FALSE,
                DWORD(std::chrono::duration_cast<std::chrono::milliseconds>(left).count()),
                QS_POSTMESSAGE);
        }
    }

  private:
    HWND hwnd_;
};

bool Reachable(uint32_t probe) {
    return probe == 0;
}

} // namespace

TEST(DocWatcher, ChangesAndALostDocReachTheWindowWithTheLookAtDoc) {
    TempFolder dir;
    const auto doc = dir.Path() / "Doc";
    std::filesystem::create_directories(doc);
    MessageWindow window;
    DocWatcher watcher;
    ASSERT_TRUE(watcher.Start(window.Get(), kMessage, doc, dir.Path()));

    WriteBytes(doc / "a.pdf.dat", "\"\"\r\n\"uno\"\r\n");
    EXPECT_TRUE(window.WaitFor(watcher, Reachable)) << "a new record was never reported";

    std::filesystem::rename(doc, dir.Path() / "Doc.via");
    EXPECT_TRUE(window.WaitFor(watcher, [](uint32_t p) { return p == ERROR_PATH_NOT_FOUND; }))
        << "Doc taken away was never reported as a path not found";

    std::filesystem::rename(dir.Path() / "Doc.via", doc);
    EXPECT_TRUE(window.WaitFor(watcher, Reachable)) << "Doc back was never reported";
    // The watch follows the path, not the folder it was first opened on.
    WriteBytes(doc / "b.pdf.dat", "\"\"\r\n\"due\"\r\n");
    EXPECT_TRUE(window.WaitFor(watcher, Reachable));

    watcher.Stop();
    watcher.Stop(); // a second stop, as the destructor's, does nothing
}

TEST(DocWatcher, DocCreatedAfterTheStartIsWatchedFromThen) {
    TempFolder dir;
    const auto doc = dir.Path() / "Doc";
    MessageWindow window;
    DocWatcher watcher;
    ASSERT_TRUE(watcher.Start(window.Get(), kMessage, doc, dir.Path()));
    std::filesystem::create_directories(doc);
    EXPECT_TRUE(window.WaitFor(watcher, Reachable)) << "the new Doc was never reported";
    WriteBytes(doc / "a.pdf.dat", "\"\"\r\n\"uno\"\r\n");
    EXPECT_TRUE(window.WaitFor(watcher, Reachable));
}

TEST(DocWatcher, PokeAsksForAMessageWithAFreshLookEvenWithNoChange) {
    TempFolder dir;
    const auto doc = dir.Path() / "Doc";
    std::filesystem::create_directories(doc);
    MessageWindow window;
    DocWatcher watcher;
    ASSERT_TRUE(watcher.Start(window.Get(), kMessage, doc, dir.Path()));
    watcher.Poke();
    EXPECT_TRUE(window.WaitFor(watcher, Reachable));
}

namespace {
// A look at Doc that does not come back until the test lets it go, as one at
// a share that dropped does not for the system's whole network time-out.
HANDLE g_letGo = nullptr;
std::atomic<int> g_looking{0};
std::atomic<int> g_looked{0};
std::atomic<DWORD> g_lookingThread{0};
uint32_t HangingProbe(const std::filesystem::path&) {
    g_lookingThread = GetCurrentThreadId();
    ++g_looking;
    WaitForSingleObject(g_letGo, INFINITE);
    ++g_looked;
    return ERROR_BAD_NETPATH;
}
} // namespace

TEST(DocWatcher, StoppingDoesNotWaitForALookAtDocThatHangs) {
    g_looking = 0;
    g_looked = 0;
    g_letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(g_letGo, nullptr);
    TempFolder dir;
    std::filesystem::create_directories(dir.Path() / "Doc");
    MessageWindow window;
    {
        DocWatcher watcher(HangingProbe);
        ASSERT_TRUE(watcher.Start(window.Get(), kMessage, dir.Path() / "Doc", dir.Path()));
        watcher.Poke();
        ASSERT_TRUE(WaitUntil([] { return g_looking > 0; }, std::chrono::seconds(15),
                              std::chrono::milliseconds(5)));
        watcher.Stop(); // the window closes while the look hangs
        EXPECT_EQ(g_looked, 0) << "stopping waited for the look at Doc";
    } // the watcher is gone; its thread still looks
    // Its thread opened before it is let go, so its end can be waited for:
    // only then would a stopped watcher that still tells the window have
    // told it.
    HANDLE looker = OpenThread(SYNCHRONIZE, FALSE, g_lookingThread);
    ASSERT_NE(looker, nullptr);
    SetEvent(g_letGo);
    EXPECT_EQ(WaitForSingleObject(looker, 15000), WAIT_OBJECT_0) << "the look never ended";
    CloseHandle(looker);
    CloseHandle(g_letGo);
    g_letGo = nullptr;
    EXPECT_EQ(g_looked, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, window.Get(), kMessage, kMessage, PM_REMOVE))
        << "a stopped watcher told the window";
}
