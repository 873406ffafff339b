#pragma once
// The rest of the OS as the engine's portable tests see it: an in-memory
// registry, scripted answers, and waits that are only recorded.
#include <functional>
#include <memory>
#include <vector>

#include "platform/MessageLoop.h"
#include "support/DatabaseDoubles.h"
#include "support/MemoryRegistry.h"
#include "support/ScriptedInteraction.h"

namespace qv::test {

// Records the waits; the timers started are kept with their intervals, and
// a test makes one tick by calling its onTick.
class RecordingMessageLoop : public MessageLoop {
public:
    struct Timer {
        unsigned intervalMs;
        std::function<void()> onTick;
        bool running;
    };
    std::vector<int> delays;
    std::vector<Timer> timers;

    void Delay(int milliseconds) override { delays.push_back(milliseconds); }
    std::unique_ptr<RepeatingTimer> StartTimer(unsigned intervalMs,
                                               std::function<void()> onTick) override
    {
        timers.push_back({intervalMs, std::move(onTick), true});
        return std::make_unique<Stopper>(*this, timers.size() - 1);
    }

private:
    struct Stopper : RepeatingTimer {
        Stopper(RecordingMessageLoop& loop, std::size_t index) : loop(loop), index(index) {}
        ~Stopper() override { loop.timers[index].running = false; }
        RecordingMessageLoop& loop;
        std::size_t index;
    };
};

struct EngineServices {
    MemoryRegistry registry;
    ScriptedInteraction user;
    RecordingMessageLoop messages;
    FakeVersions versions;
    FakeWorkstation workstation;
};

}  // namespace qv::test
