#pragma once
// Base of every window the wizard creates itself. Each C++ class registers
// its own window class; one window procedure finds the C++ object of the
// window and hands it the message. No exception leaves a Win32 callback: the
// dispatcher catches it and gives it to the top-level error handler.
#include <windows.h>

namespace qv::wizard {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }

protected:
    // Registers className once (with the common dispatcher) and creates the
    // window; raises the last system error on failure. WM_CREATE already
    // reaches HandleMessage.
    void Create(const char* className, DWORD exStyle, DWORD style, const char* text,
                int x, int y, int width, int height, HWND parent, int id = 0,
                HBRUSH background = nullptr, HICON icon = nullptr);

    // Everything not handled goes to DefWindowProcA. After WM_NCDESTROY no
    // message reaches the object.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace qv::wizard
