#pragma once
// Owners of the GDI and user-interface handles the wizard keeps: one traits
// type per kind. Kernel objects, modules and windows have theirs in
// platform/win32/Win32Handles.h.
#include <windows.h>

#include "core/UniqueHandle.h"

namespace qv::wizard {

// Fonts, bitmaps and brushes: what DeleteObject frees.
template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;

// A device context made with CreateDC / CreateCompatibleDC (not GetDC).
struct CreatedDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteDC(h); }
};
using UniqueCreatedDc = UniqueHandle<CreatedDcTraits>;

// Icons loaded with LoadImage from our own resources at a chosen size.
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

// Selects an object into a DC for the lifetime of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetDC / ReleaseDC of a window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() { ::ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace qv::wizard
