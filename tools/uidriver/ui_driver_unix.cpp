#include "ui_driver_unix.h"

#include <windows.h>

#include "ui_driver.h"

#include <cstdlib>

namespace ui {

namespace {
// The folder of Wine's drive letters in the host's file system.
const char kDosDevices[] = "\"${WINEPREFIX:-$HOME/.wine}/dosdevices\"";
} // namespace

int RunHostShell(const std::string& command, int timeoutMs) {
    // Wine hands a Unix program its arguments split by the Windows rules and
    // gives no exit code for it, so the command travels in a script file and
    // the script leaves its exit code in a second file, renamed into place
    // when complete.
    static unsigned counter = 0;
    const std::string base = "/tmp/uidriver-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount64()) + "-" + std::to_string(++counter);
    const std::wstring script = L"Z:" + Widen(base + ".sh");
    const std::wstring result = L"Z:" + Widen(base + ".rc");
    WriteBytes(script, "(\n" + command + "\n)\necho $? > " + base + ".tmp && mv " + base + ".tmp " +
                           base + ".rc\n");
    std::wstring cmdLine = L"/bin/sh " + Widen(base + ".sh");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    int code = -1;
    if (CreateProcessW(L"Z:\\bin\\sh", cmdLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (WaitUntil([&] { return GetFileAttributesW(result.c_str()) != INVALID_FILE_ATTRIBUTES; },
                      timeoutMs))
            code = std::atoi(ReadBytes(result).c_str());
    }
    DeleteFileW(result.c_str());
    DeleteFileW(script.c_str());
    return code;
}

SmallHostDisk::SmallHostDisk(int kibibytes) {
    for (char d = 'r'; d <= 'y' && letter_ == 0; ++d)
        if (!(GetLogicalDrives() & (1u << (d - 'a'))))
            letter_ = d;
    if (letter_ == 0) {
        why_ = "no free drive letter from R: to Y:";
        return;
    }
    mountPoint_ = "/tmp/uidriver-disk-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(GetTickCount64());
    const std::string mount = "mkdir -p " + mountPoint_ +
                              " && mount -t tmpfs -o size=" + std::to_string(kibibytes) +
                              "k uidriver-disk " + mountPoint_;
    if (RunHostShell(mount) != 0) {
        why_ = "the host would not mount a tmpfs (mounting needs root)";
        RunHostShell("rmdir " + mountPoint_);
        mountPoint_.clear();
        return;
    }
    const std::string drive = std::string(kDosDevices) + "/" + letter_ + ":";
    if (RunHostShell("test ! -e " + drive + " && ln -s " + mountPoint_ + " " + drive) != 0) {
        why_ =
            std::string("drive ") + letter_ + ": is taken or Wine's dosdevices cannot be changed";
        RunHostShell("umount " + mountPoint_ + "; rmdir " + mountPoint_);
        mountPoint_.clear();
        return;
    }
    ok_ = true;
}

SmallHostDisk::~SmallHostDisk() {
    if (!ok_)
        return;
    RunHostShell(std::string("rm -f ") + kDosDevices + "/" + letter_ + ":; umount " + mountPoint_ +
                 " 2>/dev/null; rmdir " + mountPoint_);
}

std::wstring SmallHostDisk::Root() const {
    return std::wstring(1, wchar_t(towupper(wchar_t(letter_)))) + L":\\";
}

std::wstring SmallHostDisk::MountFolder() const {
    std::wstring folder = L"Z:" + Widen(mountPoint_);
    for (auto& c : folder)
        if (c == L'/')
            c = L'\\';
    return folder;
}

} // namespace ui
