// Failures that only the Windows file system produces: read-only and locked
// files, long paths, generated short names.
#include "core/records/record_list.h"
#include "core/records/settings_file.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace ombriel;
using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

TEST(SettingsWin, SaveOverReadOnlyFileFailsAndKeepsOldContent) {
    TempFolder dir;
    const std::string old = "\"a\"\r\n\"b\"\r\n\"c\"\r\n";
    WriteBytes(dir / "Ombriel.ini", old);
    auto ini = dir.Path() / "Ombriel.ini";
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    ViewerPaths paths{"x", "y", "z"};
    Error e = SaveSettings(SystemPlatform(), ini, paths);
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(e.number, kErrAccessDenied);
    EXPECT_FALSE(e.description.empty());
    EXPECT_EQ(ReadBytes(dir / "Ombriel.ini"), old);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Ombriel.ini.tmp~"));
}

TEST(RecordListWin, LockedRecordIsShownWithItsKeyAndTheRestFollows) {
    TempFolder dir;
    WriteBytes(dir / "Doc/a.pdf.dat", "\"\"\r\n\"aperto\"\r\n");
    WriteBytes(dir / "Doc/b.doc.dat", "\"\"\r\n\"bloccato\"\r\n");
    WriteBytes(dir / "Doc/c.xls.dat", "\"\"\r\n\"dopo\"\r\n");
    auto locked = dir.Path() / "Doc" / "b.doc.dat";
    HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    auto entries = LoadRecords(SystemPlatform(), dir.Path() / "Doc");
    CloseHandle(h);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].key, "b.doc");
    EXPECT_EQ(entries[1].error.number, kErrSharingViolation);
    EXPECT_EQ(entries[2].fields.description, "dopo");
}

TEST(RecordListWin, HiddenAndSystemFilesAreNotRecords) {
    TempFolder dir;
    WriteBytes(dir / "Doc/shown.pdf.dat", "\"\"\r\n\"s\"\r\n");
    WriteBytes(dir / "Doc/hidden.pdf.dat", "\"\"\r\n\"h\"\r\n");
    WriteBytes(dir / "Doc/system.pdf.dat", "\"\"\r\n\"y\"\r\n");
    SetFileAttributesW((dir.Path() / "Doc" / "hidden.pdf.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((dir.Path() / "Doc" / "system.pdf.dat").c_str(), FILE_ATTRIBUTE_SYSTEM);
    std::vector<std::string> names;
    ASSERT_FALSE(ListRecordNames(SystemPlatform(), dir.Path() / "Doc", names));
    EXPECT_EQ(names, std::vector<std::string>{"shown.pdf.dat"});
}

TEST(RecordFileWin, RecordsBeyondMaxPathAreWrittenAndRead) {
    TempFolder dir;
    std::filesystem::path deep = dir.Path();
    for (int i = 0; i < 6; ++i) {
        deep /= std::wstring(50, wchar_t(L'a' + i));
    }
    std::filesystem::create_directories(L"\\\\?\\" + deep.wstring());
    auto file = deep / L"Città è lunga.pdf.dat";
    ASSERT_GT(file.wstring().size(), size_t(MAX_PATH));
    ASSERT_FALSE(WriteRecordFile(SystemPlatform(), file, {"", "descrizione"}));
    RecordFields back;
    ASSERT_FALSE(ReadRecordFile(SystemPlatform(), file, back));
    EXPECT_EQ(back.description, "descrizione");
    std::vector<std::string> names;
    ASSERT_FALSE(ListRecordNames(SystemPlatform(), deep, names));
    EXPECT_EQ(names, std::vector<std::string>{"Citt\xC3\xA0 \xC3\xA8 lunga.pdf.dat"});
}
