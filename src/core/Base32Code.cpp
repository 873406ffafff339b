#include "core/Base32Code.h"

namespace qv {

std::string Base32Code(std::uint32_t n)
{
    std::string code(5, '0');
    for (int i = 4; i >= 0; --i) {
        code[static_cast<std::size_t>(i)] = kBase32Alphabet[n % 32];
        n >>= 5;
    }
    return code;
}

}  // namespace qv
