#pragma once
// Waiting on the GUI thread, and timers that tick on it. The wizard
// implements both with the Windows message loop (windows keep painting while
// the engine waits; a timer's tick is dispatched like any other message);
// tests implement them by recording the waits and the timers.
#include <functional>
#include <memory>

namespace qv {

// A running timer; it stops when this object is destroyed.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
};

class MessageLoop {
public:
    virtual ~MessageLoop() = default;
    // Waits |milliseconds| processing window messages meanwhile (nothing for
    // zero or less); stops early when the application is terminating.
    virtual void Delay(int milliseconds) = 0;
    // Calls onTick on the GUI thread every intervalMs, from the message loop
    // (the program's own, a modal dialog's or Delay's), until the returned
    // timer is destroyed. An error escaping onTick goes to the program's
    // top-level error handler; the timer keeps running.
    virtual std::unique_ptr<RepeatingTimer> StartTimer(unsigned intervalMs,
                                                       std::function<void()> onTick) = 0;
};

}  // namespace qv
