#include "core/TextConversions.h"

#include <utility>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Text.h"
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

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The code point that starts at text[i] and its length in bytes; length 0
// when the bytes there are no well-formed UTF-8 (a lone continuation byte,
// a cut or overlong sequence, a surrogate, beyond U+10FFFF).
std::pair<char32_t, std::size_t> DecodeUtf8At(std::string_view text, std::size_t i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t length;
    char32_t cp;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return {0, 0};
    }
    if (i + length > text.size())
        return {0, 0};
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 0};
    return {cp, length};
}

}  // namespace

bool IsUtf8Text(std::string_view bytes)
{
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto [cp, length] = DecodeUtf8At(bytes, i);
        if (length == 0)
            return false;
        beyondAscii = beyondAscii || cp >= 0x80;
        i += length;
    }
    return beyondAscii;
}

Cp1252Conversion ConvertUtf8ToCp1252(std::string_view utf8)
{
    Cp1252Conversion result;
    if (utf8.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        utf8.remove_prefix(kUtf8ByteOrderMark.size());
    result.text.reserve(utf8.size());
    std::size_t line = 1;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto [cp, length] = DecodeUtf8At(utf8, i);
        std::string mapped;
        if (length != 0 && (cp < 0x80 || cp >= 0xA0) && cp <= 0xFFFF)
            mapped = Utf16ToCp1252(std::u16string(1, static_cast<char16_t>(cp)));
        // Windows-1252 gives '?' for what it lacks: only a real '?' is one.
        if (length == 0 || mapped.empty() || (mapped == "?" && cp != U'?')) {
            result.ok = false;
            result.line = line;
            result.character = std::string(utf8.substr(i, length == 0 ? 1 : length));
            result.codePoint = length == 0 ? 0 : cp;
            result.text.clear();
            return result;
        }
        result.text += mapped;
        if (cp == '\n' || (cp == '\r' && (i + 1 == utf8.size() || utf8[i + 1] != '\n')))
            ++line;
        i += length;
    }
    return result;
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
