#pragma once
// Owners of the Windows handles both programs use: kernel objects (files,
// processes, threads), directory searches, GDI objects and module memory
// from FormatMessage or the shell.
#include "support/unique_resource.h"

#include <windows.h>

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

template <class Object> struct GdiObjectTraits {
    using Handle = Object;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return DeleteObject(h) != 0; }
};
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;

} // namespace support
