#include "platform/Registry.h"

namespace qv {

std::string RegistryValueText(const RegistryValue& value)
{
    if (const auto* n = std::get_if<std::int32_t>(&value))
        return std::to_string(*n);
    return std::get<std::string>(value);
}

}  // namespace qv
