// Which program a double-click starts, with which command line and window
// state, and what the user sees when it cannot start.
#include "core/commands/open_entry.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

#include <vector>

namespace ombriel {
namespace {

const ViewerPaths kViewers{"C:\\Program Files\\Reader\\AcroRd32.exe",
                           "C:\\Program Files\\Office\\WINWORD.EXE",
                           "C:\\Program Files\\Office\\EXCEL.EXE"};

struct LaunchCase {
    const char* shown;
    const char* startFolder;
    const char* program;
    const char* commandLine;
    WindowState windowState;
};

class BuildLaunchCases : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(BuildLaunchCases, QuotesViewerAndDocumentSoSpacesCannotStartAnotherProgram) {
    const LaunchCase& c = GetParam();
    LaunchRequest r = BuildLaunch(c.shown, c.startFolder, kViewers);
    EXPECT_EQ(r.program, c.program);
    EXPECT_EQ(r.commandLine, c.commandLine);
    EXPECT_EQ(r.windowState, c.windowState);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BuildLaunchCases,
    ::testing::Values(
        // pdf: the document path is quoted too, unlike doc and xls of old.
        LaunchCase{"report.pdf", "C:\\Reg", "C:\\Program Files\\Reader\\AcroRd32.exe",
                   "\"C:\\Program Files\\Reader\\AcroRd32.exe\" \"C:\\Reg\\Doc\\report.pdf\"",
                   WindowState::Maximized},
        LaunchCase{"minutes.doc", "C:\\Reg", "C:\\Program Files\\Office\\WINWORD.EXE",
                   "\"C:\\Program Files\\Office\\WINWORD.EXE\" \"C:\\Reg\\Doc\\minutes.doc\"",
                   WindowState::Maximized},
        // A link's full path is used as it is; the start folder plays no part.
        LaunchCase{"D:\\Dati\\tab.xls", "C:\\Reg", "C:\\Program Files\\Office\\EXCEL.EXE",
                   "\"C:\\Program Files\\Office\\EXCEL.EXE\" \"D:\\Dati\\tab.xls\"",
                   WindowState::Maximized},
        LaunchCase{"setup.exe", "C:\\Reg", "C:\\Reg\\Doc\\setup.exe", "\"C:\\Reg\\Doc\\setup.exe\"",
                   WindowState::Normal},
        // The type test is case-sensitive: PDF is started by itself.
        LaunchCase{"REPORT.PDF", "C:\\Reg", "C:\\Reg\\Doc\\REPORT.PDF",
                   "\"C:\\Reg\\Doc\\REPORT.PDF\"", WindowState::Normal},
        LaunchCase{
            "C:\\Dati\\Offerta, v2 città.pdf", "C:\\Reg", "C:\\Program Files\\Reader\\AcroRd32.exe",
            "\"C:\\Program Files\\Reader\\AcroRd32.exe\" \"C:\\Dati\\Offerta, v2 città.pdf\"",
            WindowState::Maximized},
        // No ":\" in a network path: it is looked for in Doc.
        LaunchCase{
            "\\\\srv\\share\\a.doc", "C:\\Reg", "C:\\Program Files\\Office\\WINWORD.EXE",
            "\"C:\\Program Files\\Office\\WINWORD.EXE\" \"C:\\Reg\\Doc\\\\\\srv\\share\\a.doc\"",
            WindowState::Maximized},
        // A drive root as start folder doubles the separator; the system accepts it.
        LaunchCase{"report.pdf", "C:\\", "C:\\Program Files\\Reader\\AcroRd32.exe",
                   "\"C:\\Program Files\\Reader\\AcroRd32.exe\" \"C:\\\\Doc\\report.pdf\"",
                   WindowState::Maximized},
        // Shorter than three characters: no viewer.
        LaunchCase{"ab", "C:\\Reg", "C:\\Reg\\Doc\\ab", "\"C:\\Reg\\Doc\\ab\"",
                   WindowState::Normal},
        // The program token is only delimited by quotes, never escaped.
        LaunchCase{"D:\\Dati\\cartella.pdf\\", "C:\\Reg", "D:\\Dati\\cartella.pdf\\",
                   "\"D:\\Dati\\cartella.pdf\\\"", WindowState::Normal}));

TEST(QuoteArgument, ReceivingProgramReadsBackTheExactText) {
    struct Case {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"C:\\a b\\c.pdf", "\"C:\\a b\\c.pdf\""},
        {"C:\\dir\\", "\"C:\\dir\\\\\""},
        {"a\"b", "\"a\\\"b\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"", "\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteArgument(c.text), c.quoted) << c.text;
}

TEST(BuildLaunch, EmptyViewerPathNamesNoProgram) {
    LaunchRequest r = BuildLaunch("report.pdf", "C:\\Reg", ViewerPaths{});
    EXPECT_EQ(r.program, "");
    EXPECT_EQ(r.commandLine, "\"\" \"C:\\Reg\\Doc\\report.pdf\"");
}

class RecordingLauncher : public ProcessLauncher {
  public:
    std::vector<LaunchRequest> launched;
    Error result;
    Error Launch(const LaunchRequest& request) override {
        launched.push_back(request);
        return result;
    }
};

TEST(OpenEntry, HeaderRowOrEmptyGridStartsNothing) {
    RecordingLauncher launcher;
    testing::ScriptedUi ui;
    OpenEntry(0, "NOME O PERCORSO FILE", "C:\\Reg", kViewers, launcher, ui);
    OpenEntry(-1, "", "C:\\Reg", kViewers, launcher, ui);
    EXPECT_TRUE(launcher.launched.empty());
    EXPECT_TRUE(ui.shown.empty());
}

TEST(OpenEntry, FailureToStartShowsErroreBoxWithNumberAndDescription) {
    RecordingLauncher launcher;
    launcher.result = Error{193, "%1 non è un'applicazione Win32 valida."};
    testing::ScriptedUi ui;
    OpenEntry(2, "REPORT.PDF", "C:\\Reg", kViewers, launcher, ui);
    ASSERT_EQ(launcher.launched.size(), 1u);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Errore 193");
    // The description, then the file that could not be started.
    EXPECT_EQ(ui.shown[0].text,
              "%1 non è un'applicazione Win32 valida.\n\nC:\\Reg\\Doc\\REPORT.PDF");
    EXPECT_EQ(ui.shown[0].kind, BoxKind::Plain);
}

TEST(OpenEntry, SuccessfulStartShowsNothing) {
    RecordingLauncher launcher;
    testing::ScriptedUi ui;
    OpenEntry(1, "report.pdf", "C:\\Reg", kViewers, launcher, ui);
    EXPECT_EQ(launcher.launched.size(), 1u);
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace ombriel
