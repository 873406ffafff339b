#include "app/SingleInstance.h"

#include "ui/ErrorHandler.h"

namespace qv::wizard {

bool SingleInstance::AlreadyRunning()
{
    HANDLE h = ::CreateSemaphoreA(nullptr, 0, 1, ApplicationTitle());
    const DWORD error = ::GetLastError();
    semaphore_.reset(h);
    // A semaphore that could not be made at all counts as not running.
    return h != nullptr && error == ERROR_ALREADY_EXISTS;
}

}  // namespace qv::wizard
