#pragma once
// The result of an update procedure and of a file replacement.
#include <cstdint>

namespace qv {

enum class UpdateStatus : std::uint8_t {
    Unknown = 0,  // no procedure ran, or none returned a status
    Ok = 1,       // the update completed
    Ko = 2,       // the update failed
    Not = 3,      // the update was not carried out
    Warning = 4,  // carried out with problems
};

}  // namespace qv
