#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/Manifests.h"
#include "core/PackageFile.h"
#include "core/StoredForm.h"
#include "core/Text.h"
#include "engine/EmbeddedFiles.h"
#include "platform/PackageFileSource.h"
#include "support/MemoryFileSystem.h"
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

TEST(PackagedNames, RefusesNamesThatLeaveTheirFolder)
{
    for (const char* safe : {"gs\\date.int", "AppInfo1.txt", "a..b\\c", "images07\\x.bmp"})
        EXPECT_EQ(UnsafeNameReason(safe), "") << safe;
    struct Case {
        const char* name;
        const char* why;
    } cases[] = {
        {"\\windows\\x.dll", "absolute"}, {"/etc/passwd", "absolute"},
        {"C:x.int", "drive"}, {"c:\\x.int", "drive"}, {"gs\\a:stream", "drive"},
        {"..\\x.int", "\"..\""}, {"gs\\..\\..\\x.int", "\"..\""}, {"gs/../x", "\"..\""}, {"..", "\"..\""},
        {"", "empty"}, {"gs\\\\x", "empty"}, {".\\x", "\".\""}, {"a\"b", "character"}, {"a\nb", "character"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(UnsafeNameReason(c.name), testing::HasSubstr(c.why)) << c.name;
}

class QvpackTest : public testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() /
                   ("qvpack-test-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::ostringstream out, err;
    void SetUp() override { fs::remove_all(dir); }
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

// The package this build made: its shape, as the wizard and its procedure
// rely on it.
TEST(ThisBuildsPackage, HoldsTheManifestsAndEveryListedFile)
{
    PackageFileSource package(ReadAll(QV_PACKAGE_FILE));
    test::MemoryFileSystem files;
    EmbeddedFiles embedded(package, files);
    EXPECT_EQ(package.Names().size(), 399u);

    auto fileNames = embedded.LoadEmbeddedFile(manifest::kFileNames);
    ASSERT_TRUE(fileNames);
    std::vector<std::string> lines = SplitLines(fileNames->payload);
    ASSERT_EQ(lines.size(), 393u);
    std::string expected;
    int gs = 0, images = 0, util = 0;
    for (const std::string& line : lines) {
        expected += line + "\r\n";
        EXPECT_EQ(line, LowerAscii(line));
        EXPECT_TRUE(embedded.LoadEmbeddedFile(line)) << line;
        gs += line.rfind("gs\\", 0) == 0;
        images += line.rfind("images07\\", 0) == 0;
        util += line.rfind("util\\", 0) == 0;
    }
    EXPECT_EQ(fileNames->payload, expected);  // every line ends with CR LF
    EXPECT_EQ(gs, 274);
    EXPECT_EQ(images, 74);
    EXPECT_EQ(util, 45);
    EXPECT_THAT(lines, testing::Contains("gs\\date.int"));
    EXPECT_THAT(lines, testing::Not(testing::Contains("gs\\GS-00.int")));
    EXPECT_TRUE(embedded.LoadEmbeddedFile("gs\\GS-00.int"));

    EXPECT_EQ(embedded.LoadEmbeddedFile(manifest::kAppInfo1)->payload, "Quorvex Finance");
    EXPECT_EQ(embedded.LoadEmbeddedFile(manifest::kAppInfo2)->payload, "");
    std::vector<std::string> updates;
    EXPECT_EQ(embedded.ReadEmbeddedLines(manifest::kUpdates, updates), 1);
    EXPECT_EQ(updates[0], "Quorvex Finance");
    EXPECT_EQ(embedded.LoadEmbeddedFile(manifest::kUpdateInfo)->payload.rfind("{\\rtf1", 0), 0u);
    EXPECT_FALSE(embedded.LoadEmbeddedFile(manifest::kSteps));
    EXPECT_EQ(embedded.LoadEmbeddedFile("images07\\accueil.bmp")->payload.size(), 11616054u);
}

}  // namespace
}  // namespace qv::qvpack
