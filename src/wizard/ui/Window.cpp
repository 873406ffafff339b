#include "ui/Window.h"

#include <set>
#include <string>

#include "ui/ErrorHandler.h"
#include "platform/win32/Win32Error.h"

namespace qv::wizard {

Window::~Window()
{
    if (hwnd_) {
        HWND h = hwnd_;
        ::SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        ::DestroyWindow(h);
    }
}

void Window::Create(const char* className, DWORD exStyle, DWORD style, const char* text, int x,
                    int y, int width, int height, HWND parent, int id, HBRUSH background,
                    HICON icon)
{
    static std::set<std::string> registered;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (!registered.count(className)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::Dispatch;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.lpszClassName = className;
        if (!::RegisterClassExA(&wc))
            win32::RaiseLastSystemError();
        registered.insert(className);
    }
    HWND h = ::CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    if (!h)
        win32::RaiseLastSystemError();
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        HandleTopLevelError();
        // A failed creation must not leave a half-made window behind.
        return message == WM_CREATE ? -1 : 0;
    }
}

}  // namespace qv::wizard
