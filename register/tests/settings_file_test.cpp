#include "core/settings_file.h"
#include "test_folder.h"

#include <gtest/gtest.h>

using namespace ombriel;

TEST(Settings, MissingFileFailsWithFileNotFoundAndKeepsValues) {
    TestFolder dir;
    ViewerPaths paths{"a", "b", "c"};
    Error e = LoadSaveSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", "carica", paths);
    EXPECT_EQ(e.number, kErrFileNotFound);
    EXPECT_FALSE(e.description.empty());
    EXPECT_EQ(paths.PathAR, "a");
}

TEST(Settings, FileEndingBeforeThirdFieldSetsWhatWasRead) {
    TestFolder dir;
    dir.Write("Ombriel.ini", "\"C:\\AR\\AcroRd32.exe\"\r\n\"C:\\Office\\WINWORD.EXE\"\r\n");
    ViewerPaths paths{"", "", "old"};
    Error e = LoadSaveSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", "carica", paths);
    EXPECT_EQ(e.number, kErrEndOfFile);
    EXPECT_NE(e.number, kErrFileNotFound);
    EXPECT_EQ(paths.PathAR, "C:\\AR\\AcroRd32.exe");
    EXPECT_EQ(paths.PathWrd, "C:\\Office\\WINWORD.EXE");
    EXPECT_EQ(paths.PathExc, "old");
}

TEST(Settings, SavingOnlyWordPathWritesThreeLinesExactly) {
    TestFolder dir;
    ViewerPaths paths;
    paths.PathWrd = "C:\\Program Files\\Office, 2003\\WINWORD.EXE";
    ASSERT_FALSE(LoadSaveSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", "salva", paths));
    EXPECT_EQ(dir.Read("Ombriel.ini"),
              "\"\"\r\n\"C:\\Program Files\\Office, 2003\\WINWORD.EXE\"\r\n\"\"\r\n");
    ViewerPaths back;
    ASSERT_FALSE(LoadSaveSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", "carica", back));
    EXPECT_EQ(back.PathWrd, paths.PathWrd);
    EXPECT_EQ(back.PathAR, "");
    EXPECT_EQ(back.PathExc, "");
}

TEST(Settings, UnquotedHandEditedLinesAreRead) {
    TestFolder dir;
    dir.Write("Ombriel.ini", "C:\\a.exe\r\n  C:\\b.exe  \r\n\"\"\r\n");
    ViewerPaths paths;
    ASSERT_FALSE(LoadSaveSettings(SystemPlatform(), dir.Path() / "Ombriel.ini", "carica", paths));
    EXPECT_EQ(paths.PathAR, "C:\\a.exe");
    EXPECT_EQ(paths.PathWrd, "C:\\b.exe");
}

TEST(Settings, SaveIntoMissingFolderFailsAndReportsIt) {
    TestFolder dir;
    ViewerPaths paths{"x", "y", "z"};
    Error e = LoadSaveSettings(SystemPlatform(), dir.Path() / "gone" / "Ombriel.ini", "salva",
                               paths);
    EXPECT_TRUE(e.Failed());
    EXPECT_EQ(paths.PathAR, "x");
}
