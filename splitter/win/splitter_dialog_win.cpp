#include "splitter_dialog_win.h"

#include "choosers_win.h"
#include "dialog_controls_win.h"
#include "dialog_operation_ui_win.h"
#include "info_boxes_win.h"
#include "resource.h"

#include "core/join/join_engine.h"
#include "core/split/split_engine.h"
#include "support/handles_win.h"
#include "support/long_path_win.h"

#include <commctrl.h>
#include <shellapi.h>

namespace zelbrin {
namespace {

constexpr int kValueLimit = 25;

// Controls that only make sense for a split.
constexpr int kSplitOnlyControls[] = {
    IDC_METHOD_KEYWORD, IDC_METHOD_SIZE, IDC_METHOD_PIECES, IDC_BATCH_FILE, IDC_VALUE,
    IDC_UNIT_LABEL,     IDC_UNIT_MBS,    IDC_UNIT_KBS,      IDC_UNIT_BYTES, IDC_CRC_CHECK};
constexpr int kUnitControls[] = {IDC_UNIT_LABEL, IDC_UNIT_KBS, IDC_UNIT_BYTES, IDC_UNIT_MBS};

void Check(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(support::ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

INT_PTR SplitterDialog::Run() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ZELBRIN), nullptr,
                           &SplitterDialog::Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SplitterDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SplitterDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<SplitterDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR SplitterDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleOperationMessage(message, wParam, lParam))
        return TRUE;
    switch (message) {
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED ? OnCommand(LOWORD(wParam)) : FALSE;
    case WM_SYSCOMMAND:
        OnSysCommand(wParam);
        return FALSE; // the system still carries out its own commands
    case WM_CLOSE:
        // The close box, Alt+F4 and the system menu's Close: while an
        // operation runs the Cancel button is disabled, and only a question
        // may end it.
        Close();
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_NOTIFY:
        tooltips_.SupplyText(lParam, OperationMode);
        return FALSE;
    case WM_MOUSEMOVE:
        tooltips_.RelayMouseMove(wParam, lParam);
        return FALSE;
    default:
        if (message == TaskbarProgress::ButtonCreatedMessage())
            taskbar_.OnButtonCreated(dialog_);
        return FALSE;
    }
}

// What the running operation asks of the dialog.
bool SplitterDialog::HandleOperationMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_OPERATION_RANGE:
        if (operationUi_)
            operationUi_->SetProgressRange(uint64_t(wParam), uint64_t(lParam));
        return true;
    case WM_OPERATION_POS:
        if (operationUi_)
            operationUi_->SetProgressPos(uint64_t(wParam));
        return true;
    case WM_OPERATION_DONE:
        OnOperationDone();
        return true;
    default:
        return false;
    }
}

BOOL SplitterDialog::OnInitDialog() {
    AdjustSystemMenu();
    Check(dialog_, IDC_METHOD_PIECES);
    Check(dialog_, IDC_MODE_SPLIT);
    Check(dialog_, IDC_UNIT_KBS);
    SwitchMode(OpSplit);
    SelectSplitMode(ByPieces);
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZELBRIN));
    tooltips_.Create(dialog_);
    SetClassLongPtrW(dialog_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    SendDlgItemMessageW(dialog_, IDC_VALUE, EM_LIMITTEXT, kValueLimit, 0);
    SetFocus(GetDlgItem(dialog_, IDC_SOURCE_BUTTON));
    DragAcceptFiles(dialog_, TRUE);
    if (!initialFile_.empty())
        TakeFile(initialFile_);
    // The focus is set above; TRUE would let the system move it to the
    // checked mode radio instead.
    return FALSE;
}

BOOL SplitterDialog::OnCommand(int id) {
    switch (id) {
    case IDOK:
        StartOperation();
        break;
    case IDCANCEL:
        // The Cancel button, and Esc even while that button is disabled.
        Close();
        return TRUE;
    case IDC_SOURCE_BUTTON:
        ChooseSourceFile(dialog_, OperationMode);
        break;
    case IDC_TARGET_BUTTON:
        ChooseTargetFolder(dialog_);
        break;
    case IDC_METHOD_KEYWORD:
        SelectSplitMode(ByKeyword);
        break;
    case IDC_METHOD_SIZE:
        SelectSplitMode(BySize);
        break;
    case IDC_METHOD_PIECES:
        SelectSplitMode(ByPieces);
        break;
    case IDC_ABOUT_BUTTON:
        ShowAbout(dialog_);
        break;
    case IDC_HELP_BUTTON:
        ShowHelp(dialog_);
        break;
    case IDC_MODE_SPLIT:
        SwitchMode(OpSplit);
        break;
    case IDC_MODE_JOIN:
        SwitchMode(OpJoin);
        break;
    case IDC_VALUE:
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

void SplitterDialog::OnSysCommand(WPARAM command) {
    if (frozen_.Frozen())
        return; // nothing but the work happens while an operation runs
    if (LOWORD(command) == IDM_SYS_HELP)
        ShowHelp(dialog_);
    else if (LOWORD(command) == IDM_SYS_ABOUT)
        ShowAbout(dialog_);
}

void SplitterDialog::AdjustSystemMenu() {
    const HMENU menu = GetSystemMenu(dialog_, FALSE);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    AppendMenuW(menu, MF_STRING, IDM_SYS_HELP, L"&Help");
    AppendMenuW(menu, MF_STRING, IDM_SYS_ABOUT, L"&About");
}

// Paths chosen for one mode mean nothing in the other, so a mode change
// forgets them; the value, options and units stay.
void SplitterDialog::SwitchMode(OperationModeValue mode) {
    OperationMode = mode;
    const bool split = mode == OpSplit;
    for (int id : kSplitOnlyControls)
        EnableDlgControl(dialog_, id, split);
    SetDlgItemTextW(dialog_, IDOK, split ? L"&Split" : L"&Join");
    SetDlgItemTextW(dialog_, IDC_SOURCE_PATH, L"");
    SetDlgItemTextW(dialog_, IDC_TARGET_PATH, L"");
    SendDlgItemMessageW(dialog_, IDC_PROGRESS, PBM_SETPOS, 0, 0);
}

void SplitterDialog::SelectSplitMode(SplitModeValue method) {
    SplitMode = method;
    const wchar_t* label = method == ByKeyword ? L"&Keyword"
                           : method == BySize  ? L"&Size per piece"
                                               : L"&No of Pieces";
    SetDlgItemTextW(dialog_, IDC_VALUE_LABEL, label);
    SetDlgItemTextW(dialog_, IDC_VALUE, L"");
    for (int id : kUnitControls)
        ShowWindow(GetDlgItem(dialog_, id), method == BySize ? SW_SHOW : SW_HIDE);
}

// The dialog's half of an operation, on this thread: read the inputs,
// check them, plan and ask. What is read is read now: the controls stay
// inert until the operation ends. The work then runs beside the dialog.
void SplitterDialog::StartOperation() {
    if (InProgress())
        return;
    operationUi_.emplace(dialog_, OperationMode, SplitMode, taskbar_, frozen_);
    DialogOperationUi& ui = *operationUi_;
    const OperationInputs inputs = ui.ReadInputs();
    std::optional<BatchTemplates> batch;
    if (OperationMode == OpSplit && ui.BatchFileWanted())
        batch = LoadBatchTemplates(ui);
    ui.SetBusy(true);
    const Confirmation confirm = [&ui](const std::string& text) { return ui.Confirm(text); };
    preparing_ = true;
    Prepared prepared = OperationMode == OpJoin ? PrepareJoin(inputs, confirm)
                                                : PrepareSplit(inputs, batch, confirm);
    preparing_ = false;
    if (closing_) {
        // The user chose to stop while a box of the checks was up: nothing
        // has been written yet.
        EndDialog(dialog_, IDCANCEL);
        return;
    }
    if (!prepared.work) {
        EndOperation({prepared.ending});
        return;
    }
    runner_.emplace(dialog_, std::move(prepared.work));
}

void SplitterDialog::OnOperationDone() {
    if (!runner_)
        return;
    WorkResult result = runner_->Finish();
    runner_.reset();
    if (asking_) {
        // The answer to the stop question decides what becomes of it.
        pending_ = std::move(result);
        return;
    }
    EndOperation(result);
}

// Shows how the operation ended and gives the controls back; a stop the
// user asked for after the work had ended, or while its message was up,
// takes back what it wrote and ends the program instead.
void SplitterDialog::EndOperation(const WorkResult& result) {
    if (!closing_) {
        showingEnding_ = true;
        operationUi_->ShowEnding(result.ending);
        showingEnding_ = false;
    }
    if (closing_) {
        if (!result.ending.stopped)
            RemoveWrittenFiles(result.files);
        EndDialog(dialog_, IDCANCEL);
        return;
    }
    operationUi_->SetBusy(false);
    operationUi_.reset();
}

bool SplitterDialog::InProgress() const {
    return preparing_ || runner_.has_value() || showingEnding_ || pending_.has_value();
}

void SplitterDialog::Close() {
    if (InProgress())
        AskToStop();
    else
        EndDialog(dialog_, IDCANCEL);
}

// While the question is up the work goes on; if it ends meanwhile, its
// result waits for the answer.
void SplitterDialog::AskToStop() {
    if (asking_ || closing_)
        return;
    asking_ = true;
    const int question = OperationMode == OpJoin ? IDS_STOP_JOIN : IDS_STOP_SPLIT;
    const std::wstring text = LoadText(question, 1024);
    const bool stop =
        MessageBoxW(dialog_, text.c_str(), L"Zelbrin", MB_YESNO | MB_ICONINFORMATION) == IDYES;
    asking_ = false;
    if (stop) {
        closing_ = true;
        if (runner_)
            runner_->RequestStop(); // WM_OPERATION_DONE ends the dialog
    }
    // With the work running, or its ending's message up, the operation
    // ends from there; a result that came in during the question ends now.
    if (pending_) {
        const WorkResult result = std::move(*pending_);
        pending_.reset();
        EndOperation(result);
    }
}

void SplitterDialog::OnDropFiles(HDROP dropped) {
    const support::UniqueDrop drop(dropped);
    std::wstring chosen;
    const UINT count = DragQueryFileW(drop.Get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && chosen.empty(); ++i) {
        std::wstring path(DragQueryFileW(drop.Get(), i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop.Get(), i, path.data(), UINT(path.size())));
        if (IsFile(path))
            chosen = path;
    }
    if (!chosen.empty() && !frozen_.Frozen())
        TakeFile(chosen);
}

// A file from Explorer becomes the source as if it had been chosen with
// "Source File..."; the first piece of a set first switches to join mode,
// as a click on "Join" would. A folder is no source: nothing happens.
void SplitterDialog::TakeFile(const std::wstring& path) {
    if (!IsFile(path))
        return;
    if (EndsWith(path, L".1") && OperationMode != OpJoin) {
        CheckRadioButton(dialog_, IDC_MODE_SPLIT, IDC_MODE_JOIN, IDC_MODE_JOIN);
        SwitchMode(OpJoin);
    }
    SetSourceFile(dialog_, path);
}

} // namespace zelbrin
