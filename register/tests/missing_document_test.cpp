// A double-click on an entry whose document is not in Doc says so and names
// the path, instead of failing to start it.
#include "core/commands/open_entry.h"

#include "faulty_files.h"
#include "scripted_ui.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

class DocumentAt : public testing::FaultyFiles {
  public:
    DocumentAt() : FaultyFiles(SystemFileServices()) {}
    bool there = false;
    std::vector<std::string> asked;
    bool Exists(const std::filesystem::path& path) override {
        asked.push_back(path.string());
        return there;
    }
};

TEST(MissingDocument, DoubleClickSaysTheDocumentIsMissingAndNamesItsPath) {
    DocumentAt files;
    testing::ScriptedUi ui;
    EXPECT_TRUE(ReportMissingDocument(3, "report.pdf", "C:\\Reg", true, files, ui));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Documento mancante");
    EXPECT_EQ(ui.shown[0].kind, BoxKind::Exclamation);
    EXPECT_EQ(
        ui.shown[0].text,
        "Il documento non si trova nella cartella Doc del registro:\r\nC:\\Reg\\Doc\\report.pdf");
    EXPECT_EQ(MissingDocumentHint("C:\\Reg\\Doc\\report.pdf"),
              "Documento mancante: C:\\Reg\\Doc\\report.pdf");
}

TEST(MissingDocument, UnmarkedLinksHeadingAndReturnedDocumentsOpenAsBefore) {
    DocumentAt files;
    testing::ScriptedUi ui;
    EXPECT_FALSE(ReportMissingDocument(3, "report.pdf", "C:\\Reg", false, files, ui));
    EXPECT_FALSE(ReportMissingDocument(0, "report.pdf", "C:\\Reg", true, files, ui));
    EXPECT_FALSE(ReportMissingDocument(2, "D:\\Dati\\tab.xls", "C:\\Reg", true, files, ui));
    EXPECT_TRUE(files.asked.empty()) << "no file is looked at for these";
    files.there = true; // put back since the last reload
    EXPECT_FALSE(ReportMissingDocument(3, "report.pdf", "C:\\Reg", true, files, ui));
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace ombriel
