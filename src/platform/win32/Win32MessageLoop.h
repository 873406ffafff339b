#pragma once
// The engine's waits and timers on the GUI thread: the message-processing
// delay, and timers whose ticks come through the thread's message loop.
#include <functional>

#include "platform/MessageLoop.h"
#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {

class Win32MessageLoop final : public MessageLoop {
public:
    // handleError is called from inside the catch block of an error that
    // escapes a timer's tick (the program passes its top-level handler);
    // without one such an error is dropped.
    explicit Win32MessageLoop(std::function<void()> handleError = {})
        : handleError_(std::move(handleError)) {}

    void Delay(int milliseconds) override { win32::Delay(milliseconds); }
    // Each timer ticks through a message-only window of its own, created on
    // this thread; the tick is WM_TIMER, dispatched by whichever loop runs.
    std::unique_ptr<RepeatingTimer> StartTimer(unsigned intervalMs,
                                               std::function<void()> onTick) override;

private:
    std::function<void()> handleError_;
};

}  // namespace qv::win32
