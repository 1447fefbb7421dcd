#pragma once
// Dialog 101, Zelbrin's one window: the mode and method it is in, its
// controls' states, its tooltips, and the operation its default button
// starts, which runs beside the dialog and can be stopped. One object owns
// all of it for the life of the dialog.
#include "dialog_controls_win.h"
#include "dialog_operation_ui_win.h"
#include "operation_runner_win.h"
#include "taskbar_progress_win.h"
#include "tooltips_win.h"

#include "core/operation_ui.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

namespace zelbrin {

class SplitterDialog {
  public:
    // initialFile: a file given on the command line (a shortcut in "Send
    // To", a file dropped on the program's icon); empty for none.
    explicit SplitterDialog(std::wstring initialFile = {}) : initialFile_(std::move(initialFile)) {}
    SplitterDialog(const SplitterDialog&) = delete;
    SplitterDialog& operator=(const SplitterDialog&) = delete;

    // Shows the dialog modally and returns when it has ended.
    INT_PTR Run();

  private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleOperationMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    BOOL OnCommand(int id);
    void OnSysCommand(WPARAM command);
    void OnDropFiles(HDROP drop);
    void TakeFile(const std::wstring& path);
    void AdjustSystemMenu();
    void SwitchMode(OperationModeValue mode);
    void SelectSplitMode(SplitModeValue method);
    void StartOperation();
    void OnOperationDone();
    void EndOperation(const WorkResult& result);
    bool InProgress() const;
    void Close();
    void AskToStop();

    std::wstring initialFile_;
    HWND dialog_ = nullptr;
    // Set only by the mode radios (OpSplit, OpJoin) and the method radios
    // (ByKeyword, BySize, ByPieces).
    OperationModeValue OperationMode = OpSplit;
    SplitModeValue SplitMode = ByPieces;
    DialogTooltips tooltips_;
    TaskbarProgress taskbar_;
    FrozenControls frozen_;
    std::optional<DialogOperationUi> operationUi_;
    std::optional<OperationRunner> runner_;
    // The work's result when it came in while the stop question was up.
    std::optional<WorkResult> pending_;
    bool preparing_ = false;     // the checks, the plan or the question are under way
    bool asking_ = false;        // the stop question is up
    bool showingEnding_ = false; // the ending's message is up
    bool closing_ = false;       // the user chose to stop the operation and end
};

} // namespace zelbrin
