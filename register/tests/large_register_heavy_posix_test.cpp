// Large registers, natively: under Wine creating tens of thousands of files
// takes minutes, and the benchmark covers the Windows side. Heavy, so it runs
// apart from the Wine tests.
#include "core/grid/reload.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace ombriel;
using support::testing::TempFolder;

TEST(ReloadRecords, MoreThan32767RecordsAreAllShown) {
    TempFolder dir;
    std::filesystem::create_directories(dir.Path() / "Doc");
    const int n = 32800;
    for (int i = 0; i < n; ++i) {
        std::string name = std::to_string(i);
        name += ".pdf.dat";
        std::ofstream(dir.Path() / "Doc" / name, std::ios::binary) << "\"\"\r\n\"d\"\r\n";
    }
    GridModel g;
    ReloadRecords(g, SystemPlatform(), dir.Path() / "Doc", false);
    EXPECT_EQ(g.Rows(), n + 1);
    EXPECT_EQ(g.TextMatrix(0, 1), "DESCRIZIONE FILE (32800 file o link)");
    EXPECT_EQ(g.CellBackColor(n, 2), MakeRgb(255, 192, 192));
}
