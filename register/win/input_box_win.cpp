// The input box is built from an in-memory dialog template, so it needs no
// resource of its own and cannot clash with the window's resources.
#include "input_box_win.h"

#include "resource.h"

#include <cstdint>
#include <vector>

namespace ombriel {

namespace {

// Builds a DLGTEMPLATE with its items in a WORD-aligned buffer.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* font, WORD pointSize) {
        Add(DWORD(style | DS_SETFONT));
        Add(DWORD(0)); // extended style
        countAt_ = words_.size();
        Add(WORD(0)); // item count, filled in by Item()
        Add(WORD(0));
        Add(WORD(0));
        Add(WORD(cx));
        Add(WORD(cy));
        Add(WORD(0)); // no menu
        Add(WORD(0)); // the standard dialog class
        Add(WORD(0)); // title set at run time
        Add(WORD(pointSize));
        AddText(font);
    }
    // cls: 0x0080 button, 0x0081 edit, 0x0082 static.
    void Item(WORD cls, int id, DWORD style, short x, short y, short cx, short cy,
              const wchar_t* text = L"") {
        if (words_.size() % 2)
            Add(WORD(0)); // items start on a DWORD boundary
        Add(DWORD(style | WS_CHILD | WS_VISIBLE));
        Add(DWORD(0));
        Add(WORD(x));
        Add(WORD(y));
        Add(WORD(cx));
        Add(WORD(cy));
        Add(WORD(id));
        Add(WORD(0xFFFF));
        Add(cls);
        AddText(text);
        Add(WORD(0)); // no creation data
        ++words_[countAt_];
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Add(WORD w) { words_.push_back(w); }
    void Add(DWORD d) {
        Add(WORD(d & 0xFFFF));
        Add(WORD(d >> 16));
    }
    void AddText(const wchar_t* text) {
        for (; *text; ++text)
            Add(WORD(*text));
        Add(WORD(0));
    }
    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

struct InputBoxState {
    const std::wstring* prompt;
    const std::wstring* title;
    const std::wstring* defaultText;
    size_t maxLength;
    std::wstring answer;
};

std::wstring EditText(HWND edit) {
    std::wstring text(size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(edit, text.data(), int(text.size()))));
    return text;
}

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<InputBoxState*>(lp);
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        SetWindowTextW(dlg, state->title->c_str());
        SetDlgItemTextW(dlg, IDC_INPUTBOX_PROMPT, state->prompt->c_str());
        HWND edit = GetDlgItem(dlg, IDC_INPUTBOX_EDIT);
        // Past the default 32,767-character cap, but no further than the
        // caller can store whole.
        SendMessageW(edit, EM_SETLIMITTEXT, WPARAM(state->maxLength), 0);
        SetWindowTextW(edit, state->defaultText->c_str());
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dlg, DWLP_USER));
            state->answer = EditText(GetDlgItem(dlg, IDC_INPUTBOX_EDIT));
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

std::wstring ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                          const std::wstring& defaultText, size_t maxLength) {
    // Dialog units; the layout of the classic input box: the prompt at the
    // top left, OK and Cancel at the right, the edit across the bottom.
    DialogTemplate t(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 240, 86,
                     L"MS Shell Dlg", 8);
    t.Item(0x0082, IDC_INPUTBOX_PROMPT, SS_LEFT | SS_NOPREFIX, 7, 7, 168, 48);
    t.Item(0x0080, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 183, 7, 50, 14, L"OK");
    t.Item(0x0080, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 25, 50, 14, L"Annulla");
    t.Item(0x0081, IDC_INPUTBOX_EDIT, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 64, 226,
           13);
    InputBoxState state{&prompt, &title, &defaultText, maxLength, {}};
    if (DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner, InputBoxProc,
                                reinterpret_cast<LPARAM>(&state)) != IDOK)
        return {};
    return state.answer;
}

} // namespace ombriel
