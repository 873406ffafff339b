#pragma once
namespace qv::wizard {
// Waits milliseconds while the window messages are processed, so that the
// windows keep painting.
void Delay(unsigned milliseconds);
}  // namespace qv::wizard
