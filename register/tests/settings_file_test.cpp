#include "core/records/settings_file.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

using namespace ombriel;
using support::testing::ReadBytes;
using support::testing::TempFolder;
using support::testing::WriteBytes;

TEST(Settings, MissingFileFailsWithFileNotFoundAndKeepsValues) {
    TempFolder dir;
    ViewerPaths paths{"a", "b", "c"};
    Error e = LoadSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", paths);
    EXPECT_EQ(e.number, kErrFileNotFound);
    EXPECT_FALSE(e.description.empty());
    EXPECT_EQ(paths.PathAR, "a");
}

TEST(Settings, FileEndingBeforeThirdFieldSetsWhatWasRead) {
    TempFolder dir;
    WriteBytes(dir / "Ombriel.ini", "\"C:\\AR\\AcroRd32.exe\"\r\n\"C:\\Office\\WINWORD.EXE\"\r\n");
    ViewerPaths paths{"", "", "old"};
    Error e = LoadSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", paths);
    EXPECT_EQ(e.number, kErrEndOfFile);
    EXPECT_NE(e.number, kErrFileNotFound);
    EXPECT_EQ(paths.PathAR, "C:\\AR\\AcroRd32.exe");
    EXPECT_EQ(paths.PathWrd, "C:\\Office\\WINWORD.EXE");
    EXPECT_EQ(paths.PathExc, "old");
}

TEST(Settings, SavingOnlyWordPathWritesThreeLinesExactly) {
    TempFolder dir;
    ViewerPaths paths;
    paths.PathWrd = "C:\\Program Files\\Office, 2003\\WINWORD.EXE";
    ASSERT_FALSE(SaveSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", paths));
    EXPECT_EQ(ReadBytes(dir / "Ombriel.ini"),
              "\"\"\r\n\"C:\\Program Files\\Office, 2003\\WINWORD.EXE\"\r\n\"\"\r\n");
    ViewerPaths back;
    ASSERT_FALSE(LoadSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", back));
    EXPECT_EQ(back.PathWrd, paths.PathWrd);
    EXPECT_EQ(back.PathAR, "");
    EXPECT_EQ(back.PathExc, "");
}

TEST(Settings, UnquotedHandEditedLinesAreRead) {
    TempFolder dir;
    WriteBytes(dir / "Ombriel.ini", "C:\\a.exe\r\n  C:\\b.exe  \r\n\"\"\r\n");
    ViewerPaths paths;
    ASSERT_FALSE(LoadSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", paths));
    EXPECT_EQ(paths.PathAR, "C:\\a.exe");
    EXPECT_EQ(paths.PathWrd, "C:\\b.exe");
}

TEST(Settings, SaveIntoMissingFolderFailsAndReportsIt) {
    TempFolder dir;
    ViewerPaths paths{"x", "y", "z"};
    Error e = SaveSettings(SystemPlatform(), dir.Path() / "gone" / "Ombriel.ini", paths);
    EXPECT_TRUE(e.Failed());
    EXPECT_EQ(paths.PathAR, "x");
}
