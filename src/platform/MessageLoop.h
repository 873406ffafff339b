#pragma once
// Waiting on the GUI thread. The wizard implements it with the Windows
// message loop (windows keep painting while the engine waits); tests
// implement it by recording the waits.
namespace qv {

class MessageLoop {
public:
    virtual ~MessageLoop() = default;
    // Waits |milliseconds|; a positive value processes window messages
    // meanwhile and stops early when the application is terminating.
    virtual void Delay(int milliseconds) = 0;
};

}  // namespace qv
