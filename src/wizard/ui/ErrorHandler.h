#pragma once
// The application's top-level error handler: the last stop of an error that
// nothing else caught. It shows the message unchanged in a standard error
// box and lets the program go on; a silent abort shows nothing.

namespace qv {
class UserInteraction;
}

namespace qv::wizard {

// Call it only from inside a catch block.
void HandleTopLevelError() noexcept;

// Where the top-level handler shows its message: a standard error box of
// its own when null (the default), else through ui (a run nobody watches
// writes it to the report). ui must outlive its use here.
void SetTopLevelInteraction(UserInteraction* ui) noexcept;

// Runs fn; an exception goes to the top-level error handler. For callbacks
// that are not window procedures (idle processing, timers).
template <typename Fn>
void Guarded(Fn&& fn) noexcept
{
    try {
        fn();
    } catch (...) {
        HandleTopLevelError();
    }
}

// The application title: the executable's name without its folder and
// without everything from its first dot, every character after the first in
// lower case ("quorvex-update"). It names the single-instance semaphore and
// captions the top-level error box.
const char* ApplicationTitle();

}  // namespace qv::wizard
