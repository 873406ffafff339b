#include <gmock/gmock.h>

#include <new>
#include <regex>
#include <stdexcept>

#include "EngineFixture.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateProcedures.h"
#include "engine/procedures/SuiteUpdate.h"

namespace qv {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

constexpr char kRecordKey[] = "SOFTWARE\\QUORVEX S.A.\\Quorvex Finance\\Program";
constexpr char kMarker[] = "C:\\Quorvex5\\gs\\GS-00.int";

// A small suite package: two files under gs, one under images07, one under
// util, and the marker (not listed).
class SuiteUpdateTest : public test::EngineFixture {
protected:
    const std::vector<std::string> listed = {"gs\\date.int", "gs\\menu.int",
                                             "images07\\logo.bmp", "util\\tool.int"};

    void SetUp() override
    {
        std::vector<test::TestFile> packaged = {{"gs\\GS-00.int", "marker v2", 2000}};
        std::string list;
        for (const auto& name : listed) {
            packaged.push_back({name, "new " + name, 1500});
            list += name + "\r\n";
        }
        packaged.push_back({"FileNames.txt", list, 1});
        UsePackage(packaged);
        // The installation: older files, no images07 folder.
        files.PutFile(kMarker, "marker v1", 1000);
        files.PutFile("C:\\Quorvex5\\gs\\date.int", "old", 900);
        files.AddFolder("C:\\Quorvex5\\util");
        Record(kMarker);
    }
    void Record(const std::string& path)
    {
        services.registry.Seed(RegistryHive::CurrentUser, kRecordKey, "Filename",
                               {test::RegistryType::String, path});
    }
    std::string RecordedPath()
    {
        return services.registry.Find(RegistryHive::CurrentUser, kRecordKey, "Filename")->text;
    }
    UpdateStatus Run() { return UpdateSuite(*engine, ProductKind::QuorvexFinance); }
};

TEST_F(SuiteUpdateTest, NewerPackageCopiesEveryListedFileThenTheMarker)
{
    EXPECT_EQ(FindUpdateProcedure(ProductKind::QuorvexFinance), &UpdateSuite);
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    for (const auto& name : listed)
        EXPECT_EQ(files.Get("C:\\Quorvex5\\" + name)->data, "new " + name) << name;
    EXPECT_EQ(files.Get(kMarker)->data, "marker v2");
    EXPECT_EQ(files.Get(kMarker)->writeTime, 2000u);
    ASSERT_EQ(files.copies.size(), 5u);
    EXPECT_EQ(files.copies.back(), kMarker);
    EXPECT_TRUE(User().dialogs.empty());
    // Two lines a copy, each copy from its own temporary file.
    ASSERT_EQ(report.lines.size(), 10u);
    EXPECT_TRUE(std::regex_match(report.lines[0].text,
                                 std::regex(R"(Copie de C:\\TEMP\\Update[0-9]+\.tmp)")))
        << report.lines[0].text;
    EXPECT_EQ(report.lines[1].text, "vers C:\\Quorvex5\\gs\\date.int\r\n");
    EXPECT_EQ(report.lines[9].text, std::string("vers ") + kMarker + "\r\n");
}

// The temporary files in the temporary folder, by upper-cased path.
std::vector<std::string> TemporaryFiles(const test::EngineFileSystem& files)
{
    std::vector<std::string> found;
    for (const auto& [path, file] : files.files)
        if (path.rfind(UpperAscii(files.tempFolder) + "UPDATE", 0) == 0)
            found.push_back(path);
    return found;
}

TEST_F(SuiteUpdateTest, EachTemporaryFileGoesAsSoonAsItsCopyIsDone)
{
    // A run killed part-way must not leave every file unpacked so far: at
    // each copy the folder holds the one temporary file being copied,
    // nothing of the copies already done nor the marker compared first.
    std::vector<std::size_t> heldAtEachCopy;
    for (const char* target : {"C:\\Quorvex5\\gs\\date.int", "C:\\Quorvex5\\gs\\menu.int",
                               "C:\\Quorvex5\\util\\tool.int", kMarker})
        files.copyFailures[UpperAscii(target)] = [&] {
            heldAtEachCopy.push_back(TemporaryFiles(files).size());
        };
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_THAT(heldAtEachCopy, ElementsAre(1u, 1u, 1u, 1u));
    EXPECT_THAT(TemporaryFiles(files), ElementsAre());

    // A failed copy's temporary file goes too, and so does the marker's
    // when the update stops after the comparison.
    files.files[UpperAscii("C:\\Quorvex5\\gs\\date.int")].locked = true;
    heldAtEachCopy.clear();
    User().answers = {DialogResult::Yes};  // the same package again
    EXPECT_EQ(Run(), UpdateStatus::Warning);
    EXPECT_THAT(heldAtEachCopy, ElementsAre(1u, 1u, 1u));
    EXPECT_THAT(TemporaryFiles(files), ElementsAre());
    User().answers = {DialogResult::No};
    EXPECT_EQ(Run(), UpdateStatus::Not);
    EXPECT_THAT(TemporaryFiles(files), ElementsAre());
}

TEST_F(SuiteUpdateTest, TheSamePackageTwiceAsksWhetherToGoOn)
{
    ASSERT_EQ(Run(), UpdateStatus::Ok);
    // Second run, No: nothing copied, the up-to-date lines.
    files.copies.clear();
    report.lines.clear();
    User().answers = {DialogResult::No};
    EXPECT_EQ(Run(), UpdateStatus::Not);
    EXPECT_THAT(User().dialogs.back().text, HasSubstr("GS-00.int présent sur votre système est à jour."));
    EXPECT_TRUE(files.copies.empty());
    EXPECT_THAT(report.Texts(), ElementsAre(std::string("Le fichier ") + kMarker,
                                            "est à jour : il n'est pas remplacé.\r\n"));
    // Third run, Yes: everything again, the marker last.
    User().answers = {DialogResult::Yes};
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_EQ(files.copies.size(), 5u);
}

TEST_F(SuiteUpdateTest, AnInstalledMarkerNewerAsksBeforeInstallingAnOlderOne)
{
    files.Get(kMarker);
    files.PutFile(kMarker, "marker v3", 3000);
    User().answers = {DialogResult::No};
    EXPECT_EQ(Run(), UpdateStatus::Not);
    EXPECT_THAT(User().dialogs[0].text, HasSubstr("GS-00.int présent sur votre système est plus récent"));
    EXPECT_EQ(files.Get(kMarker)->data, "marker v3");
}

TEST_F(SuiteUpdateTest, ALockedFileGivesAWarningAndKeepsTheOldMarker)
{
    files.Get("C:\\Quorvex5\\gs\\date.int");
    files.files[UpperAscii("C:\\Quorvex5\\gs\\date.int")].locked = true;
    EXPECT_EQ(Run(), UpdateStatus::Warning);
    EXPECT_EQ(files.Get(kMarker)->data, "marker v1");
    EXPECT_EQ(files.Get("C:\\Quorvex5\\util\\tool.int")->data, "new util\\tool.int");
    // Next run, unlocked: the installation is still older, no question.
    files.files[UpperAscii("C:\\Quorvex5\\gs\\date.int")].locked = false;
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_TRUE(User().dialogs.empty());
    EXPECT_EQ(files.Get(kMarker)->data, "marker v2");
}

TEST_F(SuiteUpdateTest, AMissingUtilFolderGivesAWarningAndImagesIsCreated)
{
    files.folders.erase(UpperAscii("C:\\Quorvex5\\util"));
    EXPECT_EQ(Run(), UpdateStatus::Warning);
    EXPECT_TRUE(files.FolderIsPresent("C:\\Quorvex5\\Images07"));
    EXPECT_EQ(files.Get("C:\\Quorvex5\\images07\\logo.bmp")->data, "new images07\\logo.bmp");
    EXPECT_EQ(files.Get("C:\\Quorvex5\\util\\tool.int"), nullptr);
}

TEST_F(SuiteUpdateTest, ARecordWithoutMarkerIsKoAndRewrittenToThatFolder)
{
    files.AddFolder("D:\\Old\\gs");
    files.drives['D'] = DriveKind::Fixed;
    Record("D:\\Old\\gs\\GS-00.int");
    EXPECT_EQ(Run(), UpdateStatus::Ko);
    EXPECT_EQ(RecordedPath(), "D:\\Old\\gs\\GS-00.int");
    ASSERT_EQ(report.lines.size(), 1u);
    EXPECT_EQ(report.lines[0].text,
              "Une erreur s'est produite lors de la mise à jour du gs\\GS-00.int\r\n"
              "Fichier pas trouvé : D:\\Old\\gs\\GS-00.int");
}

TEST_F(SuiteUpdateTest, WithoutRecordTheDrivesAreSearchedAndTheRecordWritten)
{
    services.registry.DeleteRegistryKey(RegistryHive::CurrentUser, kRecordKey);
    EXPECT_EQ(Run(), UpdateStatus::Ok);
    EXPECT_TRUE(User().dialogs.empty());
    EXPECT_EQ(RecordedPath(), kMarker);
}

TEST_F(SuiteUpdateTest, ErrorsBeforeTheHandlerReachTheCaller)
{
    services.registry.DeleteRegistryKey(RegistryHive::CurrentUser, kRecordKey);
    files.folders.clear();
    files.AddFolder(files.tempFolder);
    User().folderAnswers = {""};
    try {
        Run();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "Répertoire Quorvex5 pas trouvé.");
    }
    UsePackage({{"FileNames.txt", "", 1}});
    try {
        Run();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "Cannot find gs\\GS-00.int");
    }
}

// Hands out every packaged file but one, whose unpacking fails as an
// allocation for a large payload would.
class OutOfMemorySource : public EmbeddedSource {
public:
    OutOfMemorySource(EmbeddedSource& inner, std::string failing)
        : inner_(inner), failing_(std::move(failing)) {}
    std::optional<std::string_view> Find(const std::string& name) override
    {
        if (name == failing_)
            throw std::bad_alloc();
        return inner_.Find(name);
    }
    std::vector<std::string> Names() override { return inner_.Names(); }

private:
    EmbeddedSource& inner_;
    std::string failing_;
};

TEST_F(SuiteUpdateTest, EveryFailureReachesItsKoPathWithAReadableMessage)
{
    const std::string errorLine = "Une erreur s'est produite lors de la mise à jour du gs\\GS-00.int\r\n";

    // A listed file's copy fails with an error that is not the system's:
    // that copy fails, the others go on, the old marker stays.
    files.copyFailures[UpperAscii("C:\\Quorvex5\\gs\\menu.int")] = [] { throw std::bad_alloc(); };
    EXPECT_EQ(Run(), UpdateStatus::Warning);
    EXPECT_EQ(files.Get("C:\\Quorvex5\\util\\tool.int")->data, "new util\\tool.int");
    EXPECT_EQ(files.Get(kMarker)->data, "marker v1");

    // The marker's copy fails so: Ko, with the error's own text.
    files.copyFailures.clear();
    files.copyFailures[UpperAscii(kMarker)] = [] { throw std::runtime_error("disk full"); };
    report.lines.clear();
    EXPECT_EQ(Run(), UpdateStatus::Ko);
    EXPECT_EQ(report.lines.back().text, errorLine + "disk full");

    // Unpacking a listed file runs out of memory: Ko, and the report says so.
    files.copyFailures.clear();
    OutOfMemorySource source(*package, "UTIL\\TOOL.INT");
    UpdateEngine failing(source, files, services.registry, services.user, services.messages,
                         services.versions, services.workstation);
    failing.SetReportTarget(&report);
    report.lines.clear();
    EXPECT_EQ(UpdateSuite(failing, ProductKind::QuorvexFinance), UpdateStatus::Ko);
    EXPECT_EQ(report.lines.back().text, errorLine + "Mémoire insuffisante.");
    EXPECT_EQ(files.Get(kMarker)->data, "marker v1");
}

TEST_F(SuiteUpdateTest, SovenzaUsesItsOwnMarkerAndRecord)
{
    EXPECT_EQ(SuiteMarker(ProductKind::Sovenza), "svz\\SA-00.int");
    UsePackage({{"svz\\SA-00.int", "m", 5000}, {"FileNames.txt", "", 1}});
    files.PutFile("C:\\Quorvex5\\svz\\SA-00.int", "old", 1);
    EXPECT_EQ(UpdateSuite(*engine, ProductKind::Sovenza), UpdateStatus::Ok);
    EXPECT_EQ(services.registry.Find(RegistryHive::CurrentUser,
                                     "SOFTWARE\\QUORVEX S.A.\\Sovenza\\Program", "Filename")->text,
              "C:\\Quorvex5\\svz\\SA-00.int");
}

}  // namespace
}  // namespace qv
