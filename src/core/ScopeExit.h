#pragma once
// Runs a function when the scope ends, however it ends (return or error):
// the one guard for "undo this on the way out", so that no such undo needs
// a class of its own or a copy in every catch.
//
//     ui.BeginWaitCursor();
//     const ScopeExit endWait([&] { ui.EndWaitCursor(); });
#include <utility>

namespace qv {

template <typename OnExit>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(OnExit onExit) : onExit_(std::move(onExit)) {}
    ~ScopeExit() { onExit_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    OnExit onExit_;
};

}  // namespace qv
