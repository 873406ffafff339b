#pragma once
// The rest of the OS as the engine's portable tests see it: an in-memory
// registry, scripted answers, and waits that are only recorded.
#include <vector>

#include "platform/MessageLoop.h"
#include "support/MemoryRegistry.h"
#include "support/ScriptedInteraction.h"

namespace qv::test {

class RecordingMessageLoop : public MessageLoop {
public:
    std::vector<int> delays;
    void Delay(int milliseconds) override { delays.push_back(milliseconds); }
};

struct EngineServices {
    MemoryRegistry registry;
    ScriptedInteraction user;
    RecordingMessageLoop messages;
};

}  // namespace qv::test
