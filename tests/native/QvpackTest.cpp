#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "core/Manifests.h"
#include "core/PackageFile.h"
#include "core/PeImage.h"
#include "core/PeResourceWriter.h"
#include "core/PeResources.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "core/TextConversions.h"
#include "engine/EmbeddedFiles.h"
#include "platform/PackageFileSource.h"
#include "support/MemoryFileSystem.h"
#include "support/TinyPe.h"
#include "tools/qvpack/Commands.h"
#include "tools/qvpack/FileTimes.h"
#include "tools/qvpack/PackagedNames.h"

namespace fs = std::filesystem;

namespace qv::qvpack {
namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return std::move(s).str();
}

void WriteAll(const fs::path& path, std::string_view bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder of the temporary folder that no other run, of this test or
// another build on the machine, can have: a random name, created here.
// UTF-8 bytes, as an editor writes them (plain literals are Windows-1252
// in this build).
std::string Utf8(std::u8string_view text)
{
    return std::string(text.begin(), text.end());
}

fs::path UniqueScratchFolder()
{
    std::random_device random;
    for (;;) {
        const unsigned long long n = (static_cast<unsigned long long>(random()) << 32) ^ random();
        fs::path dir = fs::temp_directory_path() / ("qvpack-test-" + std::to_string(n));
        if (fs::create_directory(dir))
            return dir;
    }
}

TEST(PackagedNames, RefusesNamesThatLeaveTheirFolder)
{
    for (const char* safe : {"gs\\date.int", "AppInfo1.txt", "a..b\\c", "images07\\x.bmp", "console.txt",
                             "com10.txt", "nul_x.txt", "lpt.txt", "auxiliaire\\x", "a.b\\c", " x", ".x"})
        EXPECT_EQ(UnsafeNameReason(safe), "") << safe;
    struct Case {
        const char* name;
        const char* why;
    } cases[] = {
        {"\\windows\\x.dll", "absolute"}, {"/etc/passwd", "absolute"},
        {"C:x.int", "drive"}, {"c:\\x.int", "drive"}, {"gs\\a:stream", "drive"},
        {"..\\x.int", "\"..\""}, {"gs\\..\\..\\x.int", "\"..\""}, {"gs/../x", "\"..\""}, {"..", "\"..\""},
        {"", "empty"}, {"gs\\\\x", "empty"}, {".\\x", "\".\""}, {"a\"b", "character"}, {"a\nb", "character"},
        // What Windows reads as a device, in any case, with any extension,
        // at any level; and the trailing dots and blanks it drops.
        {"nul", "device"}, {"NUL.txt", "device"}, {"sub\\con\\x.dll", "device"}, {"Com9.log", "device"},
        {"lpt1", "device"}, {"aux.tar.gz", "device"}, {"gs\\PRN", "device"}, {"conin$", "device"},
        {"com\xB9", "device"}, {"nul .txt", "device"},
        {"gs\\date.int.", "ends with a dot or a blank"}, {"gs \\x", "ends with a dot or a blank"},
        {"x ", "ends with a dot or a blank"}, {"a.\\b", "ends with a dot or a blank"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(UnsafeNameReason(c.name), testing::HasSubstr(c.why)) << c.name;
}

// Which files are UTF-8, and what their Windows-1252 form is.
TEST(TextEncoding, Utf8IsTakenOnlyWhenItIsWellFormedAndBeyondAscii)
{
    struct Case {
        std::string bytes;
        bool utf8;
        std::string cp1252;  // when utf8 and convertible
    } cases[] = {
        {"plain ASCII\r\n", false, ""},
        {"Biblioth\xE8que", false, ""},                      // Windows-1252 already
        {Utf8(u8"Bibliothèque"), true, "Biblioth\xE8que"},
        {"\xEF\xBB\xBFplain", true, "plain"},                // a byte-order mark alone
        {Utf8(u8"€ – ‰ Ÿ œ"), true, "\x80 \x96 \x89 \x9F \x9C"},  // the 0x80-0x9F range
        {"\xC3\xA8\xC3", false, ""},                         // cut at the end
        {"\xC0\xA8 overlong", false, ""},
        {"\xED\xA0\x80 surrogate", false, ""},
        {"\xC3\xA8 then \xE8", false, ""},                   // mixed: Windows-1252
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(IsUtf8Text(c.bytes), c.utf8);
        if (c.utf8) {
            Cp1252Conversion converted = ConvertUtf8ToCp1252(c.bytes);
            EXPECT_TRUE(converted.ok);
            EXPECT_EQ(converted.text, c.cp1252);
        }
    }
    // What Windows-1252 lacks, with its line: CR LF, CR and LF each end one.
    const struct {
        std::string text;
        std::size_t line;
        char32_t codePoint;
    } refused[] = {
        {Utf8(u8"é\r\nb\rc\nd \u2713"), 4, 0x2713},
        {Utf8(u8"é\U0001F600"), 1, 0x1F600},  // beyond the 16-bit plane
        {Utf8(u8"é\u0085"), 1, 0x85},          // a C1 control, no character of Windows-1252
        {Utf8(u8"é ? \u0153 \u0152 \u20AC ok\n\u2190"), 2, 0x2190},  // a real '?' passes
    };
    for (const auto& r : refused) {
        Cp1252Conversion converted = ConvertUtf8ToCp1252(r.text);
        EXPECT_FALSE(converted.ok) << testing::PrintToString(r.text);
        EXPECT_EQ(converted.line, r.line) << testing::PrintToString(r.text);
        EXPECT_EQ(converted.codePoint, r.codePoint) << testing::PrintToString(r.text);
    }
}

class QvpackTest : public testing::Test {
protected:
    // Its own folder: /tmp is shared by every build and user of the machine.
    fs::path dir = UniqueScratchFolder();
    std::ostringstream out, err;
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(QvpackTest, BuildsAndExtractsWithExactTimes)
{
    const std::uint64_t time = 133551450001234567ull;
    WriteAll(dir / "src/gs/date.int", "payload");
    WriteAll(dir / "src/FileNames.txt", "gs\\date.int\r\n");
    WriteAll(dir / "src/empty.txt", "");
    SetWriteTime(dir / "src/gs/date.int", time);
    ASSERT_EQ(Build(dir / "src", dir / "p.qvp", dir / "p.rc", out, err), 0) << err.str();
    EXPECT_THAT(ReadAll(dir / "p.rc"), testing::HasSubstr("\"GS\\\\DATE.INT\" RCDATA"));

    PackageFileSource package(ReadAll(dir / "p.qvp"));
    EXPECT_THAT(package.Names(), testing::ElementsAre("EMPTY.TXT", "FILENAMES.TXT", "GS\\DATE.INT"));
    test::MemoryFileSystem files;
    auto date = EmbeddedFiles(package, files).LoadEmbeddedFile("gs\\date.int");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->payload, "payload");
    EXPECT_EQ(date->time, time);

    EXPECT_EQ(Verify(dir / "p.qvp", out, err), 0) << err.str();
    ASSERT_EQ(Extract(dir / "p.qvp", dir / "out", {}, out, err), 0) << err.str();
    EXPECT_EQ(ReadAll(dir / "out/GS/DATE.INT"), "payload");
    EXPECT_EQ(ReadWriteTime(dir / "out/GS/DATE.INT"), time);
    EXPECT_TRUE(fs::exists(dir / "out/EMPTY.TXT"));
}

TEST_F(QvpackTest, RefusesCollidingNamesAndWritesNothing)
{
#ifdef _WIN32
    GTEST_SKIP() << "a case-insensitive file system cannot hold both names";
#endif
    WriteAll(dir / "src/gs/date.int", "a");
    WriteAll(dir / "src/gs/DATE.INT", "b");
    EXPECT_EQ(Build(dir / "src", dir / "p.qvp", {}, out, err), 1);
    EXPECT_THAT(err.str(), testing::HasSubstr("collide once upper-cased"));
    EXPECT_FALSE(fs::exists(dir / "p.qvp"));
}

TEST_F(QvpackTest, ExtractRefusesAClimbingNameBeforeWritingAnything)
{
    std::string stored = EncodeStoredForm("evil", 0);
    WriteAll(dir / "p.qvp", WritePackageFile({{"A.TXT", stored}, {"..\\..\\EVIL.TXT", stored}}));
    EXPECT_EQ(Extract(dir / "p.qvp", dir / "out", {}, out, err), 1);
    EXPECT_THAT(err.str(), testing::HasSubstr("refused payload name \"..\\..\\EVIL.TXT\""));
    EXPECT_FALSE(fs::exists(dir / "out"));
    EXPECT_FALSE(fs::exists(dir.parent_path() / "EVIL.TXT"));
}

TEST_F(QvpackTest, VerifyFindsEveryKindOfProblem)
{
    std::string good = EncodeStoredForm("x", 0);
    WriteAll(dir / "p.qvp", WritePackageFile({
        {"FILENAMES.TXT", EncodeStoredForm("gs\\a.int\r\ngs\\missing.int\r\n", 0)},
        {"PRINTLISTS.TXT", EncodeStoredForm("Bilan.lst\r\n", 0)},
        {"GS\\A.INT", good},
        {"GS\\CUT.INT", good.substr(0, good.size() - 2)},
        {"gs\\lower.int", good},
        {"GS\\A.INT", good},
    }));
    EXPECT_EQ(Verify(dir / "p.qvp", out, err), 1);
    for (const char* problem : {"FileNames.txt line 2: \"gs\\missing.int\" is not packaged",
                                "PrintLists.txt line 1: \"Bilan.lst\" is not packaged",
                                "\"GS\\CUT.INT\": ", "not stored upper-cased", "collide once upper-cased",
                                "5 problems"})
        EXPECT_THAT(err.str(), testing::HasSubstr(problem));
}

// What the program would misread: manifests and listed print lists in
// UTF-16 or holding a NUL (the program cuts them there), lines naming a
// device, manifests beyond their size bound.
TEST_F(QvpackTest, VerifyRefusesWhatTheProgramWouldMisread)
{
    const std::string utf16 = std::string("\xFF\xFE" "C\0O\0M\0:\0", 10);
    WriteAll(dir / "p.qvp", WritePackageFile({
        {"APPINFO2.TXT", EncodeStoredForm(std::string("a\0b", 3), 0)},
        {"BILAN.LST", EncodeStoredForm(utf16, 0)},
        {"ETAT.LST", EncodeStoredForm(std::string("COM:1\r\n\0", 8), 0)},
        {"FACTURES.LST", EncodeStoredForm("COM:1\r\nbody", 0)},
        {"FILENAMES.TXT", EncodeStoredForm("nul.txt\r\n", 0)},
        {"NUL.TXT", EncodeStoredForm("x", 0)},
        {"PRINTLISTS.TXT", EncodeStoredForm("Bilan.lst\r\nEtat.lst\r\nFactures.lst\r\n", 0)},
        {"STEPS.TXT", EncodeStoredForm(std::string("\xFE\xFF\0f", 4), 0)},
        {"UPDATES.TXT", EncodeStoredForm(std::string(manifest::kMaxTextManifestLength + 1, 'a'), 0)},
    }));
    EXPECT_EQ(Verify(dir / "p.qvp", out, err), 1);
    for (const char* problem : {"AppInfo2.txt: holds a NUL byte", "\"Bilan.lst\" (PrintLists.txt line 1): UTF-16",
                                "\"Etat.lst\" (PrintLists.txt line 2): holds a NUL byte", "Steps.txt: UTF-16",
                                "FileNames.txt line 1: \"nul.txt\"", "\"NUL.TXT\": ",
                                "Updates.txt: 1048577 bytes, more than the program reads (1048576)"})
        EXPECT_THAT(err.str(), testing::HasSubstr(problem));
    EXPECT_THAT(err.str(), testing::Not(testing::HasSubstr("Factures")));
}

// The resource writer, on a small image laid out as the linker lays out the
// wizard, in both formats.
Resource Res(std::uint16_t type, ResourceId name, std::string_view data, std::uint16_t language = 0,
             std::uint32_t codePage = 0)
{
    return {{type, {}}, std::move(name), language, codePage, data};
}
ResourceId Id(std::uint16_t number) { return {number, {}}; }
ResourceId Named(std::string_view cp1252) { return {0, Cp1252ToUtf16(cp1252)}; }

using FlatResource = std::tuple<std::uint16_t, std::uint16_t, std::string, std::uint16_t, std::uint32_t, std::string>;
std::vector<FlatResource> Flat(const std::vector<Resource>& resources)
{
    std::vector<FlatResource> flat;
    for (const Resource& r : resources)
        flat.emplace_back(r.type.number, r.name.number, Utf16ToCp1252(r.name.text), r.language, r.codePage,
                          std::string(r.data));
    return flat;
}

std::uint32_t HeaderField(const std::string& image, std::uint32_t field)
{
    PeImage pe(image);
    return pe.Bytes().U32(pe.optionalHeader + field);
}

// A stub's own resources, as the resource compiler writes them.
const std::vector<Resource> kOwnResources = {
    Res(3, Id(1), "icon image", 1033), Res(14, Id(100), "icon group", 1033),
    Res(16, Id(1), "version block", 1033, 1252), Res(24, Id(1), "<assembly/>", 1033)};

class PeResourceWriter : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Formats, PeResourceWriter, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Pe32Plus" : "Pe32"; });

TEST_P(PeResourceWriter, AddsASectionThenRewritesItWhenLast)
{
    using L = test::TinyPeLayout;
    const std::string tiny = test::TinyPe::Make(GetParam());
    const std::string symbols = tiny.substr(L::kSymbols);

    // No resources yet: a new section after the others.
    std::string stub = ReplaceResources(tiny, kOwnResources);
    PeImage first(stub);
    ASSERT_EQ(first.Sections().size(), 3u);
    const PeSection rsrc = first.Sections()[2];
    EXPECT_EQ(rsrc.name, ".rsrc");
    EXPECT_EQ(rsrc.virtualAddress, 0x3000u);
    EXPECT_EQ(rsrc.rawOffset, L::kSymbols);
    EXPECT_EQ(HeaderField(stub, pe::kImageSize), 0x4000u);
    EXPECT_EQ(HeaderField(stub, pe::kInitializedDataSize), 0x200u + rsrc.rawSize);
    EXPECT_EQ(stub.substr(0, L::kSymbols).substr(L::kCode), tiny.substr(0, L::kSymbols).substr(L::kCode));
    EXPECT_EQ(first.symbolTable, rsrc.rawOffset + rsrc.rawSize);
    EXPECT_EQ(stub.substr(first.symbolTable), symbols);
    EXPECT_EQ(Flat(ReadResources(stub)), Flat(kOwnResources));

    // The package added: the resource section, now the last one, is
    // rewritten in place. Named entries first, ordered as upper case unit
    // by unit, which is not the order of the bytes: 'S' < '\' < '_' < 'b'.
    std::vector<Resource> all = kOwnResources;
    for (const char* name : {"UTIL\\X.DLL", "A_B", "b\\lower.txt", "UTILS.TXT", "AAB", "C.TXT", "GS\\GS-00.INT"})
        all.push_back(Res(kRcDataType, Named(name), name));
    all.push_back(Res(kRcDataType, Id(7), "numbered"));
    std::string program = ReplaceResources(stub, all);
    PeImage second(program);
    ASSERT_EQ(second.Sections().size(), 3u);
    EXPECT_EQ(second.Sections()[2].virtualAddress, rsrc.virtualAddress);
    EXPECT_EQ(second.Sections()[2].rawOffset, rsrc.rawOffset);
    EXPECT_EQ(program.substr(second.symbolTable), symbols);
    EXPECT_EQ(HeaderField(program, pe::kInitializedDataSize), 0x200u + second.Sections()[2].rawSize);
    EXPECT_EQ(HeaderField(program, pe::kCheckSum), PeCheckSum(program));

    std::vector<std::string> names;
    for (const PackageEntry& e : ReadRcDataResources(program))
        names.push_back(e.name);
    EXPECT_THAT(names, testing::ElementsAre("AAB", "A_B", "b\\lower.txt", "C.TXT", "GS\\GS-00.INT",
                                            "UTILS.TXT", "UTIL\\X.DLL"));
    auto read = Flat(ReadResources(program)), written = Flat(all);
    std::sort(read.begin(), read.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(read, written);
}

// An empty resource whose bytes come last in the section: its address must
// still lie inside the section for the program to be read again.
TEST_P(PeResourceWriter, AnEmptyResourceLastIsReadBack)
{
    // A file alignment of 8: the section's data then ends with the last
    // resource's bytes, with no padding after them.
    std::string image = test::TinyPe::Make(GetParam());
    const std::uint64_t fileAlignment = PeImage(image).optionalHeader + 36;
    image[fileAlignment] = 8;
    image[fileAlignment + 1] = 0;
    ASSERT_EQ(PeImage(image).fileAlignment, 8u);
    std::vector<Resource> all = kOwnResources;
    all.push_back(Res(0x7FFF, Id(1), ""));
    const std::string program = ReplaceResources(image, all);
    auto read = Flat(ReadResources(program)), written = Flat(all);
    std::sort(read.begin(), read.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(read, written);
}

TEST(PeResourceWriterRefusals, RefuseWhatCannotBeWritten)
{
    std::string signedImage = test::TinyPe::Make(true);
    {
        PeImage pe(signedImage);
        std::uint64_t certificates = pe.directories + 8 * PeImage::kCertificateDirectory;
        signedImage[certificates] = 0x10;
        signedImage[certificates + 4] = 0x08;
    }
    struct Case {
        const char* what;
        std::string image;
        std::vector<Resource> resources;
        const char* message;
    } cases[] = {
        {"one name in two cases", test::TinyPe::Make(true),
         {Res(kRcDataType, Named("GS\\A.INT"), "1"), Res(kRcDataType, Named("gs\\a.int"), "2")},
         "Two resources \"gs\\a.int\" of type #10"},
        {"a signed image", signedImage, kOwnResources, "signed"},
        {"no room for a section header", test::TinyPe::Make(false, true), kOwnResources, "no room"},
        {"a cut image", test::TinyPe::Make(true).substr(0, 0x100), kOwnResources, "Invalid executable"},
        {"no image", "MZ", kOwnResources, "Invalid executable"},
    };
    for (const Case& c : cases) {
        try {
            ReplaceResources(c.image, c.resources);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const Error& e) {
            EXPECT_THAT(e.Message(), testing::HasSubstr(c.message)) << c.what;
        }
    }
}

// qvpack make, on a stub made from the small image.
class MakeTest : public QvpackTest {
protected:
    static constexpr std::uint64_t kTime = 133551450001234567ull;
    fs::path folder = dir / "package", stub = dir / "stub.exe", program = dir / "update.exe";

    void SetUp() override
    {
        QvpackTest::SetUp();
        WriteAll(folder / "AppInfo1.txt", "Quorvex Finance");
        WriteAll(folder / "Updates.txt", "Quorvex Finance\r\n");
        WriteAll(folder / "FileNames.txt", "gs\\date.int\r\n");
        WriteAll(folder / "gs/date.int", "payload");
        WriteAll(folder / "gs/GS-00.int", "marker");
        SetWriteTime(folder / "gs/date.int", kTime);
        WriteAll(stub, ReplaceResources(test::TinyPe::Make(true), kOwnResources));
    }
};

TEST_F(MakeTest, MakesAProgramThatCarriesTheFolderReproducibly)
{
    ASSERT_EQ(Make(folder, program, stub, out, err), 0) << err.str();
    EXPECT_EQ(Verify(program, out, err), 0) << err.str();
    const std::string made = ReadAll(program);
    PackageFileSource package{std::string(made)};
    EXPECT_THAT(package.Names(), testing::ElementsAre("APPINFO1.TXT", "FILENAMES.TXT", "GS\\DATE.INT",
                                                      "GS\\GS-00.INT", "UPDATES.TXT"));
    StoredFile date = DecodeStoredForm(*package.Find("GS\\DATE.INT"));
    EXPECT_EQ(date.payload, "payload");
    EXPECT_EQ(date.time, kTime);
    // The stub's own resources are still there, as they were.
    auto resources = Flat(ReadResources(made));
    for (const FlatResource& own : Flat(kOwnResources))
        EXPECT_THAT(resources, testing::Contains(own));

    // The same stub and folder give the same bytes; an older program is
    // replaced whole.
    fs::path again = dir / "again.exe";
    WriteAll(again, "an older program");
    ASSERT_EQ(Make(folder, again, stub, out, err), 0) << err.str();
    EXPECT_TRUE(ReadAll(again) == made);
    EXPECT_FALSE(fs::exists(dir / "again.exe.partial"));
}

TEST_F(MakeTest, RefusesABrokenFolderAndLeavesTheProgramThatWasThere)
{
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::string message;
    } cases[] = {
        {"no AppInfo1.txt", [this] { fs::remove(folder / "AppInfo1.txt"); }, "AppInfo1.txt is missing"},
        {"no Updates.txt", [this] { fs::remove(folder / "Updates.txt"); }, "Updates.txt is missing"},
        {"no known product", [this] { WriteAll(folder / "Updates.txt", "Finance\r\n"); },
         "Updates.txt names no product of the family"},
        {"no marker", [this] { fs::remove(folder / "gs/GS-00.int"); },
         "\"gs\\GS-00.int\" is not packaged: the update of Quorvex Finance needs it"},
        {"a listed file missing",
         [this] { WriteAll(folder / "FileNames.txt", "gs\\date.int\r\ngs\\gone.int\r\n"); },
         "FileNames.txt line 2: \"gs\\gone.int\" is not packaged"},
        {"a print list missing", [this] { WriteAll(folder / "PrintLists.txt", "Bilan.lst\r\n"); },
         "PrintLists.txt line 1: \"Bilan.lst\" is not packaged"},
        {"a stub that carries a package",
         [this] { ASSERT_EQ(Make(folder, stub.string() + ".made", stub, out, err), 0);
                           fs::rename(stub.string() + ".made", stub); },
         "carries a package already (5 files)"},
        {"no stub", [this] { fs::remove(stub); }, "No stub"},
        {"a program inside the folder", [this] { program = folder / "update.exe"; }, "lies inside"},
        {"no folder", [this] { folder = dir / "missing"; }, "No such folder: "},
        {"no folder for the program", [this] { program = dir / "missing" / "update.exe"; },
         "No such folder for the program"},
        {"a print list in UTF-16",
         [this] { WriteAll(folder / "PrintLists.txt", "Bilan.lst\r\n");
                  WriteAll(folder / "Bilan.lst", std::string("\xFF\xFE" "C\0O\0M\0", 8)); },
         "\"Bilan.lst\" (PrintLists.txt line 1): UTF-16"},
        {"a manifest holding a NUL", [this] { WriteAll(folder / "AppInfo2.txt", std::string("a\0b", 3)); },
         "AppInfo2.txt: holds a NUL byte"},
        {"a manifest too large",
         [this] { WriteAll(folder / "AppInfo2.txt", std::string(manifest::kMaxTextManifestLength + 1, 'a')); },
         "AppInfo2.txt: 1048577 bytes, more than the program reads"},
        {"a list of changes too large",
         [this] { WriteAll(folder / "UpdateInfo.txt", std::string(manifest::kMaxChangesListLength + 1, 'a')); },
         "UpdateInfo.txt: 16777217 bytes"},
        {"a character without a Windows-1252 form",
         [this] { WriteAll(folder / "AppInfo2.txt", Utf8(u8"Données\r\nvalidé \u2713 ici\r\n")); },
         Utf8(u8"AppInfo2.txt line 2: \"\u2713\" (U+2713) has no Windows-1252 form")},
        {"a file name without a Windows-1252 form",
         [this] { WriteAll(folder / fs::path(u8"gs/x\u2713.int"), "x"); },
         Utf8(u8"refused payload name \"gs/x\u2713.int\": \"\u2713\" (U+2713) has no Windows-1252 form")},
#ifndef _WIN32  // names Windows cannot hold
        {"a device name", [this] { WriteAll(folder / "sub/nul.txt", "x"); }, "a Windows device name"},
        {"a name ending with a dot", [this] { WriteAll(folder / "gs/x.", "x"); },
         "ends with a dot or a blank"},
        {"a name with a drive", [this] { WriteAll(folder / "c:x.int", "x"); }, "carries a drive"},
        {"names colliding", [this] { WriteAll(folder / "gs/DATE.INT", "x"); }, "collide once upper-cased"},
#endif
    };
    const fs::path before = dir / "update.exe";
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        WriteAll(before, "the program before");
        c.damage();
        err.str("");
        EXPECT_EQ(Make(folder, program, stub, out, err), 1) << c.what;
        EXPECT_THAT(err.str(), testing::HasSubstr(c.message)) << c.what;
        EXPECT_EQ(ReadAll(before), "the program before") << c.what;
        EXPECT_TRUE(program == before || !fs::exists(program)) << c.what;
        EXPECT_FALSE(fs::exists(program.string() + ".partial")) << c.what;
        folder = dir / "package";
        program = before;
    }
}

// Manifests and names written by today's editors and on a Linux disk are
// UTF-8: the package holds them in Windows-1252, as the program reads them.
// A file that is no valid UTF-8 is Windows-1252 already and stays as it is.
TEST_F(MakeTest, StoresUtf8ManifestsAndNamesAsWindows1252)
{
    WriteAll(folder / "AppInfo1.txt", Utf8(u8"Bibliothèque PDF"));
    WriteAll(folder / "AppInfo2.txt", "\xEF\xBB\xBF" + Utf8(u8"Prix en € – « net »\r\n"));
    WriteAll(folder / "UpdateInfo.txt", "{\\rtf1 Donn\xE9" "es}");  // Windows-1252
    WriteAll(folder / "Steps.txt", "frmOptions\r\n");
    WriteAll(folder / "FileNames.txt", Utf8(u8"gs\\date.int\r\nModèles\\état récapitulatif.ini\r\n"));
    WriteAll(folder / fs::path(u8"Modèles/état récapitulatif.ini"), "ini");
#ifndef _WIN32
    WriteAll(folder / "gs" / "caf\xE9.int", "a Windows-1252 name on a Linux disk");
#endif
    ASSERT_EQ(Make(folder, program, stub, out, err), 0) << err.str();
    EXPECT_EQ(Verify(program, out, err), 0) << err.str();
    PackageFileSource package(ReadAll(program));
    auto payload = [&](const char* name) { return DecodeStoredForm(*package.Find(name)).payload; };
    EXPECT_EQ(payload("APPINFO1.TXT"), "Biblioth\xE8que PDF");
    EXPECT_EQ(payload("APPINFO2.TXT"), "Prix en \x80 \x96 \xAB net \xBB\r\n");
    EXPECT_EQ(payload("UPDATEINFO.TXT"), "{\\rtf1 Donn\xE9" "es}");
    EXPECT_EQ(payload("STEPS.TXT"), "frmOptions\r\n");
    EXPECT_EQ(payload("FILENAMES.TXT"), "gs\\date.int\r\nMod\xE8les\\\xE9tat r\xE9" "capitulatif.ini\r\n");
    // Stored upper-cased as Windows upper-cases a resource name it is asked for.
    EXPECT_EQ(payload("MOD\xC8LES\\\xC9TAT R\xC9" "CAPITULATIF.INI"), "ini");
#ifndef _WIN32
    EXPECT_TRUE(package.Find("GS\\CAF\xC9.INT"));
#endif
}

// A product's update needs its main file (and Obrenta its interface
// library); the files its procedure copies only when packaged may be left
// out.
TEST_F(MakeTest, AProductFolderNeedsOnlyWhatItsProcedureCannotDoWithout)
{
    const struct {
        const char* product;
        std::vector<const char*> files;
        const char* refusal;  // nullptr: made
    } cases[] = {
        {"Telvarin", {"TELVARIN.EXE"}, nullptr},
        {"Obrenta", {"Obrenta.exe", "TVE_intf.dll"}, nullptr},
        {"Obrenta", {"Obrenta.exe", "OBEPFL.exe", "OBPCS.exe"},
         "\"TVE_intf.dll\" is not packaged: the update of Obrenta needs it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        fs::remove_all(folder);
        WriteAll(folder / "AppInfo1.txt", c.product);
        WriteAll(folder / "Updates.txt", std::string(c.product) + "\r\n");
        for (const char* name : c.files)
            WriteAll(folder / name, "program");
        err.str("");
        EXPECT_EQ(Make(folder, program, stub, out, err), c.refusal ? 1 : 0) << err.str();
        if (c.refusal) {
            EXPECT_THAT(err.str(), testing::HasSubstr(c.refusal));
        }
    }
}

// The package this build made: its shape, as the wizard and its procedure
// rely on it. What it must hold is read from the generated payload and its
// FileNames.txt, so a new package needs no edit here.
TEST(ThisBuildsPackage, HoldsTheManifestsAndEveryListedFile)
{
    const fs::path payload = QV_PAYLOAD_DIR;
    PackageFileSource package(ReadAll(QV_PACKAGE_FILE));
    test::MemoryFileSystem files;
    EmbeddedFiles embedded(package, files);

    // Exactly the payload's files: each listed file, the marker and the
    // manifests, under their upper-case names.
    std::set<std::string> payloadNames;
    for (const auto& item : fs::recursive_directory_iterator(payload))
        if (item.is_regular_file()) {
            std::string name = fs::relative(item.path(), payload).generic_string();
            std::replace(name.begin(), name.end(), '/', '\\');
            payloadNames.insert(UpperAscii(name));
        }
    const std::vector<std::string> names = package.Names();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), payloadNames);
    EXPECT_EQ(names.size(), payloadNames.size()) << "a name stored twice";

    auto fileNames = embedded.LoadEmbeddedFile(manifest::kFileNames);
    ASSERT_TRUE(fileNames);
    EXPECT_TRUE(fileNames->payload == ReadAll(payload / manifest::kFileNames)) << "stored as it stands";
    std::vector<std::string> lines = SplitLines(fileNames->payload);
    ASSERT_FALSE(lines.empty());
    std::string expected;
    for (const std::string& line : lines) {
        expected += line + "\r\n";
        EXPECT_EQ(line, LowerAscii(line));
        auto stored = embedded.LoadEmbeddedFile(line);
        ASSERT_TRUE(stored) << line;
        std::string relative = line;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        EXPECT_TRUE(stored->payload == ReadAll(payload / relative)) << line;
    }
    EXPECT_EQ(fileNames->payload, expected);  // every line ends with CR LF
    // The listed files, the marker and the five manifests: nothing else.
    EXPECT_EQ(payloadNames.size(), lines.size() + 1 + 5);
    EXPECT_THAT(lines, testing::Not(testing::Contains("gs\\GS-00.int")));
    EXPECT_TRUE(embedded.LoadEmbeddedFile("gs\\GS-00.int"));

    EXPECT_EQ(embedded.LoadEmbeddedFile(manifest::kAppInfo1)->payload, "Quorvex Finance");
    EXPECT_EQ(embedded.LoadEmbeddedFile(manifest::kAppInfo2)->payload, "");
    std::vector<std::string> updates;
    EXPECT_EQ(embedded.ReadEmbeddedLines(manifest::kUpdates, updates), 1);
    EXPECT_EQ(updates[0], "Quorvex Finance");
    EXPECT_EQ(embedded.LoadEmbeddedFile(manifest::kUpdateInfo)->payload.rfind("{\\rtf1", 0), 0u);
    EXPECT_FALSE(embedded.LoadEmbeddedFile(manifest::kSteps));
}

}  // namespace
}  // namespace qv::qvpack
