// Timers on the message loop: they tick while the thread processes
// messages (here inside Delay, in the program its main loop), an error of a
// tick goes to the handler the loop was given, and a timer that is gone no
// longer ticks.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/win32/Win32MessageLoop.h"

namespace qv::win32 {
namespace {

// Lets the loop process messages in short delays until done(). How many
// ticks come in a given time depends on the machine's load, so the bound is
// a number of delays (long enough for any load), not a time to assert on.
template <typename Done>
void DelayUntil(Win32MessageLoop& loop, Done done)
{
    for (int steps = 0; steps < 1000 && !done(); ++steps)
        loop.Delay(20);
}

TEST(MessageLoopTimer, TicksWhileMessagesAreProcessedUntilItIsDestroyed)
{
    int errorsHandled = 0;
    Win32MessageLoop loop([&] {
        try {
            throw;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "tick failed");
            ++errorsHandled;
        }
    });
    int fast = 0, failing = 0;
    auto fastTimer = loop.StartTimer(20, [&] { ++fast; });
    auto failingTimer = loop.StartTimer(50, [&] {
        ++failing;
        throw std::runtime_error("tick failed");
    });
    EXPECT_EQ(fast, 0);  // nothing before the loop runs
    DelayUntil(loop, [&] { return fast >= 5 && failing >= 2; });
    EXPECT_GE(fast, 5);
    EXPECT_GE(failing, 2);  // a failing tick does not stop its timer
    EXPECT_EQ(errorsHandled, failing);

    fastTimer.reset();
    failingTimer.reset();
    const int fastBefore = fast, failingBefore = failing;
    loop.Delay(150);
    EXPECT_EQ(fast, fastBefore);
    EXPECT_EQ(failing, failingBefore);
}

TEST(MessageLoopTimer, ATickInsideItsOwnTickIsSkipped)
{
    Win32MessageLoop loop;
    int entered = 0, depth = 0, deepest = 0;
    std::unique_ptr<RepeatingTimer> timer;
    timer = loop.StartTimer(10, [&] {
        ++entered;
        ++depth;
        deepest = std::max(deepest, depth);
        if (entered == 1)
            loop.Delay(100);  // a modal wait inside the tick
        --depth;
    });
    DelayUntil(loop, [&] { return entered >= 2; });
    EXPECT_GE(entered, 2);
    EXPECT_EQ(deepest, 1);
}

}  // namespace
}  // namespace qv::win32
