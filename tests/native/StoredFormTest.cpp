#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "core/Errors.h"
#include "core/PackageFile.h"
#include "core/StoredForm.h"

namespace qv {
namespace {

std::string RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(gen());
    return s;
}

// A stored form built by hand, at any compression level: raw is the whole
// inflated content (header and payload).
std::string Deflate(std::string_view raw, int level = 6)
{
    uLongf size = compressBound(raw.size());
    std::string out(size, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                        reinterpret_cast<const Bytef*>(raw.data()), raw.size(), level),
              Z_OK);
    out.resize(size);
    return out;
}

std::string Header(std::int64_t length, std::uint64_t time)
{
    std::string h(16, '\0');
    for (int i = 0; i < 8; ++i) {
        h[i] = static_cast<char>(static_cast<std::uint64_t>(length) >> (8 * i));
        h[8 + i] = static_cast<char>(time >> (8 * i));
    }
    return h;
}

std::string ErrorOf(std::string_view stored)
{
    try {
        DecodeStoredForm(stored);
    } catch (const Error& e) {
        return e.Message();
    }
    return "no error";
}

TEST(StoredForm, RoundTripsPayloadAndTime)
{
    const std::uint64_t time = 0x01D9A1B2C3D4E5F7ull;  // every byte distinct, odd 100 ns
    for (std::string payload : {std::string(), std::string("a"), std::string("a\0b\r\n", 5),
                                RandomBytes(70000, 1), std::string(3u << 20, 'x')}) {
        std::string stored = EncodeStoredForm(payload, time);
        ASSERT_GE(stored.size(), 2u);
        EXPECT_EQ(static_cast<unsigned char>(stored[0]), 0x78);
        EXPECT_EQ(static_cast<unsigned char>(stored[1]), 0xDA);
        StoredFile file = DecodeStoredForm(stored);
        EXPECT_EQ(file.payload, payload);
        EXPECT_EQ(file.time, time);
        EXPECT_TRUE(CheckStoredForm(stored).ok) << CheckStoredForm(stored).problem;
    }
}

TEST(StoredForm, ReadsTheLayoutAtAnyCompressionLevel)
{
    // Length and time little-endian, FILETIME low half first.
    std::string raw = Header(3, 0x0123456789ABCDEFull) + "abc";
    for (int level : {0, 1, 9}) {
        StoredFile file = DecodeStoredForm(Deflate(raw, level));
        EXPECT_EQ(file.payload, "abc");
        EXPECT_EQ(file.time, 0x0123456789ABCDEFull);
    }
}

TEST(StoredForm, IgnoresBytesPastThePayload)
{
    std::string stored = Deflate(Header(2, 7) + "abEXTRA");
    EXPECT_EQ(DecodeStoredForm(stored).payload, "ab");
    EXPECT_FALSE(CheckStoredForm(stored).ok);  // the package check does flag it
}

TEST(StoredForm, RaisesTheNamedErrorForBadInput)
{
    std::string good = EncodeStoredForm(RandomBytes(5000, 2), 1);
    std::string badData = good;
    badData[good.size() / 2] ^= 0x55;
    std::string badChecksum = good;
    badChecksum.back() ^= 1;
    std::string badHeader = good;
    badHeader[0] = 0x79;

    struct Case {
        const char* what;
        std::string stored;
        const char* message;
    } cases[] = {
        {"empty", "", kStreamReadErrorMessage},
        {"not zlib", "hello world", kCorruptStreamMessage},
        {"bad zlib header", badHeader, kCorruptStreamMessage},
        {"damaged deflate data", badData, kCorruptStreamMessage},
        {"damaged checksum", badChecksum, kCorruptStreamMessage},
        {"cut inside the header", good.substr(0, 6), kStreamReadErrorMessage},
        {"cut inside the payload", good.substr(0, good.size() / 2), kStreamReadErrorMessage},
        {"ends before 16 bytes", Deflate(Header(0, 0).substr(0, 10)), kStreamReadErrorMessage},
        {"ends before 16 + N", Deflate(Header(10, 0) + "short"), kStreamReadErrorMessage},
        {"negative length", Deflate(Header(-1, 0)), kStoredLengthMessage},
        {"length 2^31", Deflate(Header(0x80000000ll, 0)), kStoredLengthMessage},
        {"length 2^31 - 1, tiny stream", Deflate(Header(0x7FFFFFFFll, 0)), kStreamReadErrorMessage},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf(c.stored), c.message) << c.what;
        EXPECT_FALSE(CheckStoredForm(c.stored).ok) << c.what;
    }
}

TEST(PackageFile, RoundTripsEntriesInOrder)
{
    std::string a = EncodeStoredForm("one", 1), b = EncodeStoredForm("", 2);
    std::string bytes = WritePackageFile({{"GS\\DATE.INT", a}, {"APPINFO1.TXT", b}});
    auto entries = ParsePackageFile(bytes);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "GS\\DATE.INT");
    EXPECT_EQ(entries[0].stored, a);
    EXPECT_EQ(entries[1].name, "APPINFO1.TXT");
    EXPECT_EQ(entries[1].stored, b);
    EXPECT_TRUE(ParsePackageFile(WritePackageFile({})).empty());
}

TEST(PackageFile, RefusesInconsistentFiles)
{
    std::string good = WritePackageFile({{"A", "xyz"}, {"BC", "1234"}});
    auto withCount = [&](std::uint32_t count) {
        std::string s = good;
        for (int i = 0; i < 4; ++i)
            s[8 + i] = static_cast<char>(count >> (8 * i));
        return s;
    };
    std::string zeroName = good;
    zeroName[12] = 0;
    std::string hugeStored = good;
    hugeStored[14 + 3] = static_cast<char>(0x7F);
    std::string nulName = good;
    nulName[18] = '\0';
    for (const std::string& bad :
         {std::string("QVPACK1"), std::string("QVPACK2") + std::string(5, '\0'),
          good.substr(0, good.size() - 1), good + "x", withCount(3), withCount(0xFFFFFFFFu),
          zeroName, hugeStored, nulName}) {
        EXPECT_THROW(ParsePackageFile(bad), Error) << testing::PrintToString(bad);
    }
}

}  // namespace
}  // namespace qv
