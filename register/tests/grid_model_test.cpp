#include "core/grid/grid_model.h"
#include "core/grid/reload.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

using namespace ombriel;
using support::testing::TempFolder;
using support::testing::WriteBytes;

namespace {
constexpr Rgb kGreen = MakeRgb(192, 255, 192);
constexpr Rgb kCyan = MakeRgb(192, 255, 255);
constexpr Rgb kRed = MakeRgb(255, 192, 192);
constexpr Rgb kYellow = MakeRgb(255, 255, 192);
} // namespace

TEST(GridModel, SettingRowsToOneKeepsHeaderTexts) {
    GridModel g;
    g.SetTextMatrix(0, 2, "NOME O PERCORSO FILE");
    g.AddItem("\tdesc\tname.pdf");
    g.AddItem("\tdesc2\tname2.pdf");
    ASSERT_EQ(g.Rows(), 3);
    g.SetRows(1);
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.TextMatrix(0, 2), "NOME O PERCORSO FILE");
    EXPECT_EQ(g.TextMatrix(1, 1), ""); // out of range reads empty, never crashes
}

TEST(GridModel, AddItemSplitsCellsAtTabs) {
    GridModel g;
    g.AddItem("\tUna descrizione, con virgola\tC:\\x\\a.doc");
    EXPECT_EQ(g.TextMatrix(1, 0), "");
    EXPECT_EQ(g.TextMatrix(1, 1), "Una descrizione, con virgola");
    EXPECT_EQ(g.TextMatrix(1, 2), "C:\\x\\a.doc");
}

TEST(GridModel, CellColourPaintsOnlyTheCurrentCell) {
    GridModel g;
    g.AddItem("\ta\tb");
    g.AddItem("\tc\td");
    g.SetRow(2);
    g.SetCol(1);
    g.SetCellBackColor(kRed);
    EXPECT_EQ(g.CellBackColor(2, 1), kRed);
    EXPECT_EQ(g.CellBackColor(2, 2), kWhite);
    EXPECT_EQ(g.CellBackColor(1, 1), kWhite);
    EXPECT_EQ(g.CellBackColor(2, 0), kFixedCellColor);
    EXPECT_EQ(g.CellBackColor(0, 1), kFixedCellColor);
}

struct ColorCase {
    const char* shown;
    Rgb color;
};

class TypeColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(TypeColorTest, RowColourFollowsLastThreeCharacters) {
    EXPECT_EQ(TypeColor(GetParam().shown), GetParam().color) << GetParam().shown;
}

INSTANTIATE_TEST_SUITE_P(
    Types, TypeColorTest,
    testing::Values(ColorCase{"Bilancio.xls", kGreen}, ColorCase{"Lettera.doc", kCyan},
                    ColorCase{"Offerta.PDF", kRed}, ColorCase{"setup.Exe", kYellow},
                    ColorCase{"Relazione.docx", kWhite}, ColorCase{"Bilancio.xlsx", kWhite},
                    ColorCase{"C:\\Documenti\\Cartella", kWhite}, ColorCase{"df", kWhite},
                    ColorCase{"", kWhite}, ColorCase{"C:\\a\\b.pdf", kRed}));

TEST(FormatGrid, HeaderCountsDataRowsAndWidthsFollowMode) {
    GridModel g;
    for (int i = 0; i < 3; ++i) {
        g.AddItem("\td\tn.pdf");
    }
    FormatGrid(g, false);
    EXPECT_EQ(g.TextMatrix(0, 1), "DESCRIZIONE FILE (3 file o link)");
    EXPECT_EQ(g.TextMatrix(0, 2), "NOME O PERCORSO FILE");
    EXPECT_EQ((std::array{g.ColWidth(0), g.ColWidth(1), g.ColWidth(2)}),
              (std::array{400, 5200, 4000}));
    FormatGrid(g, true);
    EXPECT_EQ(g.TextMatrix(0, 1), "DESCRIZIONE FILE (3 file o link)");
    EXPECT_EQ((std::array{g.ColWidth(0), g.ColWidth(1), g.ColWidth(2)}),
              (std::array{400, 9200, 0}));
}

TEST(ReadOnlyArg, OnlyExactROSelectsReadOnly) {
    EXPECT_TRUE(IsReadOnlyArg("RO"));
    for (const char* arg : {"", "ro", "Ro", "RO x", " RO", "RO "}) {
        EXPECT_FALSE(IsReadOnlyArg(arg)) << '"' << arg << '"';
    }
}

TEST(ColorRows, CurrentCellEndsOnLastRowColumnTwo) {
    GridModel g;
    g.AddItem("\ta\tx.pdf");
    g.AddItem("\tb\ty.xls");
    ColorRows(g);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.CellBackColor(1, 1), kRed);
    EXPECT_EQ(g.CellBackColor(2, 2), kGreen);

    GridModel empty;
    ColorRows(empty);
    EXPECT_EQ(empty.Row(), 0);
    EXPECT_EQ(empty.Col(), 0);
}

TEST(ReloadRecords, FillsRowsFromRecordsAndForgetsPreviousGrid) {
    TempFolder dir;
    WriteBytes(dir / "Doc/Offerta.PDF.dat", "\"\"\r\n\"Offerta clienti\"\r\n");
    WriteBytes(dir / "Doc/bilancio.xls.dat", "\"Z:\\Conti\\bilancio.xls\"\r\n\"Bilancio\"\r\n");
    WriteBytes(dir / "Doc/_.dat", "\"\"\r\n\"senza tipo\"\r\n");
    GridModel g;
    for (int i = 0; i < 10; ++i) {
        g.AddItem("\told\told.exe");
    }
    ReloadRecords(g, SystemPlatform(), dir.Path() / "Doc", false);
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(0, 1), "DESCRIZIONE FILE (3 file o link)");
    EXPECT_EQ(g.TextMatrix(1, 2), "_");
    EXPECT_EQ(g.TextMatrix(1, 1), "senza tipo");
    EXPECT_EQ(g.CellBackColor(1, 2), kWhite);
    EXPECT_EQ(g.TextMatrix(2, 2), "Z:\\Conti\\bilancio.xls");
    EXPECT_EQ(g.CellBackColor(2, 1), kGreen);
    EXPECT_EQ(g.TextMatrix(3, 2), "Offerta.PDF");
    EXPECT_EQ(g.CellBackColor(3, 2), kRed);
}
