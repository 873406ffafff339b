#include "core/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qv {

std::vector<std::string> SplitLines(std::string_view text)
{
    if (auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

namespace {

// The text with the ASCII letters from..from+25 moved to to..to+25.
std::string MapAsciiLetters(std::string_view text, char from, char to)
{
    std::string out(text);
    for (char& c : out)
        if (c >= from && c < from + 26)
            c = static_cast<char>(c - from + to);
    return out;
}

}  // namespace

std::string UpperAscii(std::string_view text)
{
    return MapAsciiLetters(text, 'a', 'A');
}

std::string LowerAscii(std::string_view text)
{
    return MapAsciiLetters(text, 'A', 'a');
}

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

namespace {

// The upper-case form of one Windows-1252 letter; any other byte stays.
// The letters of Windows-1252 whose two cases lie outside the Latin-1
// pattern (capital + 0x20): S caron, OE ligature, Z caron, Y diaeresis.
struct CasePair {
    unsigned char upper, lower;
};
constexpr CasePair kOtherCasePairs[] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};

unsigned char UpperCp1252(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))  // not the division sign
        return static_cast<unsigned char>(c - 0x20);
    for (const CasePair& p : kOtherCasePairs)
        if (c == p.lower)
            return p.upper;
    return c;
}

unsigned char LowerCp1252(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))  // not the multiplication sign
        return static_cast<unsigned char>(c + 0x20);
    for (const CasePair& p : kOtherCasePairs)
        if (c == p.upper)
            return p.lower;
    return c;
}

}  // namespace

bool EqualsIgnoreCaseCp1252(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperCp1252(static_cast<unsigned char>(x)) ==
                      UpperCp1252(static_cast<unsigned char>(y));
           });
}

std::string LowerCp1252(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(LowerCp1252(static_cast<unsigned char>(c)));
    return lower;
}

namespace {

// Code points of 0x80..0x9F in Windows-1252; 0 marks the five unused bytes.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (unsigned char c : text) {
        char32_t cp = c;
        if (c >= 0x80 && c <= 0x9F)
            cp = kHighControls[c - 0x80] ? kHighControls[c - 0x80] : c;
        AppendUtf8(out, cp);
    }
    return out;
}

std::u16string Cp1252ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (unsigned char c : text)
        out += c >= 0x80 && c <= 0x9F && kHighControls[c - 0x80] ? kHighControls[c - 0x80] : char16_t(c);
    return out;
}

std::string Utf16ToCp1252(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text) {
        bool unusedByte = unit >= 0x80 && unit <= 0x9F && kHighControls[unit - 0x80] == 0;
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF) || unusedByte) {
            out += static_cast<char>(unit);
            continue;
        }
        auto mapped = std::find(kHighControls.begin(), kHighControls.end(), unit);
        out += mapped != kHighControls.end() ? static_cast<char>(0x80 + (mapped - kHighControls.begin())) : '?';
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) { cp = ((c & 0x1F) << 6) | (text[i + 1] & 0x3F); len = 2; }
        else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) { cp = ((c & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F); len = 3; }
        else { out += '?'; ++i; continue; }
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (size_t k = 0; k < kHighControls.size(); ++k)
            if (kHighControls[k] == cp)
                mapped = static_cast<char>(0x80 + k);
        out += mapped;
    }
    return out;
}

}  // namespace qv
