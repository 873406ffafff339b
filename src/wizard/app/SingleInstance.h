#pragma once
// One instance of the program at a time, through a semaphore named after
// the application title.
#include "ui/GdiHandles.h"

namespace qv::wizard {

class SingleInstance {
public:
    // True when another instance holds the semaphore. The handle (if any)
    // stays open for the life of this object.
    bool AlreadyRunning();

private:
    UniqueKernelHandle semaphore_;
};

}  // namespace qv::wizard
