#pragma once
// The product family: its ten kinds, their names and the lookup from a name
// (or a database identifier) to a kind.
#include <array>
#include <cstdint>
#include <string_view>

namespace qv {

// 0 for a name that is no product of the family; 1 to 10 for the kinds.
using ProductKind = std::uint8_t;

inline constexpr ProductKind kProductKindCount = 10;

// Indexed by kind; entry 0 is empty. The name is what packages and the
// registry records use.
extern const std::array<std::string_view, 11> ProductNames;
// The product's own folder inside the products root (kinds 1 and 2 use it).
extern const std::array<std::string_view, 11> ProductShortNames;

// The kind of a product name or of a product's database identifier; the
// ASCII letters compare without regard to case, nothing else is folded and
// nothing is trimmed. 0 for anything else.
ProductKind ProductKindOf(std::string_view name);

}  // namespace qv
