#pragma once
// Files dragged from Explorer onto the register window. The drop target
// reads the keys and the mouse button of the drag, shows the cursor for what
// a drop would do, offers the drop menu after a right-drag, and hands the
// dropped paths on; the adds themselves run later, outside the drag, so the
// source is never kept waiting by the register's boxes.
#include "core/commands/drop_plan.h"
#include "core/commands/record_commands.h"

#include <windows.h>

#include <oleidl.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace ombriel {

// Documents to add, as one drop gave them.
struct DropRequest {
    EntryKind kind = EntryKind::File;
    std::vector<std::wstring> paths;
};

// The paths of a CF_HDROP block, in order.
std::vector<std::wstring> DroppedPaths(HDROP drop);

// The drop menu of a right-drag at a screen point: "Sposta qui",
// "Crea collegamento qui" and "Annulla". Returns the action chosen,
// DropAction::None for "Annulla" or a menu closed without a choice.
DropAction ShowDropMenu(HWND owner, POINT screen, const AllowedDrop& allowed);

class DropTarget final : public IDropTarget {
  public:
    using DropHandler = std::function<void(DropRequest)>;
    using MenuChooser = std::function<DropAction(POINT screen, const AllowedDrop& allowed)>;

    // readOnly: nothing can be dropped. menu: the drop menu (ShowDropMenu
    // when not given).
    DropTarget(HWND owner, bool readOnly, DropHandler onDrop, MenuChooser menu = {});
    DropTarget(const DropTarget&) = delete;
    DropTarget& operator=(const DropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override;

  private:
    ~DropTarget() = default;
    DWORD EffectFor(DWORD keys, DWORD allowed);

    LONG refs_ = 1;
    HWND owner_;
    bool readOnly_;
    DropHandler onDrop_;
    MenuChooser menu_;
    // Whether the data being dragged holds at least one file, and whether
    // the drag is made with the right button (which a drop no longer shows).
    bool hasFiles_ = false;
    bool rightDrag_ = false;
};

// The register window as a drop target for the whole run: OLE is set up on
// the window's thread and the target registered; both are undone on Revoke
// or at the end.
class DropRegistration {
  public:
    DropRegistration() = default;
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;
    ~DropRegistration();

    bool Register(HWND window, bool readOnly, DropTarget::DropHandler onDrop);
    // Before the window is destroyed.
    void Revoke();

  private:
    HWND window_ = nullptr;
    DropTarget* target_ = nullptr;
    bool oleStarted_ = false;
};

} // namespace ombriel
