#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <regex>
#include <set>

#include "core/Errors.h"
#include "engine/UpdateEngine.h"
#include "support/EngineDoubles.h"
#include "support/MemoryFileSystem.h"
#include "support/RecordingReport.h"
#include "support/TestPackage.h"

namespace qv {
namespace {

using testing::ElementsAre;

class UpdateEngineTest : public testing::Test {
protected:
    std::unique_ptr<PackageFileSource> package = test::MakePackage({
        {"FileNames.txt", "gs\\a.int\r\ngs\\b.int\r\n", 1},
    });
    test::MemoryFileSystem files;
    test::RecordingReportSink report;
    test::EngineServices services;
};

TEST_F(UpdateEngineTest, NoTempFileNameIsHandedOutTwiceInARun)
{
    // Run the generator on its own to the first number it draws a second
    // time; the engine must get past it without reusing that name.
    const std::uint32_t seed = 1234;
    PseudoRandom probe;
    probe.Seed(seed);
    std::set<std::uint32_t> drawn;
    std::size_t firstRepeat = 0;
    while (drawn.insert(probe.Below(10000000)).second)
        ++firstRepeat;

    UpdateEngine engine(*package, files, services.registry, services.user, services.messages,
                        services.versions, services.workstation);
    engine.SetReportTarget(&report);
    engine.Randomize(seed);
    const std::regex form(R"(C:\\TEMP\\Update(0|[1-9][0-9]{0,6})\.tmp)");
    std::set<std::string> seen;
    for (std::size_t i = 0; i <= firstRepeat + 1; ++i) {
        std::string name = engine.TempFileName(kTempPrefix);
        ASSERT_TRUE(std::regex_match(name, form)) << name;
        ASSERT_TRUE(seen.insert(name).second) << "handed out twice: " << name;
        files.Put(name, "written by this run");  // as the procedures do
    }
    EXPECT_TRUE(report.lines.empty());  // none of them was deleted again
    for (const std::string& name : seen)
        EXPECT_EQ(files.Get(name)->data, "written by this run");
}

TEST_F(UpdateEngineTest, AFileAtTheDrawnNameIsLeftAloneAndAnotherNameIsDrawn)
{
    // The same seed draws the same numbers: learn the first name, then let
    // someone else's file (in a shared temporary folder, another user's)
    // sit there, protected or not.
    std::string name;
    {
        UpdateEngine probe(*package, files, services.registry, services.user,
                           services.messages, services.versions, services.workstation);
        probe.Randomize(42);
        name = probe.TempFileName("Update");
    }
    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "locked" : "not locked");
        files.Put(name, "someone else's").locked = locked;
        files.Get(name);
        {
            UpdateEngine engine(*package, files, services.registry, services.user,
                                services.messages, services.versions, services.workstation);
            engine.SetReportTarget(&report);
            engine.Randomize(42);
            const std::string other = engine.TempFileName("Update");
            EXPECT_NE(UpperAscii(other), UpperAscii(name));
            EXPECT_TRUE(std::regex_match(other, std::regex(R"(C:\\TEMP\\Update[0-9]+\.tmp)"))) << other;
            EXPECT_EQ(files.Get(other)->data, "");  // made by this run, empty
            EXPECT_TRUE(report.lines.empty());
        }
        // Neither the draw nor the clean-up at the end touched it.
        ASSERT_NE(files.Get(name), nullptr);
        EXPECT_EQ(files.Get(name)->data, "someone else's");
        files.files.erase(UpperAscii(name));
    }
}

TEST_F(UpdateEngineTest, WhenEveryDrawnNameIsTakenTheErrorSaysSo)
{
    // A temporary folder where every name is taken: a bounded number of
    // draws, then a clear error, and nothing written anywhere.
    class EveryNameTaken : public test::MemoryFileSystem {
    public:
        int attempts = 0;
        bool CreateNewFile(const std::string&) override
        {
            ++attempts;
            return false;
        }
    } taken;
    UpdateEngine engine(*package, taken, services.registry, services.user, services.messages,
                        services.versions, services.workstation);
    engine.Randomize(5);
    try {
        engine.TempFileName(kTempPrefix);
        FAIL() << "a name was handed out";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "Impossible de créer un fichier temporaire dans C:\\TEMP\\ : "
                               "les 100 noms essayés existent déjà.");
    }
    EXPECT_EQ(taken.attempts, 100);
    EXPECT_TRUE(taken.files.empty());
}

TEST_F(UpdateEngineTest, DestructionDeletesThisRunsTemporaryFilesAndNothingElse)
{
    // Other programs' files, "Update*.tmp" ones included, are not ours.
    files.Put("C:\\TEMP\\Update17.tmp");
    files.Put("C:\\TEMP\\update9999999.TMP");
    files.Put("C:\\TEMP\\Other1.tmp");
    std::string inUse;
    {
        UpdateEngine engine(*package, files, services.registry, services.user,
                            services.messages, services.versions, services.workstation);
        engine.SetReportTarget(&report);
        engine.Randomize(3);
        for (int i = 0; i < 3; ++i)
            files.Put(engine.TempFileName(kTempPrefix));
        engine.TempFileName(kTempPrefix);  // handed out, never written
        inUse = engine.TempFileName(kTempPrefix);
        files.Put(inUse).locked = true;  // still in use: it simply stays
    }
    std::vector<std::string> left;
    for (const auto& [path, file] : files.files)
        left.push_back(path);
    EXPECT_THAT(left, testing::UnorderedElementsAre("C:\\TEMP\\OTHER1.TMP", "C:\\TEMP\\UPDATE17.TMP",
                                  "C:\\TEMP\\UPDATE9999999.TMP", UpperAscii(inUse)));
    EXPECT_TRUE(report.lines.empty());
}

TEST_F(UpdateEngineTest, DeleteTempFilesNeverRaises)
{
    class FailingDeletes : public test::MemoryFileSystem {
        void RemoveFile(const std::string&) override { throw std::bad_alloc(); }
    } broken;
    UpdateEngine engine(*package, broken, services.registry, services.user, services.messages,
                        services.versions, services.workstation);
    EXPECT_TRUE(engine.DeleteTempFiles());  // nothing made yet
    broken.Put(engine.TempFileName(kTempPrefix));
    EXPECT_FALSE(engine.DeleteTempFiles());
}  // and the destructor swallows the same failure

TEST_F(UpdateEngineTest, LoadsFileNameLinesReplacingEarlierOnes)
{
    UpdateEngine engine(*package, files, services.registry, services.user,
                        services.messages, services.versions, services.workstation);
    EXPECT_EQ(engine.LoadFileNameLines(), 2);
    EXPECT_EQ(engine.LoadFileNameLines(), 2);
    EXPECT_THAT(engine.FileNameLines(), ElementsAre("gs\\a.int", "gs\\b.int"));
    EXPECT_EQ(engine.LoadPrintListLines(), 0);
}

TEST_F(UpdateEngineTest, StandardReportLines)
{
    UpdateEngine engine(*package, files, services.registry, services.user,
                        services.messages, services.versions, services.workstation);
    engine.AddReportLine("dropped: no target yet", 10);
    engine.SetReportTarget(&report);
    files.Put("C:\\P\\old.int");
    engine.DeleteFileWithReport("C:\\P\\old.int");
    engine.ReportUpToDate("C:\\P\\a.int");
    engine.ReportNotReplaced("C:\\P\\b.int");
    engine.Report().ReportCopy("C:\\TEMP\\Update5.tmp", "C:\\P\\c.int");
    engine.AddReportLine("", 10);
    EXPECT_THAT(report.Texts(),
                ElementsAre("Fichier C:\\P\\old.int est supprim\xE9.\r\n",
                            "Le fichier C:\\P\\a.int", "est \xE0 jour : il n'est pas remplac\xE9.\r\n",
                            "Le fichier C:\\P\\b.int", "n'est pas remplac\xE9 !!!\r\n",
                            "Copie de C:\\TEMP\\Update5.tmp", "vers C:\\P\\c.int\r\n", ""));
    for (std::size_t i = 0; i + 1 < report.lines.size(); ++i) {
        EXPECT_EQ(report.lines[i].size, 0);
        EXPECT_EQ(report.lines[i].fontName, "");
    }
    EXPECT_EQ(report.lines.back().size, 10);
    EXPECT_FALSE(files.FileIsPresent("C:\\P\\old.int"));
}

TEST_F(UpdateEngineTest, DeletingALockedFileReportsThenRaises)
{
    UpdateEngine engine(*package, files, services.registry, services.user,
                        services.messages, services.versions, services.workstation);
    engine.SetReportTarget(&report);
    files.Put("C:\\P\\locked.int").locked = true;
    try {
        engine.DeleteFileWithReport("C:\\P\\locked.int");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_THAT(e.Message(), testing::StartsWith("Erreur syst\xE8me.  Code : 32."));
    }
    EXPECT_EQ(report.lines.size(), 1u);
    EXPECT_TRUE(files.FileIsPresent("C:\\P\\locked.int"));
    files.Put("C:\\P\\locked.int").locked = false;
}

}  // namespace
}  // namespace qv
