#pragma once
// Form1: the register's one window. It owns the state the register shares for
// the whole run and the controls, lays them out in twips scaled to the
// monitor's DPI, and forwards each user event to one handler.
#include "background_win.h"
#include "grid_view_win.h"

#include "core/error.h"
#include "core/grid_model.h"
#include "core/platform.h"
#include "core/settings_file.h"

#include <windows.h>

#include <filesystem>
#include <string>

class Form1 {
public:
    explicit Form1(ombriel::Platform& platform) : platform(platform), Fgrid(gridModel) {}
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    // Creates the window, runs the start-up sequence and shows the window.
    bool Create(const std::wstring& commandArg, int showCommand);
    HWND Hwnd() const { return hwnd_; }

    // --- Shared window state ---------------------------------------------
    ombriel::ViewerPaths viewers;      // PathAR, PathWrd, PathExc
    std::filesystem::path StartFolder; // working directory at start-up
    wchar_t StartDrive = L'\0';        // its first character
    // The grid row the user chose; 0 = none. 32-bit: a register may hold more
    // rows than a 16-bit number counts.
    int SelectedRow = 0;
    std::wstring CommandArg;
    bool ReadOnly() const;

    ombriel::Platform& platform;
    ombriel::GridModel gridModel;
    GridView Fgrid;

    // --- Services for the commands -----------------------------------------
    // Rebuilds the grid from StartFolder\Doc; SelectedRow becomes 0.
    void ReloadRecords();
    // "carica" or "salva"; a failure is shown in the "Errore " box.
    void LoadSaveSettings(const std::string& mode);
    // The "Errore " box: the failure's description, titled with its number.
    void ShowError(const ombriel::Error& error) const;
    // Sets the current drive and directory back to StartDrive and StartFolder
    // (a file dialog may have moved them).
    void RestoreStartFolder() const;
    std::filesystem::path DocFolder() const { return StartFolder / L"Doc"; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    void CreateControls();
    void CreateMenu();
    void StartUp();
    void CenterForm();
    void LoadBackground();
    std::wstring VersionText() const;
    void LayoutControls();
    void MoveFocusMark(short top, short left, short height, short width);
    void OnButtonFocus(HWND button);
    void OnCommand(int id, int code, HWND control);
    void ChooseViewerPath(std::string& value);
    void Paint();
    int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }

    HWND hwnd_ = nullptr;
    HWND BtnAddFile = nullptr;
    HWND BtnAddLink = nullptr;
    HWND BtnModifica = nullptr;
    HWND BtnElimina = nullptr;
    HWND BtnEsci = nullptr;
    HFONT buttonFont_ = nullptr;
    HFONT gridFont_ = nullptr;
    int dpi_ = 96;
    BackgroundPicture background_;
    // Shape1, in twips; hidden until a button first gets the focus.
    bool shapeVisible_ = false;
    RECT shapeTwips_{600, 7200, 600 + 1875, 7200 + 615};
};
