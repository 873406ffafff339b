#include "ui/SpeedButton.h"

#include <commctrl.h>

#include "platform/win32/Win32Error.h"

namespace qv::wizard {

SpeedButton::SpeedButton(HWND parent, int id, int iconResource, int x, int y, int size)
{
    button_ = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, size,
                                size, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleA(nullptr), nullptr);
    if (!button_)
        win32::RaiseLastSystemError();
    glyphSize_ = size >= 32 ? 32 : 16;
    glyph_.reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                 MAKEINTRESOURCEA(iconResource), IMAGE_ICON,
                                                 glyphSize_, glyphSize_, 0)));
    ::SetWindowSubclass(button_, &SpeedButton::HoverProc, 1, 0);
}

void SpeedButton::Draw(const DRAWITEMSTRUCT& item) const
{
    RECT r = item.rcItem;
    HDC dc = item.hDC;
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    bool pressed = item.itemState & ODS_SELECTED;
    bool hot = ::GetPropA(item.hwndItem, "QvHot") != nullptr;
    if (pressed)
        ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot)
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    int x = (r.right - r.left - glyphSize_) / 2 + (pressed ? 1 : 0);
    int y = (r.bottom - r.top - glyphSize_) / 2 + (pressed ? 1 : 0);
    if (glyph_)
        ::DrawIconEx(dc, x, y, glyph_.get(), glyphSize_, glyphSize_, 0, nullptr, DI_NORMAL);
    if (item.itemState & ODS_FOCUS) {
        RECT f = r;
        ::InflateRect(&f, -3, -3);
        ::DrawFocusRect(dc, &f);
    }
}

// Tracks the mouse over the button so that it can look raised.
LRESULT CALLBACK SpeedButton::HoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (!::GetPropA(hwnd, "QvHot")) {
            ::SetPropA(hwnd, "QvHot", reinterpret_cast<HANDLE>(1));
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
            ::TrackMouseEvent(&tme);
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        ::RemovePropA(hwnd, "QvHot");
        ::InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_NCDESTROY:
        ::RemovePropA(hwnd, "QvHot");
        ::RemoveWindowSubclass(hwnd, &SpeedButton::HoverProc, 1);
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace qv::wizard
