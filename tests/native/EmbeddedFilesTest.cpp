#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include "EngineFixture.h"
#include "core/Errors.h"
#include "core/Manifests.h"
#include "core/StoredForm.h"
#include "engine/UpdateEngine.h"
#include "engine/procedures/MargolinUpdate.h"
#include "engine/procedures/SuiteUpdate.h"
#include "support/MemoryFileSystem.h"
#include "support/RecordingReport.h"
#include "support/TestPackage.h"

namespace qv {
namespace {

using test::MakePackage;
using test::MemoryFileSystem;

constexpr std::uint64_t kTime = 133000000000000001ull;  // 2022, odd 100 ns

class EmbeddedFilesTest : public testing::Test {
protected:
    std::unique_ptr<PackageFileSource> package = MakePackage({
        {"AppInfo1.txt", "Quorvex Finance", kTime},
        {"gs\\date.int", std::string("D\0ATA", 5), kTime},
        {"empty.txt", "", kTime + 1},
        {"UpdateInfo.txt", "{\\rtf1 a\\par\r\nb}", kTime},
        {"MODÈLES\\ÉTAT.INI", "ini", kTime},  // as the package tool stores it
    });
    MemoryFileSystem files;
    EmbeddedFiles embedded{*package, files};
};

TEST_F(EmbeddedFilesTest, FindsNamesWithoutRegardToCase)
{
    struct Case {
        const char* name;
        bool found;
    } cases[] = {
        {"AppInfo1.txt", true}, {"APPINFO1.TXT", true}, {"appinfo1.txt", true},
        {"Modèles\\état.ini", true}, {"MODÈLES\\ÉTAT.INI", true}, {"Modèles\\etat.ini", false},
        {"GS\\DATE.INT", true}, {"gs\\date.int", true},
        {"gs/date.int", false},   // separators are never normalised
        {".\\gs\\date.int", false}, {"date.int", false}, {"", false}, {"AppInfo1.txt ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(embedded.LoadEmbeddedFile(c.name).has_value(), c.found) << c.name;
    auto file = embedded.LoadEmbeddedFile("gs\\Date.Int");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->payload, std::string("D\0ATA", 5));
    EXPECT_EQ(file->time, kTime);
}

TEST(EmbeddedLines, SplitsThePayloadAsTheManifestsNeed)
{
    struct Case {
        std::string payload;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n", {"a"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {std::string("a\nb\0c\nd", 7), {"a", "b"}},
        {"\r\n", {""}},
    };
    for (const Case& c : cases) {
        auto package = MakePackage({{"L.TXT", c.payload, 0}});
        MemoryFileSystem files;
        EmbeddedFiles embedded(*package, files);
        std::vector<std::string> lines{"stale"};
        EXPECT_EQ(embedded.ReadEmbeddedLines("l.txt", lines), static_cast<int>(c.lines.size()));
        EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.payload);
    }
}

TEST_F(EmbeddedFilesTest, AbsentFilesAreNotErrors)
{
    std::vector<std::string> lines{"stale"};
    EXPECT_EQ(embedded.ReadEmbeddedLines("Steps.txt", lines), 0);
    EXPECT_TRUE(lines.empty());

    MemoryStream stream;
    EXPECT_FALSE(embedded.ReadEmbeddedFile("x.lst", stream));
    EXPECT_TRUE(stream.data.empty());

    test::RecordingViewer viewer;
    viewer.rtf = "old";
    EXPECT_EQ(embedded.LoadEmbeddedRichText("nothing.rtf", viewer), 0);
    EXPECT_EQ(viewer.clears, 1);  // cleared even though nothing was found
    EXPECT_EQ(viewer.rtf, "");

    EXPECT_EQ(embedded.WriteEmbeddedFile("absent.int", "C:\\TEMP\\x.tmp"), "");
    EXPECT_TRUE(files.files.empty());
}

TEST_F(EmbeddedFilesTest, HandsOutBytesAndRichText)
{
    MemoryStream stream;
    stream.Write("head");
    stream.position = 2;  // written at the position, over what follows
    EXPECT_TRUE(embedded.ReadEmbeddedFile("AppInfo1.txt", stream));
    EXPECT_EQ(stream.data, "heQuorvex Finance");
    EXPECT_EQ(stream.position, stream.data.size());

    test::RecordingViewer viewer;
    EXPECT_EQ(embedded.LoadEmbeddedRichText("updateinfo.txt", viewer), 2);
    EXPECT_EQ(viewer.rtf, "{\\rtf1 a\\par\r\nb}");
    EXPECT_EQ(embedded.LoadEmbeddedRichText("empty.txt", viewer), 0);
    EXPECT_EQ(viewer.rtf, "");
}

TEST_F(EmbeddedFilesTest, WritesThePayloadStampedWithItsTime)
{
    files.Put("C:\\TEMP\\old.tmp", "previous contents").writeTime = 5;
    EXPECT_EQ(embedded.WriteEmbeddedFile("GS\\DATE.INT", "C:\\TEMP\\old.tmp"), "C:\\TEMP\\old.tmp");
    EXPECT_EQ(files.Get("C:\\TEMP\\old.tmp")->data, std::string("D\0ATA", 5));
    EXPECT_EQ(files.Get("C:\\TEMP\\old.tmp")->writeTime, kTime);

    EXPECT_EQ(embedded.WriteEmbeddedFile("empty.txt", "C:\\TEMP\\e.tmp"), "C:\\TEMP\\e.tmp");
    EXPECT_EQ(files.Get("C:\\TEMP\\e.tmp")->data, "");
    EXPECT_EQ(files.Get("C:\\TEMP\\e.tmp")->writeTime, kTime + 1);
}

TEST(EmbeddedFilesLarge, APayloadOfManyPiecesIsWrittenWholeAndInOrder)
{
    // Larger than several pieces and not a multiple of one, with bytes that
    // tell the pieces' order apart.
    std::string payload;
    for (std::size_t i = 0; payload.size() < 3 * kStoredPieceSize + 123; ++i)
        payload += std::to_string(i) + ",";
    auto package = MakePackage({{"images07\\big.bmp", payload, kTime}});
    MemoryFileSystem files;
    EmbeddedFiles embedded(*package, files);
    EXPECT_EQ(embedded.WriteEmbeddedFile("images07\\big.bmp", "C:\\TEMP\\b.tmp"), "C:\\TEMP\\b.tmp");
    ASSERT_NE(files.Get("C:\\TEMP\\b.tmp"), nullptr);
    EXPECT_TRUE(files.Get("C:\\TEMP\\b.tmp")->data == payload);
    EXPECT_EQ(files.Get("C:\\TEMP\\b.tmp")->writeTime, kTime);
}

TEST_F(EmbeddedFilesTest, ATargetThatCannotBeCreatedStaysAsItWas)
{
    // Read-only, or refusing to be replaced but open to a new time stamp
    // (hidden, or shared for writing by another program): neither the
    // contents nor the time of the old file change.
    files.Put("C:\\P\\ro.int").readOnly = true;
    files.refusedCreates.insert("C:\\P\\HIDDEN.INT");
    for (const char* target : {"C:\\P\\ro.int", "C:\\P\\hidden.int"}) {
        files.Put(target, "keep me").writeTime = 5;
        EXPECT_THROW(embedded.WriteEmbeddedFile("gs\\date.int", target), FileCreationError) << target;
        EXPECT_EQ(files.Get(target)->data, "keep me") << target;
        EXPECT_EQ(files.Get(target)->writeTime, 5u) << target;
    }
}

TEST_F(EmbeddedFilesTest, FailedWriteStillLeavesTheFileStamped)
{
    files.failingWrites.insert("C:\\TEMP\\W.TMP");
    EXPECT_THROW(embedded.WriteEmbeddedFile("gs\\date.int", "C:\\TEMP\\w.tmp"), Error);
    ASSERT_NE(files.Get("C:\\TEMP\\w.tmp"), nullptr);
    EXPECT_EQ(files.Get("C:\\TEMP\\w.tmp")->writeTime, kTime);
}

TEST(EmbeddedFilesDamaged, RaiseTheDecoderErrorAndTouchNoFile)
{
    std::string good = EncodeStoredForm(std::string(4000, 'z') + "tail", kTime);
    auto package = test::MakeStoredPackage({
        {"CUT.INT", good.substr(0, good.size() - 9)},
        {"JUNK.INT", "not a zlib stream"},
    });
    MemoryFileSystem files;
    EmbeddedFiles embedded(*package, files);
    for (const char* name : {"cut.int", "junk.int"}) {
        EXPECT_THROW(embedded.LoadEmbeddedFile(name), Error) << name;
        std::vector<std::string> lines;
        EXPECT_THROW(embedded.ReadEmbeddedLines(name, lines), Error) << name;
        EXPECT_THROW(embedded.WriteEmbeddedFile(name, "C:\\TEMP\\t.tmp"), Error) << name;
    }
    EXPECT_TRUE(files.files.empty());
}

// A manifest is read whole into memory: one that claims more than its bound
// is refused, naming it, before anything is allocated for it.
TEST(ManifestSize, ManifestsBeyondTheirBoundAreRefused)
{
    const std::string atTextBound(manifest::kMaxTextManifestLength, 'a');
    const std::string atRtfBound(manifest::kMaxChangesListLength, 'r');
    auto package = MakePackage({
        {"Updates.txt", atTextBound, kTime},
        {"FileNames.txt", atTextBound + "b", kTime},
        {"UpdateInfo.txt", atRtfBound, kTime},
        {"Big.rtf", atRtfBound + "}", kTime},
    });
    MemoryFileSystem files;
    EmbeddedFiles embedded(*package, files);
    std::vector<std::string> lines{"stale"};
    EXPECT_EQ(embedded.ReadEmbeddedLines("Updates.txt", lines), 1);
    try {
        embedded.ReadEmbeddedLines("FileNames.txt", lines);
        ADD_FAILURE() << "a manifest over 1 MiB was read";
    } catch (const Error& e) {
        EXPECT_THAT(e.Message(), testing::HasSubstr("FileNames.txt"));
        EXPECT_THAT(e.Message(), testing::HasSubstr("1048577"));
    }
    EXPECT_TRUE(lines.empty());

    test::RecordingViewer viewer;
    EXPECT_EQ(embedded.LoadEmbeddedRichText("UpdateInfo.txt", viewer), 1);
    EXPECT_THROW(embedded.LoadEmbeddedRichText("big.rtf", viewer), Error);
    EXPECT_TRUE(viewer.rtf.empty());
}

// A line of FileNames.txt that Windows would read as a device, a name it
// would silently change, or a path leaving the folder: the suite's update
// fails before it copies anything, the old marker stays, and the report says
// which line and why. The package holds a file of each of those names.
class RefusedListedNames : public test::EngineFixture {
protected:
    static constexpr char kMarker[] = "C:\\Quorvex5\\gs\\GS-00.int";

    void Prepare(const std::string& line)
    {
        UsePackage({{"gs\\GS-00.int", "marker v2", 2000},
                    {"gs\\date.int", "new date", 1500},
                    {line, "device", 1500},
                    {"FileNames.txt", "gs\\date.int\r\n" + line + "\r\n", 1}});
        files.PutFile(kMarker, "marker v1", 1000);
        files.AddFolder("C:\\Quorvex5\\gs");
        services.registry.Seed(RegistryHive::CurrentUser,
                               "SOFTWARE\\QUORVEX S.A.\\Quorvex Finance\\Program", "Filename",
                               {test::RegistryType::String, kMarker});
    }
};

TEST_F(RefusedListedNames, TheSuiteFailsBeforeCopyingAnything)
{
    const struct {
        const char* line;
        const char* why;
    } cases[] = {
        {"nul", "périphérique"},
        {"gs\\CON.int", "périphérique"},
        {"Com1.txt", "périphérique"},
        {"lpt9", "périphérique"},
        {"aux\\x.dll", "périphérique"},
        {"gs\\date.int.", "point ou un espace"},
        {"gs \\date.int", "point ou un espace"},
        {"..\\x.dll", "\"..\""},
        {"C:\\x.dll", "lecteur"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Prepare(c.line);
        report.lines.clear();
        files.copies.clear();
        EXPECT_EQ(UpdateSuite(*engine, ProductKind::QuorvexFinance), UpdateStatus::Ko);
        EXPECT_TRUE(files.copies.empty());
        EXPECT_EQ(files.Get(kMarker)->data, "marker v1");
        std::string text;
        for (const std::string& line : report.Texts())
            text += line + "\n";
        EXPECT_THAT(text, testing::HasSubstr("FileNames.txt, ligne 2"));
        EXPECT_THAT(text, testing::HasSubstr(c.why));
    }
}

// Margolin's print lists are files beside its program: a refused entry
// stops the update before its listed files are copied.
TEST_F(RefusedListedNames, MargolinChecksItsPrintListsBeforeCopying)
{
    const std::string folder = "C:\\WQuorvex\\Margolin\\Programs\\";
    UsePackage({{"TVPMargolin.exe", "program v2", 2000},
                {"Margolin.ini", "ini", 1500},
                {"prn.lst", "list", 1500},
                {"FileNames.txt", "Margolin.ini\r\n", 1},
                {"PrintLists.txt", "prn.lst\r\n", 1}});
    services.registry.Seed(RegistryHive::CurrentUser, "SOFTWARE\\QUORVEX S.A.\\Telvarin\\Program",
                           "Filename", {test::RegistryType::String, "C:\\WQuorvex\\TVP\\Programs\\TELVARIN.EXE"});
    files.PutFile(folder + "TVPMargolin.exe", "program v1", 1000);
    EXPECT_EQ(UpdateMargolin(*engine, ProductKind::Margolin), UpdateStatus::Ko);
    EXPECT_TRUE(files.copies.empty());
    EXPECT_EQ(files.Get(folder + "prn.lst"), nullptr);
    EXPECT_EQ(files.Get(folder + "TVPMargolin.exe")->data, "program v1");
    ASSERT_FALSE(report.Texts().empty());
    EXPECT_THAT(report.Texts().back(), testing::HasSubstr("PrintLists.txt, ligne 1 : le nom \"prn.lst\""));
}

}  // namespace
}  // namespace qv
