#pragma once
// Single-byte (Windows-1252) text helpers shared by every layer.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Splits text into lines the way the package manifests are read: a line ends
// at CR LF, a lone CR or a lone LF; a final line without terminator counts;
// a terminator at the very end adds no empty line; the text ends at the
// first NUL byte.
std::vector<std::string> SplitLines(std::string_view text);

// Upper-cases the ASCII letters a to z only; every other byte stays.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);
// Equal when the texts differ only in the case of their letters, the
// accented letters of Windows-1252 included (É and é, Œ and œ).
bool EqualsIgnoreCaseCp1252(std::string_view a, std::string_view b);
// Lower-cases as Windows does for Windows-1252 text: A to Z and the
// accented capitals (É to é, Œ to œ, Ÿ to ÿ); every other byte stays.
std::string LowerCp1252(std::string_view text);

// For text that leaves for a Linux console or a UTF-8 file.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);

// For Windows' own UTF-16 strings (resource names). A character that
// Windows-1252 lacks becomes '?'.
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace qv
