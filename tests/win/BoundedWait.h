#pragma once
// Waiting in the Windows tests. Every wait has a time-out, and a wait that
// runs out stops the test at once with what it was waiting for, rather than
// hanging until CTest kills the program or going on from a state that was
// never reached. No test sleeps to let something happen: it waits for it.
#include <windows.h>

#include <functional>

namespace qv::test {

// Processes this thread's messages until done() or the time-out; true when
// done() came true.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
}

}  // namespace qv::test

// ASSERT_AWAITED("the welcome page", [&] { return ...; }, 20000): waits for
// the condition; when the time-out passes first, the test fails and stops
// here, naming what it awaited.
#define ASSERT_AWAITED(what, done, timeoutMs)                                        \
    ASSERT_TRUE(::qv::test::WaitUntil((done), (timeoutMs)))                          \
        << "gave up after " << (timeoutMs) << " ms waiting for " << (what)
