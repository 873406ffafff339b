#include <gtest/gtest.h>

#include <string>

#include "core/Base32Code.h"
#include "core/Errors.h"
#include "core/LineBreakChunker.h"
#include "core/TextConversions.h"

namespace qv {
namespace {

TEST(HexToInt, DigitsBlanksAndInvalidText)
{
    struct Case {
        const char* text;
        std::uint32_t expected;
    } cases[] = {
        {"040C", 1036},       {"040c", 1036},      {"1 f", 31},         {"", 0},
        {"0x10", 0},          {"123456789", 0},    {"FFFFFFFF", 0xFFFFFFFFu},
        {"7fffffff", 0x7FFFFFFF}, {"04E4", 1252},  {"g", 0},            {"  ", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexToInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(AdjustLineBreaks, EveryBreakBecomesCrLf)
{
    struct Case {
        std::string source, expected;
    } cases[] = {
        {"a\rb\nc\r\n", "a\r\nb\r\nc\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"no break", "no break"},
        {"", ""},
        {std::string("ab\0\ncd", 6), "ab"},  // stops at the first NUL
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdjustLineBreaks(c.source), c.expected);
}

TEST(ParseInteger, AcceptsWhatAUserTypes)
{
    struct Case {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {"12", 12},        {" -7 ", -7},         {"+3", 3},
        {"$FF", 255},      {"0x10", 16},         {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},        {"0xFFFFFFFF", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(c.text), c.expected) << c.text;
    for (const char* bad : {"", "abc", "12a", "2147483648", "0x", "$", "1 2", "0x1FFFFFFFF"}) {
        try {
            ParseInteger(bad);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), "'" + std::string(bad) + "' n'est pas un nombre entier valide");
        }
    }
}

TEST(Base32Code, LowTwentyFiveBitsMostSignificantFirst)
{
    EXPECT_EQ(Base32Code(0), "00000");
    EXPECT_EQ(Base32Code(33), "00011");
    EXPECT_EQ(Base32Code(31), "0000V");
    EXPECT_EQ(Base32Code(33554431), "VVVVV");
    EXPECT_EQ(Base32Code(33554432 + 33), "00011");  // bit 25 and above do not show
}

// Streams `input` through the chunker with the given control buffer size
// and returns what the control received.
std::string Pump(const std::string& input, std::size_t capacity, std::size_t* chunks = nullptr)
{
    std::size_t pos = 0;
    LineBreakChunker chunker;
    auto read = [&](char* buffer, std::size_t max) {
        std::size_t n = std::min(max, input.size() - pos);
        input.copy(buffer, n, pos);
        pos += n;
        return n;
    };
    std::string out;
    std::string buffer(capacity, '\x7F');
    std::size_t count = 0;
    while (std::size_t n = chunker.Next(read, buffer.data(), capacity)) {
        EXPECT_LE(n, capacity);
        out.append(buffer.data(), n);
        ++count;
    }
    if (chunks)
        *chunks = count;
    return out;
}

TEST(LineBreakChunker, ConvertsAcrossChunkBoundaries)
{
    std::string rtf = "{\\rtf1\\ansi\r\n{\\b gras}\\par\nligne\rfin}";
    std::string expected = AdjustLineBreaks(rtf);
    for (std::size_t capacity : {4u, 5u, 6u, 8u, 13u, 4096u})
        EXPECT_EQ(Pump(rtf, capacity), expected) << "capacity " << capacity;

    // A CR LF cut in two by the chunk size stays one line break, and a CR at
    // the very end is not lost.
    EXPECT_EQ(Pump("ab\r\ncd", 6), "ab\r\ncd");
    EXPECT_EQ(Pump("abc\r", 4), "abc\r\n");
    // All line feeds: the doubled chunk still fits the control's buffer.
    std::size_t chunks = 0;
    EXPECT_EQ(Pump(std::string(100, '\n'), 10, &chunks).size(), 200u);
    EXPECT_EQ(chunks, 20u);
    EXPECT_EQ(Pump("", 4096), "");
}

TEST(LineBreakChunker, ReadErrorsPassThrough)
{
    LineBreakChunker chunker;
    char buffer[16];
    auto failing = [](char*, std::size_t) -> std::size_t { throw Error("read failed"); };
    EXPECT_THROW(chunker.Next(failing, buffer, sizeof buffer), Error);
}

}  // namespace
}  // namespace qv
