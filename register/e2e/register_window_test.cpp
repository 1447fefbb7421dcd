// The register window as a user meets it: started in a folder, driven through
// its window and read back from another process.
#include "../win/resource.h"
#include "background_fixture.h"
#include "listview_driver.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::wstring kFormClass = L"OmbrielForm1";
const std::wstring kCaption = L"OMBRIEL - Vers. 1.2.1";
const std::string kEmptySettings = "\"\"\r\n\"\"\r\n\"\"\r\n";

std::string Record(const std::string& target, const std::string& description) {
    return "\"" + target + "\"\r\n\"" + description + "\"\r\n";
}

// A register folder in a fresh temporary directory.
class RegisterFolder : public ui::TempFolder {
  public:
    RegisterFolder() : ui::TempFolder("ombriel") {}
    void Add(const std::string& relative, const std::string& bytes) const {
        auto file = Path() / ui::Widen(relative);
        std::filesystem::create_directories(file.parent_path());
        ui::WriteBytes(file, bytes);
    }
};

class RegisterWindow : public testing::Test {
  protected:
    // Starts Ombriel.exe in folder and waits for its window.
    HWND Start(const RegisterFolder& folder, const std::wstring& args = {}) {
        process_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", args, folder.Path());
        HWND form = ui::WaitForWindow(process_.Id(), kFormClass);
        EXPECT_NE(form, nullptr) << "the register window did not appear";
        return form;
    }
    HWND Grid(HWND form) const { return ui::Child(form, IDC_FGRID); }

    ui::Process process_;
};

} // namespace

TEST_F(RegisterWindow, FirstStartInEmptyFolderShowsOneErrorBoxThenEmptyGrid) {
    RegisterFolder folder;
    process_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", L"", folder.Path());
    auto box = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(box.has_value()) << "no box for the missing Ombriel.ini";
    EXPECT_EQ(box->title, L"Errore 2");
    // The description, then the file it concerns.
    const std::wstring tail = L"\n\n" + (folder / L"Ombriel.ini").native();
    ASSERT_GT(box->text.size(), tail.size());
    EXPECT_EQ(box->text.substr(box->text.size() - tail.size()), tail) << ui::Narrow(box->text);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(box->hasIcon);
    ASSERT_TRUE(ui::Answer(box->hwnd, IDOK));

    HWND form = ui::WaitForWindow(process_.Id(), kFormClass);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(ui::Text(form), kCaption);
    // The window is shown once the start-up has run to its end.
    EXPECT_FALSE(ui::HasDialog(process_.Id())) << "a second box followed the first";
    EXPECT_EQ(ui::ListViewItemCount(Grid(form)), 0);
    EXPECT_EQ(ui::ListViewHeaderText(Grid(form), 1), L"DESCRIZIONE FILE (0 file o link)");
    EXPECT_EQ(ui::ListViewHeaderText(Grid(form), 2), L"NOME O PERCORSO FILE");
    EXPECT_FALSE(std::filesystem::exists(folder / L"Ombriel.ini")) << "loading must not create it";
}

TEST_F(RegisterWindow, SettingsFileEndingBeforeThirdLineShowsItsOwnErrorNumber) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", "\"C:\\AR\\AcroRd32.exe\"\r\n\"C:\\W\\WINWORD.EXE\"\r\n");
    process_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", L"", folder.Path());
    auto box = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, L"Errore 38");
    ASSERT_TRUE(ui::Answer(box->hwnd, IDOK));
    EXPECT_NE(ui::WaitForWindow(process_.Id(), kFormClass), nullptr);
}

TEST_F(RegisterWindow, GridShowsRecordsSortedWithCountInHeader) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    folder.Add("Doc/c.xls.dat", Record("", "terzo"));
    folder.Add("Doc/b.pdf.dat", Record("C:\\Altrove\\b.pdf", "secondo, con virgola"));
    folder.Add("Doc/A.doc.dat", Record("", "primo"));
    folder.Add("Doc/notes.data", "not a record");
    HWND form = Start(folder);
    ASSERT_NE(form, nullptr);
    HWND grid = Grid(form);
    ASSERT_EQ(ui::ListViewItemCount(grid), 3);
    EXPECT_EQ(ui::ListViewHeaderText(grid, 1), L"DESCRIZIONE FILE (3 file o link)");
    EXPECT_EQ(ui::ListViewCellText(grid, 0, 2), L"A.doc");
    EXPECT_EQ(ui::ListViewCellText(grid, 1, 2), L"C:\\Altrove\\b.pdf");
    EXPECT_EQ(ui::ListViewCellText(grid, 1, 1), L"secondo, con virgola");
    EXPECT_EQ(ui::ListViewCellText(grid, 2, 2), L"c.xls");
    EXPECT_EQ(ui::ListViewSelectedCount(grid), 0) << "no row counts as chosen after a reload";
    EXPECT_FALSE(ui::HasDialog(process_.Id()));
}

TEST_F(RegisterWindow, ReadOnlyModeHidesThreeButtonsAndThePathColumn) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    folder.Add("Doc/a.pdf.dat", Record("", "uno"));
    HWND form = Start(folder, L"RO");
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(ui::IsVisible(ui::Child(form, IDC_BTN_ADDFILE)));
    EXPECT_FALSE(ui::IsVisible(ui::Child(form, IDC_BTN_MODIFICA)));
    EXPECT_FALSE(ui::IsVisible(ui::Child(form, IDC_BTN_ELIMINA)));
    EXPECT_TRUE(ui::IsVisible(ui::Child(form, IDC_BTN_ADDLINK)));
    EXPECT_TRUE(ui::IsVisible(ui::Child(form, IDC_BTN_ESCI)));
    HWND grid = Grid(form);
    const int dpi = ui::WindowDpi(form);
    EXPECT_EQ(ui::ListViewColumnWidth(grid, 2), 0);
    EXPECT_EQ(ui::ListViewColumnWidth(grid, 1), MulDiv(9200, dpi, 1440));
    EXPECT_EQ(ui::ListViewHeaderText(grid, 1), L"DESCRIZIONE FILE (1 file o link)");
    EXPECT_EQ(ui::ListViewCellText(grid, 0, 2), L"a.pdf") << "hidden cells keep their texts";
}

TEST_F(RegisterWindow, AnyArgumentButExactROGivesNormalMode) {
    for (const wchar_t* args : {L"ro", L"RO x"}) {
        RegisterFolder folder;
        folder.Add("Ombriel.ini", kEmptySettings);
        HWND form = Start(folder, args);
        ASSERT_NE(form, nullptr) << ui::Narrow(args);
        EXPECT_TRUE(ui::IsVisible(ui::Child(form, IDC_BTN_ADDFILE))) << ui::Narrow(args);
        EXPECT_TRUE(ui::IsVisible(ui::Child(form, IDC_BTN_ELIMINA))) << ui::Narrow(args);
        const int dpi = ui::WindowDpi(form);
        EXPECT_EQ(ui::ListViewColumnWidth(Grid(form), 2), MulDiv(4000, dpi, 1440));
        process_.Kill();
    }
}

TEST_F(RegisterWindow, ChosenViewerPathIsWrittenInStartFolderEvenFromAnotherFolder) {
    RegisterFolder folder;
    ui::TempFolder elsewhere("viewer");
    auto viewer = elsewhere / L"Office, 2003 WINWORD.EXE";
    ui::WriteBytes(viewer, "MZ");
    process_ = ui::Process::Start(ui::ExeDir() / L"Ombriel.exe", L"", folder.Path());
    auto box = ui::WaitForMessageBox(process_.Id());
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(ui::Answer(box->hwnd, IDOK));
    HWND form = ui::WaitForWindow(process_.Id(), kFormClass);
    ASSERT_NE(form, nullptr);

    ui::PostCommand(form, IDM_PER_WRD);
    HWND dialog = ui::WaitForDialog(process_.Id());
    ASSERT_NE(dialog, nullptr) << "no open-file dialog";
    ASSERT_TRUE(ui::AnswerOpenFileDialog(dialog, viewer.wstring()));

    const std::string expected = "\"\"\r\n\"" + ui::Narrow(viewer.wstring()) + "\"\r\n\"\"\r\n";
    auto ini = folder / L"Ombriel.ini";
    EXPECT_TRUE(ui::WaitUntil([&] {
        return std::filesystem::exists(ini) && ui::ReadBytes(ini) == expected;
    })) << ui::ReadBytes(ini);
    EXPECT_FALSE(std::filesystem::exists(elsewhere / L"Ombriel.ini"));
    ASSERT_TRUE(ui::Settle(form));
    EXPECT_FALSE(ui::HasDialog(process_.Id())) << "the save reported a failure";
}

TEST_F(RegisterWindow, CancelledViewerDialogLeavesSettingsUntouched) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    auto ini = folder / L"Ombriel.ini";
    auto before = std::filesystem::last_write_time(ini);
    HWND form = Start(folder);
    ASSERT_NE(form, nullptr);
    ui::PostCommand(form, IDM_PER_AR);
    HWND dialog = ui::WaitForDialog(process_.Id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ui::CancelDialog(dialog));
    ASSERT_TRUE(ui::Settle(form));
    EXPECT_FALSE(ui::HasDialog(process_.Id()));
    EXPECT_EQ(ui::ReadBytes(ini), kEmptySettings);
    EXPECT_EQ(std::filesystem::last_write_time(ini), before);
}

TEST_F(RegisterWindow, ScreenshotShowsBackgroundPictureAndColouredRow) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    folder.Add("Img/Sfondo.jpg",
               std::string(reinterpret_cast<const char*>(kBackgroundJpeg), sizeof kBackgroundJpeg));
    folder.Add("Doc/Offerta.PDF.dat", Record("", "offerta"));
    folder.Add("Doc/Zeta.txt.dat", Record("", "bianca"));
    HWND form = Start(folder);
    ASSERT_NE(form, nullptr);
    HWND grid = Grid(form);
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ListViewItemCount(grid) == 2; }));
    // The first paint reaches the screen when it reaches it: wait for the
    // picture and the first row's colour to be seen.
    RECT pdf = ui::ListViewCellRect(grid, 0, 1);
    int midPdf = (pdf.top + pdf.bottom) / 2;
    ASSERT_TRUE(ui::WaitUntil([&] {
        return ui::ColorNear(ui::CaptureClient(form).At(10, 10), ui::Rgb(200, 40, 160), 12) &&
               ui::ColorNear(ui::CaptureClient(grid).At(pdf.left + 2, midPdf),
                             ui::Rgb(255, 192, 192));
    })) << "the window was not painted with its picture and colours";

    ui::Image window = ui::CaptureClient(form);
    window.SaveBmp(ui::ExeDir() / L"ombriel_e2e_screenshot.bmp");
    // The picture lies at the top-left corner, at its own size (64 x 64).
    EXPECT_TRUE(ui::ColorNear(window.At(10, 10), ui::Rgb(200, 40, 160), 12));
    EXPECT_TRUE(ui::ColorNear(window.At(60, 20), ui::Rgb(200, 40, 160), 12));
    EXPECT_FALSE(ui::ColorNear(window.At(100, 20), ui::Rgb(200, 40, 160), 40)) << "scaled up";

    ui::Image cells = ui::CaptureClient(grid);
    RECT txt = ui::ListViewCellRect(grid, 1, 1);
    int midTxt = (txt.top + txt.bottom) / 2;
    // Sample just inside the left edge, where the text has not started.
    EXPECT_TRUE(ui::ColorNear(cells.At(pdf.left + 2, midPdf), ui::Rgb(255, 192, 192)))
        << std::hex << cells.At(pdf.left + 2, midPdf);
    EXPECT_TRUE(ui::ColorNear(cells.At(txt.left + 2, midTxt), ui::Rgb(255, 255, 255)))
        << std::hex << cells.At(txt.left + 2, midTxt);
    RECT selector = ui::ListViewCellRect(grid, 0, 1);
    EXPECT_TRUE(ui::ColorNear(cells.At(selector.left - 6, midPdf), ui::Rgb(224, 224, 224)))
        << "column 0 keeps the fixed grey";
}

TEST_F(RegisterWindow, PlainBackgroundWithoutPictureAndNoMessage) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    folder.Add("Img/Sfondo.jpg", "this is not a picture");
    HWND form = Start(folder);
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(ui::HasDialog(process_.Id()));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(ui::WaitUntil([&] {
        return ui::ColorNear(ui::CaptureClient(form).At(10, 10),
                             ui::Rgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    })) << "the plain background was not painted";
}

TEST_F(RegisterWindow, ExitButtonAndCloseBoxEndTheProgramAtOnce) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    HWND form = Start(folder);
    ASSERT_NE(form, nullptr);
    ui::Click(ui::Child(form, IDC_BTN_ESCI));
    EXPECT_TRUE(process_.WaitExit(5000));

    form = Start(folder);
    ASSERT_NE(form, nullptr);
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process_.WaitExit(5000));
}

TEST_F(RegisterWindow, TabFromGridFramesAddFileButtonWithFocusMark) {
    RegisterFolder folder;
    folder.Add("Ombriel.ini", kEmptySettings);
    HWND form = Start(folder);
    ASSERT_NE(form, nullptr);
    const int dpi = ui::WindowDpi(form);
    auto px = [&](int twips) { return MulDiv(twips, dpi, 1440); };
    // Left edge of the mark around AGGIUNGI FILE (60 twips outside the button),
    // halfway down the button.
    const int x = px(660 - 60);
    const int y = px(7260 + 495 / 2);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t faceRgb = ui::Rgb(GetRValue(face), GetGValue(face), GetBValue(face));
    EXPECT_TRUE(ui::WaitUntil([&] {
        return ui::ColorNear(ui::CaptureClient(form).At(x, y), faceRgb);
    })) << "mark shown before focus";

    PostMessageW(Grid(form), WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(Grid(form), WM_KEYUP, VK_TAB, 0);
    ASSERT_TRUE(ui::WaitUntil([&] { return ui::ColorNear(ui::CaptureClient(form).At(x, y), 0); }))
        << "no mark around the focused button";
    EXPECT_FALSE(ui::ColorNear(ui::CaptureClient(form).At(px(2580 - 60), y), 0))
        << "mark around the next button too";
}
