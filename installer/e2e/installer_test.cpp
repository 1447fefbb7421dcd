// The release's MSIs as an administrator and a user meet them: installed
// silently, the programs started from their shortcuts, upgraded, removed.
#include "installer_driver.h"
#include "listview_driver.h"
#include "ui_driver.h"

#include <knownfolders.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

namespace fs = std::filesystem;
using installer::Installation;

namespace {

const std::string kEmptySettings = "\"\"\r\n\"\"\r\n\"\"\r\n";
const std::wstring kEmptyGridHeader = L"DESCRIZIONE FILE (0 file o link)";

std::wstring Quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

class InstallerTest : public testing::Test {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    static fs::path ProgramFolder(const wchar_t* name) {
        return installer::KnownFolder(FOLDERID_ProgramFiles) / name;
    }
};

// Checks the installed program's version resource against the package.
void ExpectOneVersion(const fs::path& msi, const fs::path& exe, const char* version) {
    EXPECT_EQ(installer::PackageProperty(msi, L"ProductVersion"), ui::Widen(version));
    EXPECT_EQ(installer::FileVersion(exe), ui::Widen(version));
    EXPECT_NE(msi.filename().wstring().find(ui::Widen(version)), std::wstring::npos);
}

// The Ombriel window of a started process, once it has finished starting:
// its grid shows the header of an empty register and no modal box has
// disabled it. nullptr when that state does not come.
HWND WaitForEmptyRegister(const ui::Process& process) {
    HWND form = ui::WaitForWindow(process.Id(), L"OmbrielForm1");
    if (!form)
        return nullptr;
    HWND grid = nullptr;
    const bool ready = ui::WaitUntil([&] {
        grid = ui::FindDescendant(form, L"SysListView32");
        return grid && ui::IsEnabled(form) && ui::ListViewHeaderText(grid, 1) == kEmptyGridHeader;
    });
    return ready ? form : nullptr;
}

bool ShowsNoBox(const ui::Process& process) {
    for (HWND w : ui::TopWindows(process.Id())) {
        if (ui::ClassName(w) == L"#32770")
            return false;
    }
    return true;
}

} // namespace

TEST_F(InstallerTest, OmbrielInstallsItsShortcutsIntoTheRegisterAndUninstallLeavesTheRegister) {
    const fs::path msi = installer::BuildFile("release/" OMBRIEL_MSI);
    ui::TempFolder temp("register");
    // A folder that does not exist yet, with a space in its name.
    const fs::path registerDir = temp / L"Registro ufficio";
    Installation installation(msi, L"REGISTERDIR=" + Quoted(registerDir));
    ASSERT_TRUE(installation.Succeeded()) << installation.Result().exitCode << "\n"
                                          << installation.Result().logTail;

    const fs::path exe = ProgramFolder(L"Ombriel") / L"Ombriel.exe";
    EXPECT_TRUE(fs::is_regular_file(exe));
    EXPECT_TRUE(fs::is_regular_file(ProgramFolder(L"Ombriel") / L"LEGGIMI.TXT"));
    ExpectOneVersion(msi, exe, OMBRIEL_VERSION);
    EXPECT_TRUE(installer::ProductInstalled(installer::PackageProperty(msi, L"ProductCode")));

    // The register is ready for a first start.
    EXPECT_TRUE(fs::is_directory(registerDir / L"Doc"));
    ASSERT_TRUE(fs::exists(registerDir / L"Ombriel.ini"));
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Ombriel.ini"), kEmptySettings);

    auto entry = installer::FindStartMenuEntry(L"Ombriel");
    auto readOnlyEntry = installer::FindStartMenuEntry(L"Ombriel (sola lettura)");
    ASSERT_TRUE(entry && readOnlyEntry) << "Start-menu entries missing";
    auto link = installer::ReadShortcut(*entry);
    auto readOnlyLink = installer::ReadShortcut(*readOnlyEntry);
    ASSERT_TRUE(link && readOnlyLink);
    EXPECT_TRUE(installer::SamePath(link->target, exe)) << link->target;
    EXPECT_TRUE(installer::SamePath(link->workingFolder, registerDir)) << link->workingFolder;
    EXPECT_EQ(link->arguments, L"");
    EXPECT_TRUE(installer::SamePath(readOnlyLink->target, exe)) << readOnlyLink->target;
    EXPECT_TRUE(installer::SamePath(readOnlyLink->workingFolder, registerDir))
        << readOnlyLink->workingFolder;
    EXPECT_EQ(readOnlyLink->arguments, L"RO");

    // Started as the Start-menu entry starts it: the grid, and no error box.
    {
        auto process = ui::Process::Start(link->target, link->arguments, link->workingFolder);
        HWND form = WaitForEmptyRegister(process);
        ASSERT_NE(form, nullptr) << "the register did not finish starting";
        EXPECT_TRUE(ShowsNoBox(process));
        EXPECT_EQ(ui::ListViewItemCount(ui::FindDescendant(form, L"SysListView32")), 0);
    }

    // The office's work in the register: a document, its record, a viewer.
    const std::string document = "Verbale della riunione\r\n";
    const std::string record = "\"\"\r\n\"Verbale di marzo\"\r\n";
    const std::string settings = "\"C:\\Viewer\\pdf.exe\"\r\n\"\"\r\n\"\"\r\n";
    ui::WriteBytes(registerDir / L"Doc" / L"Verbale.txt", document);
    ui::WriteBytes(registerDir / L"Doc" / L"Verbale.txt.dat", record);
    ui::WriteBytes(registerDir / L"Ombriel.ini", settings);

    auto removal = installation.Uninstall();
    ASSERT_EQ(removal.exitCode, DWORD(ERROR_SUCCESS)) << removal.logTail;
    EXPECT_FALSE(fs::exists(ProgramFolder(L"Ombriel")));
    EXPECT_FALSE(fs::exists(*entry));
    EXPECT_FALSE(fs::exists(*readOnlyEntry));
    EXPECT_FALSE(installer::ProductInstalled(installer::PackageProperty(msi, L"ProductCode")));
    ASSERT_TRUE(fs::is_directory(registerDir / L"Doc"));
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Doc" / L"Verbale.txt"), document);
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Doc" / L"Verbale.txt.dat"), record);
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Ombriel.ini"), settings);
}

TEST_F(InstallerTest, OmbrielKeepsTheSettingsOfAnExistingRegister) {
    const fs::path msi = installer::BuildFile("release/" OMBRIEL_MSI);
    ui::TempFolder registerDir("register");
    const std::string settings = "\"C:\\Viewer\\pdf.exe\"\r\n\"C:\\Viewer\\doc.exe\"\r\n\"\"\r\n";
    ui::WriteBytes(registerDir / L"Ombriel.ini", settings);

    Installation installation(msi, L"REGISTERDIR=" + Quoted(registerDir.Path()));
    ASSERT_TRUE(installation.Succeeded()) << installation.Result().logTail;
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Ombriel.ini"), settings);
    EXPECT_TRUE(fs::is_directory(registerDir / L"Doc"));
    ASSERT_EQ(installation.Uninstall().exitCode, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Ombriel.ini"), settings);
}

TEST_F(InstallerTest, OmbrielRegisterDefaultsToTheUsersDocuments) {
    const fs::path msi = installer::BuildFile("release/" OMBRIEL_MSI);
    const fs::path registerDir = installer::KnownFolder(FOLDERID_Documents) / L"Ombriel";
    std::error_code ec;
    const bool existed = fs::exists(registerDir, ec);

    Installation installation(msi);
    ASSERT_TRUE(installation.Succeeded()) << installation.Result().logTail;
    auto entry = installer::FindStartMenuEntry(L"Ombriel");
    ASSERT_TRUE(entry.has_value());
    auto link = installer::ReadShortcut(*entry);
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(installer::SamePath(link->workingFolder, registerDir)) << link->workingFolder;
    EXPECT_TRUE(fs::is_directory(registerDir / L"Doc"));
    EXPECT_TRUE(fs::exists(registerDir / L"Ombriel.ini"));
    EXPECT_EQ(installation.Uninstall().exitCode, DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(fs::exists(registerDir / L"Ombriel.ini")) << "the register is the user's";
    if (!existed)
        fs::remove_all(registerDir, ec);
}

TEST_F(InstallerTest, OmbrielUpgradeReplacesTheOlderVersionAndKeepsItsRegisterFolder) {
    const fs::path older = installer::BuildFile(OLDER_OMBRIEL_MSI);
    const fs::path msi = installer::BuildFile("release/" OMBRIEL_MSI);
    const std::wstring olderCode = installer::PackageProperty(older, L"ProductCode");
    const std::wstring code = installer::PackageProperty(msi, L"ProductCode");
    ASSERT_FALSE(olderCode.empty());
    ASSERT_NE(olderCode, code);
    ui::TempFolder registerDir("register");

    Installation olderInstallation(older, L"REGISTERDIR=" + Quoted(registerDir.Path()));
    ASSERT_TRUE(olderInstallation.Succeeded()) << olderInstallation.Result().logTail;
    ASSERT_TRUE(installer::ProductInstalled(olderCode));
    const std::string record = "\"C:\\Archivio\\bilancio.xls\"\r\n\"Bilancio\"\r\n";
    const std::string settings = "\"\"\r\n\"C:\\Viewer\\doc.exe\"\r\n\"\"\r\n";
    ui::WriteBytes(registerDir / L"Doc" / L"bilancio.xls.dat", record);
    ui::WriteBytes(registerDir / L"Ombriel.ini", settings);

    // The upgrade is started without REGISTERDIR, as a user's double-click
    // would: the entries stay with the register the office already uses.
    Installation installation(msi);
    ASSERT_TRUE(installation.Succeeded()) << installation.Result().logTail;
    EXPECT_FALSE(installer::ProductInstalled(olderCode)) << "the older version is still there";
    EXPECT_TRUE(installer::ProductInstalled(code));
    EXPECT_TRUE(fs::is_regular_file(ProgramFolder(L"Ombriel") / L"Ombriel.exe"));
    auto entry = installer::FindStartMenuEntry(L"Ombriel");
    ASSERT_TRUE(entry.has_value());
    auto link = installer::ReadShortcut(*entry);
    ASSERT_TRUE(link.has_value());
    EXPECT_TRUE(installer::SamePath(link->workingFolder, registerDir.Path()))
        << link->workingFolder;
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Doc" / L"bilancio.xls.dat"), record);
    EXPECT_EQ(ui::ReadBytes(registerDir / L"Ombriel.ini"), settings);

    // Going back to the older version is refused and changes nothing.
    auto downgrade = installer::RunMsiexec(L"/i " + Quoted(older) + L" /qn");
    EXPECT_NE(downgrade.exitCode, DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(installer::ProductInstalled(olderCode));
    EXPECT_TRUE(installer::ProductInstalled(code));

    ASSERT_EQ(installation.Uninstall().exitCode, DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(fs::exists(ProgramFolder(L"Ombriel")));
}

TEST_F(InstallerTest, ZelbrinInstallsStartMenuAndSendToEntriesAndRemovesThem) {
    const fs::path msi = installer::BuildFile("release/" ZELBRIN_MSI);
    Installation installation(msi);
    ASSERT_TRUE(installation.Succeeded()) << installation.Result().exitCode << "\n"
                                          << installation.Result().logTail;

    const fs::path exe = ProgramFolder(L"Zelbrin") / L"Zelbrin.exe";
    EXPECT_TRUE(fs::is_regular_file(exe));
    // The Help box sends the user to the README beside the program.
    EXPECT_TRUE(fs::is_regular_file(ProgramFolder(L"Zelbrin") / L"README.TXT"));
    ExpectOneVersion(msi, exe, ZELBRIN_VERSION);

    auto entry = installer::FindStartMenuEntry(L"Zelbrin");
    ASSERT_TRUE(entry.has_value()) << "no Start-menu entry";
    const fs::path sendTo = installer::KnownFolder(FOLDERID_SendTo) / L"Zelbrin.lnk";
    ASSERT_TRUE(fs::exists(sendTo)) << "no Send To entry";
    auto link = installer::ReadShortcut(*entry);
    auto sendToLink = installer::ReadShortcut(sendTo);
    ASSERT_TRUE(link && sendToLink);
    EXPECT_TRUE(installer::SamePath(link->target, exe)) << link->target;
    EXPECT_TRUE(installer::SamePath(sendToLink->target, exe)) << sendToLink->target;

    {
        auto process = ui::Process::Start(link->target, link->arguments, link->workingFolder);
        HWND dialog = nullptr;
        ASSERT_TRUE(ui::WaitUntil([&] {
            for (HWND w : ui::TopWindows(process.Id())) {
                if (ui::ClassName(w) == L"#32770" && ui::Text(w).starts_with(L"Zelbrin V "))
                    dialog = w;
            }
            return dialog != nullptr;
        })) << "the installed Zelbrin showed no dialog";
        EXPECT_TRUE(ui::IsEnabled(dialog));
    }

    auto removal = installation.Uninstall();
    ASSERT_EQ(removal.exitCode, DWORD(ERROR_SUCCESS)) << removal.logTail;
    EXPECT_FALSE(fs::exists(ProgramFolder(L"Zelbrin")));
    EXPECT_FALSE(fs::exists(*entry));
    EXPECT_FALSE(fs::exists(sendTo));
    EXPECT_FALSE(installer::ProductInstalled(installer::PackageProperty(msi, L"ProductCode")));
}
