#include "app/SingleInstance.h"

#include <string>

#include "ui/ErrorHandler.h"

namespace qv::wizard {

namespace {

// An unnamed semaphore would lock nothing: without a title (Windows gave
// no program path) every copy of the program shares this name.
constexpr char kFallbackName[] = "Quorvex-update";

}  // namespace

std::string SingleInstance::SemaphoreName()
{
    const std::string title = ApplicationTitle();
    return title.empty() ? kFallbackName : title;
}

bool SingleInstance::AlreadyRunning()
{
    HANDLE h = ::CreateSemaphoreA(nullptr, 0, 1, SemaphoreName().c_str());
    const DWORD error = ::GetLastError();
    semaphore_.reset(h);
    // A semaphore that could not be made at all counts as not running.
    return h != nullptr && error == ERROR_ALREADY_EXISTS;
}

}  // namespace qv::wizard
