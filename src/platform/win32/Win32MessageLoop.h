#pragma once
// The engine's waits on the GUI thread: the message-processing delay.
#include "platform/MessageLoop.h"
#include "platform/win32/WindowsHelpers.h"

namespace qv::win32 {

class Win32MessageLoop final : public MessageLoop {
public:
    void Delay(int milliseconds) override { win32::Delay(milliseconds); }
};

}  // namespace qv::win32
