#include "core/UpdateStatus.h"

namespace qv {

const char* UpdateStatusName(UpdateStatus status)
{
    switch (status) {
    case UpdateStatus::Ok: return "Ok";
    case UpdateStatus::Ko: return "Ko";
    case UpdateStatus::Not: return "Not";
    case UpdateStatus::Warning: return "Warning";
    case UpdateStatus::Unknown: break;
    }
    return "Unknown";
}

}  // namespace qv
