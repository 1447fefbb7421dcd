#include "drop_target_win.h"

#include <shellapi.h>

namespace ombriel {
namespace {

enum DropMenuItem : UINT { kMove = 1, kLink, kCancel };

FORMATETC HdropFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The paths a data object carries as CF_HDROP; none when it carries none.
std::vector<std::wstring> PathsOf(IDataObject* data) {
    FORMATETC format = HdropFormat();
    STGMEDIUM medium{};
    if (!data || FAILED(data->GetData(&format, &medium)))
        return {};
    std::vector<std::wstring> paths;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
            paths = DroppedPaths(drop);
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return paths;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Folders alone cannot be dropped: the cursor says so before the drop. The
// test stops at the first file, so a long list costs one look.
bool HoldsAFile(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        if (!IsFolder(path))
            return true;
    }
    return false;
}

DropKeys KeysOf(DWORD keys, bool rightDrag) {
    DropKeys k;
    k.alt = (keys & MK_ALT) != 0;
    k.ctrl = (keys & MK_CONTROL) != 0;
    k.shift = (keys & MK_SHIFT) != 0;
    k.rightButton = rightDrag;
    return k;
}

AllowedDrop AllowedOf(DWORD effects) {
    return AllowedDrop{(effects & DROPEFFECT_MOVE) != 0, (effects & DROPEFFECT_LINK) != 0};
}

} // namespace

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), UINT(path.size())));
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

DropAction ShowDropMenu(HWND owner, POINT screen, const AllowedDrop& allowed) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return DropAction::None;
    AppendMenuW(menu, MF_STRING | (allowed.move ? 0 : MF_GRAYED), kMove, L"Sposta qui");
    AppendMenuW(menu, MF_STRING | (allowed.link ? 0 : MF_GRAYED), kLink, L"Crea collegamento qui");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCancel, L"Annulla");
    SetMenuDefaultItem(menu, allowed.move ? kMove : kLink, FALSE);
    // The menu closes when the user clicks elsewhere only if its owner is the
    // foreground window.
    SetForegroundWindow(owner);
    const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                            screen.x, screen.y, 0, owner, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case kMove:
        return DropAction::AddFile;
    case kLink:
        return DropAction::AddLink;
    default:
        return DropAction::None;
    }
}

DropTarget::DropTarget(HWND owner, bool readOnly, DropHandler onDrop, MenuChooser menu)
    : owner_(owner), readOnly_(readOnly), onDrop_(std::move(onDrop)), menu_(std::move(menu)) {
    if (!menu_)
        menu_ = [this](POINT at, const AllowedDrop& allowed) {
            return ShowDropMenu(owner_, at, allowed);
        };
}

HRESULT DropTarget::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() {
    return ULONG(InterlockedIncrement(&refs_));
}

ULONG DropTarget::Release() {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return ULONG(left);
}

DWORD DropTarget::EffectFor(DWORD keys, DWORD allowed) {
    if (keys & MK_RBUTTON)
        rightDrag_ = true;
    if (!hasFiles_)
        return DROPEFFECT_NONE;
    const AllowedDrop can = AllowedOf(allowed);
    switch (ActionForDrop(KeysOf(keys, rightDrag_), can, readOnly_)) {
    case DropAction::AddFile:
        return DROPEFFECT_MOVE;
    case DropAction::AddLink:
        return DROPEFFECT_LINK;
    case DropAction::AskMenu:
        return can.move ? DROPEFFECT_MOVE : DROPEFFECT_LINK;
    case DropAction::None:
        break;
    }
    return DROPEFFECT_NONE;
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    FORMATETC format = HdropFormat();
    hasFiles_ =
        !readOnly_ && data && data->QueryGetData(&format) == S_OK && HoldsAFile(PathsOf(data));
    rightDrag_ = false;
    *effect = EffectFor(keys, *effect);
    return S_OK;
}

HRESULT DropTarget::DragOver(DWORD keys, POINTL, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    *effect = EffectFor(keys, *effect);
    return S_OK;
}

HRESULT DropTarget::DragLeave() {
    hasFiles_ = false;
    rightDrag_ = false;
    return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    const AllowedDrop can = AllowedOf(*effect);
    *effect = DROPEFFECT_NONE;
    const bool rightDrag = rightDrag_ || (keys & MK_RBUTTON);
    hasFiles_ = false;
    rightDrag_ = false;
    if (readOnly_)
        return S_OK;
    std::vector<std::wstring> paths = PathsOf(data);
    if (!HoldsAFile(paths))
        return S_OK;
    DropAction action = ActionForDrop(KeysOf(keys, rightDrag), can, readOnly_);
    if (action == DropAction::AskMenu)
        action = menu_(POINT{at.x, at.y}, can);
    if (action != DropAction::AddFile && action != DropAction::AddLink)
        return S_OK;
    // A link leaves the documents where they are. A file entry's document
    // is moved by the register itself, later and only once its description
    // is given: the source must not delete anything, so it hears of no move.
    if (action == DropAction::AddLink)
        *effect = DROPEFFECT_LINK;
    onDrop_(DropRequest{action == DropAction::AddFile ? EntryKind::File : EntryKind::Link,
                        std::move(paths)});
    return S_OK;
}

DropRegistration::~DropRegistration() {
    Revoke();
}

bool DropRegistration::Register(HWND window, bool readOnly, DropTarget::DropHandler onDrop) {
    Revoke();
    // OleInitialize on a thread whose COM is already set up as a single
    // apartment only adds OLE's own part; both are undone in pairs.
    oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
    if (!oleStarted_)
        return false;
    target_ = new DropTarget(window, readOnly, std::move(onDrop));
    if (FAILED(RegisterDragDrop(window, target_))) {
        Revoke();
        return false;
    }
    window_ = window;
    return true;
}

void DropRegistration::Revoke() {
    if (window_) {
        RevokeDragDrop(window_);
        window_ = nullptr;
    }
    if (target_) {
        target_->Release();
        target_ = nullptr;
    }
    if (oleStarted_) {
        OleUninitialize();
        oleStarted_ = false;
    }
}

} // namespace ombriel
