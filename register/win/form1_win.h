#pragma once
// Form1: the register's one window. It owns the state the register keeps for
// the whole run and the controls, lays them out in twips scaled to the
// monitor's DPI, and forwards each user event to one handler. The commands
// reach its state only through the few operations below.
#include "background_win.h"
#include "doc_watcher_win.h"
#include "drop_target_win.h"
#include "grid_keys_win.h"
#include "grid_view_win.h"
#include "link_checker_win.h"

#include "core/commands/record_commands.h"
#include "core/grid/doc_reachability.h"
#include "core/grid/grid_model.h"
#include "core/grid/type_to_find.h"
#include "core/platform/file_services.h"
#include "core/platform/platform.h"
#include "core/records/record_store.h"
#include "core/records/settings_file.h"
#include "support/handles_win.h"

#include <windows.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace ombriel {

class Form1 {
  public:
    Form1(Platform& platform, FileServices& files)
        : platform_(platform), files_(files), Fgrid(gridModel_) {}
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window, runs the start-up sequence and shows the window.
    bool Create(const std::wstring& commandArg, int showCommand);
    HWND Hwnd() const { return hwnd_; }

    // --- What the commands work with -----------------------------------------
    // The working directory at start-up: the register's folder.
    const std::filesystem::path& StartFolder() const { return StartFolder_; }
    // The file services every command runs on.
    FileServices& Files() const { return files_; }
    // The texts of the row the user chose; nothing when no row is chosen.
    std::optional<SelectedEntry> ChosenEntry() const;
    // Rebuilds the grid from StartFolder\Doc, reading only the record files
    // that changed; afterwards no row is chosen and the grid shows its first
    // rows. A Doc that cannot be listed returns the failure (number 0 for
    // success) and leaves the grid and the selection as they were.
    Error ReloadRecords();

    // Held while a command, a box or a dialog of the register runs: a
    // refresh from another PC's change waits until the last one ends.
    class Busy {
      public:
        explicit Busy(Form1& form) : form_(form) { ++form_.busyDepth_; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        ~Busy() { form_.EndBusy(); }

      private:
        Form1& form_;
    };

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    bool ReadOnly() const;
    void CreateMenu();
    void CreateControls();
    void ConnectGrid();
    void StartUp();
    void CenterForm();
    void LoadBackground();
    std::wstring VersionText() const;
    void LayoutControls();
    void MoveFocusMark(short top, short left, short height, short width);
    void OnButtonFocus(HWND button);
    void OnCommand(int id, int code, HWND control);
    void OnGridClick();
    // The hint of a chosen row: why it is marked missing, else plainHint.
    std::string RowHint(int row, const std::string& plainHint) const;
    void OnGridDoubleClick();
    void LoadSettings();
    void SaveSettings();
    void ShowError(const Error& error, const std::filesystem::path& file) const;
    void RestoreStartFolder() const;
    void ChooseViewerPath(std::string& value);
    void Paint();
    void OnDpiChanged(int dpi, const RECT& suggested);
    int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }

    // The live view of changes made elsewhere (form1_live_win.cpp).
    static constexpr UINT kDocChangedMessage = WM_APP + 1;
    void StartWatching();
    void OnDocChanged();
    void RefreshFromDoc(uint32_t probe);
    void DocListed(const Error& listing, bool docExists);
    void EndBusy();
    // The row menu, type-to-find and dropped files (form1_row_actions_win.cpp).
    static constexpr UINT kMsgRunDrops = WM_APP + 20;
    void ConnectRowActions();
    bool OnRowNotify(const NMHDR* hdr, LRESULT& result);
    void OnRowMenu(POINT screen);
    void OnMenuKey();
    bool OnRowCommand(int id);
    void CopyEntryPath();
    void ShowEntryInExplorer();
    void OnTypedChar(char32_t c);
    void OnDropFiles(HDROP drop);
    void QueueDrop(DropRequest request);
    void RunDrops();

    Platform& platform_;
    FileServices& files_;
    ViewerPaths viewers_;               // PathAR, PathWrd, PathExc
    std::filesystem::path StartFolder_; // working directory at start-up
    // The grid row the user chose; 0 = none. 32-bit: a register may hold more
    // rows than a 16-bit number counts.
    int SelectedRow_ = 0;
    std::wstring CommandArg_;
    // The records read so far, so a reload reads only what changed.
    std::unique_ptr<RecordStore> store_;
    GridModel gridModel_;
    GridView Fgrid;
    LinkMarks linkMarks_{gridModel_}; // the missing mark of link entries

    HWND hwnd_ = nullptr;
    HWND buttons_[5] = {}; // BtnAddFile, BtnAddLink, BtnModifica, BtnElimina, BtnEsci
    support::UniqueFont buttonFont_;
    support::UniqueFont gridFont_;
    int dpi_ = 96;
    BackgroundPicture background_;
    // Shape1, in twips; hidden until a button first gets the focus.
    bool shapeVisible_ = false;
    RECT shapeTwips_{600, 7200, 600 + 1875, 7200 + 615};

    DocWatcher watcher_;
    DocReachability reachability_;
    int busyDepth_ = 0;
    bool refreshPending_ = false;
    GridKeyHandlers gridKeys_;
    TypeToFind typeToFind_;
    DropRegistration dropTarget_;
    std::deque<DropRequest> drops_; // dropped, not yet added
    bool runningDrops_ = false;
};

} // namespace ombriel
