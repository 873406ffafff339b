#include "tools/qvpack/PackagedNames.h"

#include "core/PackagedNames.h"

namespace qv::qvpack {

std::string UnsafeNameReason(std::string_view name)
{
    switch (CheckPackagedName(name)) {
    case PackagedNameFault::None:
        return {};
    case PackagedNameFault::Empty:
        return "the name is empty";
    case PackagedNameFault::Absolute:
        return "the name is absolute";
    case PackagedNameFault::Drive:
        return "the name carries a drive";
    case PackagedNameFault::ForbiddenCharacter:
        return "the name holds a character Windows does not allow in file names";
    case PackagedNameFault::ClimbsOut:
        return "the name climbs out of its folder with \"..\"";
    case PackagedNameFault::EmptyComponent:
        return "the name has an empty or \".\" component";
    case PackagedNameFault::DeviceName:
        return "the name is, or goes through, a Windows device name (CON, PRN, AUX, NUL, COM1, LPT1...)";
    case PackagedNameFault::TrailingDotOrBlank:
        return "a component of the name ends with a dot or a blank, which Windows drops";
    }
    return "the name is refused";
}

}  // namespace qv::qvpack
