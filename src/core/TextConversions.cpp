#include "core/TextConversions.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Texts.h"

namespace qv {

std::uint32_t HexToInt(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return 0;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c == ' ')
            continue;
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string AdjustLineBreaks(std::string_view source)
{
    source = source.substr(0, source.find('\0'));
    std::string out;
    out.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < source.size() && source[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::int32_t ParseInteger(std::string_view text)
{
    auto fail = [&]() -> std::int32_t {
        throw Error(Format(texts::kNotAnInteger, {std::string(text)}));
    };
    std::size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ')
        ++i;
    while (end > i && text[end - 1] == ' ')
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i < end && text[i] == '$') {
        base = 16;
        ++i;
    } else if (end - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == end)
        return fail();
    std::uint64_t value = 0;
    for (; i < end; ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return fail();
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return fail();
    }
    if (base == 16) {
        // Hexadecimal gives the bit pattern, as for a DWORD.
        auto bits = static_cast<std::uint32_t>(value);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (negative ? value > 0x80000000ull : value > 0x7FFFFFFFull)
        return fail();
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value))
                    : static_cast<std::int32_t>(value);
}

}  // namespace qv
