#include "platform/win32/Win32MessageLoop.h"

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Handles.h"

namespace qv::win32 {
namespace {

constexpr char kTimerWindowClass[] = "QuorvexTimerWindow";
constexpr UINT_PTR kTimerId = 1;

class Win32RepeatingTimer final : public RepeatingTimer {
public:
    Win32RepeatingTimer(unsigned intervalMs, std::function<void()> onTick,
                        std::function<void()> handleError)
        : onTick_(std::move(onTick)), handleError_(std::move(handleError))
    {
        RegisterWindowClass();
        window_.reset(::CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, ::GetModuleHandleA(nullptr), nullptr));
        if (!window_)
            RaiseLastSystemError();
        ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (!::SetTimer(window_.get(), kTimerId, intervalMs, nullptr))
            RaiseLastSystemError();
    }
    // The window takes its timer with it.
    ~Win32RepeatingTimer() override { ::KillTimer(window_.get(), kTimerId); }

private:
    static void RegisterWindowClass()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kTimerWindowClass;
        ::RegisterClassA(&wc);  // fails harmlessly when registered already
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_TIMER && wp == kTimerId) {
            auto* self = reinterpret_cast<Win32RepeatingTimer*>(
                ::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
            if (self)
                self->Tick();
            return 0;
        }
        return ::DefWindowProcA(hwnd, msg, wp, lp);
    }

    // No error crosses the window procedure. A tick that comes while the
    // previous one still runs (inside a message box of its own, say) is
    // skipped: the next one comes a whole interval later.
    void Tick() noexcept
    {
        if (ticking_)
            return;
        ticking_ = true;
        try {
            onTick_();
        } catch (...) {
            if (handleError_) {
                try {
                    handleError_();
                } catch (...) {
                }
            }
        }
        ticking_ = false;
    }

    std::function<void()> onTick_;
    std::function<void()> handleError_;
    UniqueWindow window_;
    bool ticking_ = false;
};

}  // namespace

std::unique_ptr<RepeatingTimer> Win32MessageLoop::StartTimer(unsigned intervalMs,
                                                             std::function<void()> onTick)
{
    return std::make_unique<Win32RepeatingTimer>(intervalMs, std::move(onTick), handleError_);
}

}  // namespace qv::win32
