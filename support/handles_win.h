#pragma once
// Owners of the Windows handles both programs use: kernel objects (files,
// processes, threads), directory searches and change notifications, GDI objects and device
// contexts, memory the system or COM hands over, a drop's file list, and COM itself.
#include "support/unique_resource.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

namespace support {

struct KernelHandleTraits {
    using Handle = HANDLE;
    static constexpr Handle kNone = nullptr;
    // CreateFile reports failure with INVALID_HANDLE_VALUE, most others with
    // null: neither is closed.
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return CloseHandle(h) != 0; }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return FindClose(h) != 0; }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

struct ChangeNotificationTraits {
    using Handle = HANDLE;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return FindCloseChangeNotification(h) != 0; }
};
using UniqueChangeNotification = UniqueResource<ChangeNotificationTraits>;

template <class Object> struct GdiObjectTraits {
    using Handle = Object;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return DeleteObject(h) != 0; }
};
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;

// Memory the system allocated with LocalAlloc for its caller
// (FormatMessage, CommandLineToArgvW).
template <class Pointer> struct LocalMemoryTraits {
    using Handle = Pointer;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return LocalFree(h) == nullptr; }
};
template <class Pointer> using UniqueLocalMemory = UniqueResource<LocalMemoryTraits<Pointer>>;

// Memory COM handed over (a shell item list, a path from the shell).
template <class Pointer> struct CoTaskMemoryTraits {
    using Handle = Pointer;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) {
        CoTaskMemFree(h);
        return true;
    }
};
template <class Pointer> using UniqueCoTaskMemory = UniqueResource<CoTaskMemoryTraits<Pointer>>;

// A memory device context from CreateCompatibleDC.
struct MemoryDcTraits {
    using Handle = HDC;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return DeleteDC(h) != 0; }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// The files of a drop on a window, released once read.
struct DropTraits {
    using Handle = HDROP;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) {
        DragFinish(h);
        return true;
    }
};
using UniqueDrop = UniqueResource<DropTraits>;

// A GDI object selected into a device context, put back when it goes.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// COM on the calling thread for the life of the object (a program's main):
// the folder browser, the taskbar button and the picture decoder speak COM.
class ComApartment {
  public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

  private:
    HRESULT result_;
};

} // namespace support
