#pragma once
// One instance of the program at a time, through a semaphore named after
// the application title.
#include <string>

#include "platform/win32/Win32Handles.h"

namespace qv::wizard {

class SingleInstance {
public:
    // True when another instance holds the semaphore. The handle (if any)
    // stays open for the life of this object.
    bool AlreadyRunning();
    // The semaphore's name: the application title, never empty.
    static std::string SemaphoreName();

private:
    win32::UniqueKernelHandle semaphore_;
};

}  // namespace qv::wizard
