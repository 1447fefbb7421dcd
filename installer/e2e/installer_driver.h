#pragma once
// What an installer test needs beside the UI driver: running msiexec as an
// administrator would, reading a package's properties, asking Windows
// Installer what is installed, and reading shortcuts as the shell does.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace installer {

namespace fs = std::filesystem;

// A package built beside the tests; rel is relative to the build folder
// (e.g. "release/Ombriel-1.2.0.1-win64.msi").
fs::path BuildFile(const char* rel);

// Runs msiexec with the given arguments and a verbose log, waits for it and
// returns its exit code (ERROR_SUCCESS, 1603 for a failed install, ...) with
// the log's last lines, for failure messages.
struct MsiexecResult {
    DWORD exitCode = ~0u;
    std::string logTail;
};
MsiexecResult RunMsiexec(const std::wstring& args);

// An installation that is undone when the object goes away, so a failing
// test leaves nothing installed for the next one.
class Installation {
  public:
    // msiexec /i <msi> /qn <properties>
    Installation(const fs::path& msi, const std::wstring& properties = {});
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
    ~Installation();

    const MsiexecResult& Result() const { return install_; }
    bool Succeeded() const { return install_.exitCode == ERROR_SUCCESS; }
    // msiexec /x <msi> /qn; the destructor then does nothing.
    MsiexecResult Uninstall();

  private:
    fs::path msi_;
    MsiexecResult install_;
    bool undone_ = false;
};

// A property of a package's Property table; empty when it has none.
std::wstring PackageProperty(const fs::path& msi, const std::wstring& name);
// True when Windows Installer lists the product as installed.
bool ProductInstalled(const std::wstring& productCode);

// The fixed file version of a program ("1.2.0.1"); empty when it has none.
std::wstring FileVersion(const fs::path& exe);

// A shortcut as the shell reads it.
struct ShellLink {
    fs::path target;
    fs::path workingFolder;
    std::wstring arguments;
};
std::optional<ShellLink> ReadShortcut(const fs::path& lnk);

fs::path KnownFolder(const GUID& id);
// Where the Start-menu entries of a per-machine package are: the common
// Programs folder on Windows; Wine's installer puts them in the user's.
std::optional<fs::path> FindStartMenuEntry(const std::wstring& name);

// Paths compared as Windows does: case-insensitive, trailing separators
// ignored.
bool SamePath(const fs::path& a, const fs::path& b);

} // namespace installer
