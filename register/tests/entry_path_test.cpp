// The path the row menu copies and shows in Explorer.
#include "core/commands/entry_path.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

TEST(EntryFullPath, IsTheDocumentInDocForAFileAndTheLinksOwnPath) {
    EXPECT_EQ(EntryFullPath("report.pdf", "C:\\Reg"), "C:\\Reg\\Doc\\report.pdf");
    EXPECT_EQ(EntryFullPath("report.pdf", "C:\\"), "C:\\Doc\\report.pdf") << "one separator";
    EXPECT_EQ(EntryFullPath("D:\\Dati\\tab.xls", "C:\\Reg"), "D:\\Dati\\tab.xls");
    EXPECT_EQ(EntryFullPath("\\\\server\\share\\x.doc", "C:\\Reg"), "\\\\server\\share\\x.doc");
}

TEST(SelectInExplorerCommand, QuotesExplorerAndThePathAfterTheSwitch) {
    EXPECT_EQ(SelectInExplorerCommand("C:\\Windows\\explorer.exe", "C:\\Reg\\Doc\\a, b.pdf"),
              "\"C:\\Windows\\explorer.exe\" /select,\"C:\\Reg\\Doc\\a, b.pdf\"");
}

} // namespace
} // namespace ombriel
