#pragma once
// What a test under Wine can only arrange on the host side: Wine starts a
// Unix program named by its Z: path like any other, so a test can run a
// shell command, for instance to mount a small disk for a full-drive case.
#include <string>

namespace ui {

// Runs `command` with /bin/sh -c on the host; its exit code, or -1 when it
// could not be started or did not end within the time-out.
int RunHostShell(const std::string& command, int timeoutMs = 30000);

// A tmpfs of `kibibytes` mounted on the host and offered to Windows programs
// as the first free drive letter from R: to Y:, and through its folder on
// Z:. Mounting needs root; Ok() is false when the host refused, Why() says
// what failed. Unmounted, and the drive letter removed, when the object goes
// away.
class SmallHostDisk {
  public:
    explicit SmallHostDisk(int kibibytes);
    SmallHostDisk(const SmallHostDisk&) = delete;
    SmallHostDisk& operator=(const SmallHostDisk&) = delete;
    ~SmallHostDisk();

    bool Ok() const { return ok_; }
    const std::string& Why() const { return why_; }
    // The drive's root as a Windows path, e.g. "R:\".
    std::wstring Root() const;
    // The same volume reached as a folder of drive Z:, e.g. "Z:\tmp\...".
    std::wstring MountFolder() const;

  private:
    char letter_ = 0; // lower case, as Wine's dosdevices name it
    std::string mountPoint_;
    bool ok_ = false;
    std::string why_;
};

} // namespace ui
