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

// How the package tool reads the bytes of a text file: well-formed UTF-8
// holding at least one sequence beyond ASCII (a byte-order mark counts) is
// UTF-8; anything else is Windows-1252 as it stands (ASCII is both).
bool IsUtf8Text(std::string_view bytes);

// UTF-8 text in Windows-1252, without its byte-order mark if it has one.
// Stops at the first character that has no Windows-1252 form (the C1
// controls U+0080 to U+009F included) or at bytes that are no well-formed
// UTF-8: ok is then false, with that character's line (1-based, lines
// ending at CR LF, CR or LF) and the character in UTF-8 (the bad bytes as
// they stand).
struct Cp1252Conversion {
    bool ok = true;
    std::string text;  // the whole text when ok
    std::size_t line = 0;
    std::string character;
    char32_t codePoint = 0;  // 0 for bytes that are no UTF-8
};
Cp1252Conversion ConvertUtf8ToCp1252(std::string_view utf8);

// Text to a 32-bit integer as a user would type it: optional blanks around,
// an optional sign, decimal digits or hexadecimal after "$" or "0x". Raises
// qv::Error ("'%s' n'est pas un nombre entier valide") for anything else or
// for a decimal number outside the 32-bit signed range.
std::int32_t ParseInteger(std::string_view text);

}  // namespace qv
