// The drop target in-process, fed a real data object that holds a CF_HDROP
// list as Explorer's does: what the keys and the button of a drag make of it,
// the drop menu of a right-drag, and what can never be dropped.
#include "drop_target_win.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>

using namespace ombriel;
using support::testing::TempFolder;
using support::testing::WriteBytes;

namespace {

// The shell's data object for items of one folder, as Explorer hands it to a
// drop target: it gives their paths as CF_HDROP.
IDataObject* DataObjectOf(const std::vector<std::wstring>& paths) {
    if (paths.empty())
        return nullptr;
    const std::wstring folder = std::filesystem::path(paths[0]).parent_path().native();
    PIDLIST_ABSOLUTE folderId = ILCreateFromPathW(folder.c_str());
    std::vector<PIDLIST_ABSOLUTE> full;
    std::vector<PCUIDLIST_RELATIVE> children;
    for (const auto& p : paths) {
        full.push_back(ILCreateFromPathW(p.c_str()));
        if (full.back())
            children.push_back(ILFindLastID(full.back()));
    }
    IDataObject* data = nullptr;
    if (folderId && children.size() == paths.size())
        CIDLData_CreateFromIDArray(folderId, UINT(children.size()), children.data(), &data);
    for (PIDLIST_ABSOLUTE id : full)
        ILFree(id);
    ILFree(folderId);
    return data;
}

class DropTargetTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        window_ = CreateWindowExW(0, L"STATIC", L"drop", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        WriteBytes(file_, "PDF");
        WriteBytes(other_, "XLS");
        std::filesystem::create_directories(subfolder_);
    }
    void TearDown() override {
        if (target_)
            target_->Release();
        DestroyWindow(window_);
        OleUninitialize();
    }
    DropTarget& Target(bool readOnly, DropTarget::MenuChooser menu = {}) {
        target_ = new DropTarget(
            window_, readOnly, [this](DropRequest r) { dropped_ = std::move(r); }, menu);
        return *target_;
    }
    // A whole drag: enter and move with `dragKeys`, drop with `dropKeys`.
    // Returns the effect shown while dragging; dropEffect_ gets the drop's.
    DWORD Drag(DropTarget& target, const std::vector<std::wstring>& paths, DWORD dragKeys,
               DWORD dropKeys,
               DWORD allowed = DROPEFFECT_MOVE | DROPEFFECT_COPY | DROPEFFECT_LINK) {
        IDataObject* data = DataObjectOf(paths);
        EXPECT_NE(data, nullptr) << "no data object";
        if (!data)
            return DROPEFFECT_NONE;
        POINTL at{150, 150};
        DWORD effect = allowed;
        target.DragEnter(data, dragKeys, at, &effect);
        DWORD shown = allowed;
        target.DragOver(dragKeys, at, &shown);
        EXPECT_EQ(shown, effect) << "enter and move show the same effect";
        dropEffect_ = allowed;
        target.Drop(data, dropKeys, at, &dropEffect_);
        data->Release();
        return shown;
    }

    TempFolder folder_{"ombriel-drop"};
    std::wstring file_ = (folder_ / L"verbale città.pdf").native();
    std::wstring other_ = (folder_ / L"tab.xls").native();
    std::wstring subfolder_ = (folder_ / L"Cartella").native();
    HWND window_ = nullptr;
    DropTarget* target_ = nullptr;
    std::optional<DropRequest> dropped_;
    DWORD dropEffect_ = 0;
};

TEST_F(DropTargetTest, APlainDropAddsFilesAndAltOrCtrlShiftAddsLinks) {
    DropTarget& target = Target(false);
    EXPECT_EQ(Drag(target, {file_, other_}, MK_LBUTTON, 0), DWORD(DROPEFFECT_MOVE));
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::File);
    EXPECT_EQ(dropped_->paths, (std::vector<std::wstring>{file_, other_}));
    EXPECT_EQ(dropEffect_, DWORD(DROPEFFECT_NONE))
        << "the register moves the document itself: the source must delete nothing";

    dropped_.reset();
    EXPECT_EQ(Drag(target, {file_}, MK_LBUTTON | MK_ALT, MK_ALT), DWORD(DROPEFFECT_LINK));
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::Link);
    EXPECT_EQ(dropEffect_, DWORD(DROPEFFECT_LINK));

    dropped_.reset();
    EXPECT_EQ(Drag(target, {file_}, MK_LBUTTON | MK_CONTROL | MK_SHIFT, MK_CONTROL | MK_SHIFT),
              DWORD(DROPEFFECT_LINK));
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::Link);

    // Ctrl asks for a copy, which the register does not make.
    dropped_.reset();
    EXPECT_EQ(Drag(target, {file_}, MK_LBUTTON | MK_CONTROL, MK_CONTROL), DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(dropped_);

    // A source that lets nothing be moved (a read-only medium) gets a link.
    EXPECT_EQ(Drag(target, {file_}, MK_LBUTTON, 0, DROPEFFECT_COPY | DROPEFFECT_LINK),
              DWORD(DROPEFFECT_LINK));
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::Link);
}

TEST_F(DropTargetTest, ARightDragAsksItsMenuAndDoesWhatWasChosen) {
    std::vector<DropAction> answers{DropAction::AddLink, DropAction::AddFile, DropAction::None};
    int asked = 0;
    DropTarget& target = Target(false, [&](POINT at, const AllowedDrop& allowed) {
        EXPECT_EQ(at.x, 150);
        EXPECT_TRUE(allowed.move && allowed.link);
        return answers[size_t(asked++)];
    });
    // The button is up by the time of the drop; the drag showed it.
    EXPECT_EQ(Drag(target, {file_}, MK_RBUTTON, 0), DWORD(DROPEFFECT_MOVE));
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::Link) << "\"Crea collegamento qui\"";
    dropped_.reset();
    Drag(target, {file_}, MK_RBUTTON, 0);
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::File) << "\"Sposta qui\"";
    dropped_.reset();
    Drag(target, {file_}, MK_RBUTTON, 0);
    EXPECT_FALSE(dropped_) << "\"Annulla\"";
    EXPECT_EQ(dropEffect_, DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(asked, 3);
}

TEST_F(DropTargetTest, TheRealDropMenuOffersMoveLinkAndCancel) {
    DropTarget& target = Target(false);
    // The menu's own loop takes the keys posted before it opened: the second
    // item is "Crea collegamento qui".
    SetForegroundWindow(window_);
    PostMessageW(window_, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window_, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window_, WM_KEYDOWN, VK_RETURN, 0);
    Drag(target, {file_}, MK_RBUTTON, 0);
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->kind, EntryKind::Link);

    dropped_.reset();
    PostMessageW(window_, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(window_, WM_KEYDOWN, VK_RETURN, 0);
    Drag(target, {file_}, MK_RBUTTON, 0);
    EXPECT_FALSE(dropped_) << "the last item is \"Annulla\"";
}

TEST_F(DropTargetTest, FoldersAloneAndTheReadOnlyModeCannotDrop) {
    DropTarget& target = Target(false);
    EXPECT_EQ(Drag(target, {subfolder_}, MK_LBUTTON, 0), DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(dropped_);
    // With a file among them they are handed on: the adds refuse each folder.
    EXPECT_EQ(Drag(target, {subfolder_, file_}, MK_LBUTTON, 0), DWORD(DROPEFFECT_MOVE));
    ASSERT_TRUE(dropped_);
    EXPECT_EQ(dropped_->paths, (std::vector<std::wstring>{subfolder_, file_}));

    target_->Release();
    target_ = nullptr;
    dropped_.reset();
    DropTarget& readOnly = Target(true);
    EXPECT_EQ(Drag(readOnly, {file_}, MK_LBUTTON, 0), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Drag(readOnly, {file_}, MK_LBUTTON | MK_ALT, MK_ALT), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Drag(readOnly, {file_}, MK_RBUTTON, 0), DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(dropped_);
    EXPECT_EQ(dropEffect_, DWORD(DROPEFFECT_NONE));
}

} // namespace
