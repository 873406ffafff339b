#pragma once
// Small text conversions shared by the Windows helpers and the registry
// layer. Portable: nothing here touches the system.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Hexadecimal digits to a number, for language codes such as "040C" (1036).
// Blanks are skipped; an empty text, a text longer than 8 characters or any
// character that is neither a blank nor a hexadecimal digit gives 0.
std::uint32_t HexToInt(std::string_view text);

// The text with every line break made CR LF (CR LF stays, a lone CR or a
// lone LF becomes CR LF); it ends at its first NUL, if any.
std::string AdjustLineBreaks(std::string_view source);

// Text to a 32-bit integer as a user would type it: optional blanks around,
// an optional sign, decimal digits or hexadecimal after "$" or "0x". Raises
// qv::Error ("'%s' n'est pas un nombre entier valide") for anything else or
// for a decimal number outside the 32-bit signed range.
std::int32_t ParseInteger(std::string_view text);

}  // namespace qv
