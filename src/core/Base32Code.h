#pragma once
// The five-character codes of the installer's generated file names.
#include <cstdint>
#include <string>

namespace qv {

inline constexpr char kBase32Alphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";

// The low 25 bits of n as five characters of kBase32Alphabet, most
// significant group first: 33 gives "00011".
std::string Base32Code(std::uint32_t n);

}  // namespace qv
