#include <gmock/gmock.h>

#include <functional>
#include <new>
#include <optional>

#include "EngineFixture.h"

namespace qv {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

constexpr char kInstalled[] = "C:\\Q\\gs\\date.int";
constexpr char kPackaged[] = "C:\\TEMP\\Update1.tmp";

class FileReplacementTest : public test::EngineFixture {
protected:
    void SetUp() override { UsePackage({}); }
};

// CompareAndReplace's answer to each outcome of the comparison (the rule
// itself is the table below).
struct ReplaceCase {
    const char* name;
    int comparison;  // of the installed file with the packaged one
    std::vector<DialogResult> answers;
    ReplaceMode mode;
    UpdateStatus status;
    bool copied;
    std::vector<std::string> report;
    const char* question;  // substring of the one question, or null for none
};

TEST_F(FileReplacementTest, DecisionTable)
{
    const std::string copyLines[] = {std::string("Copie de ") + kPackaged,
                                     std::string("vers ") + kInstalled + "\r\n"};
    const std::vector<std::string> copied(std::begin(copyLines), std::end(copyLines));
    const std::vector<std::string> notReplaced = {std::string("Le fichier ") + kInstalled,
                                                  "n'est pas remplacé !!!\r\n"};
    const std::vector<std::string> upToDate = {std::string("Le fichier ") + kInstalled,
                                               "est à jour : il n'est pas remplacé.\r\n"};
    const char* newer = "Le fichier date.int présent sur votre système est plus récent\r\n"
                        "que celui qui est contenu dans cette mise à jour.\r\n"
                        "Voulez-vous installer un ancien fichier ?";
    const char* same = "Le fichier date.int présent sur votre système est à jour.\r\n"
                       "Voulez-vous tout de même effectuer la mise à jour ?";
    const ReplaceCase cases[] = {
        {"packaged newer", 1, {}, ReplaceMode::Replace, UpdateStatus::Ok, true, copied, nullptr},
        {"installed newer, No", -1, {DialogResult::No}, ReplaceMode::Replace, UpdateStatus::Not, false, notReplaced, newer},
        {"installed newer, Yes installs the older", -1, {DialogResult::Yes}, ReplaceMode::Replace, UpdateStatus::Ok, true, copied, newer},
        {"the same, No", 0, {DialogResult::No}, ReplaceMode::Replace, UpdateStatus::Not, false, upToDate, same},
        {"the same, Yes copies nothing", 0, {DialogResult::Yes}, ReplaceMode::Replace, UpdateStatus::Ok, false, {}, same},
        {"compare only", 1, {}, ReplaceMode::CompareOnly, UpdateStatus::Ok, false, {}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UsePackage({});
        files.copies.clear();
        // Without versions the times decide: 1 makes the packaged file newer.
        files.PutFile(kInstalled, "old", 1 - c.comparison);
        files.PutFile(kPackaged, "new", 1);
        User().answers.assign(c.answers.begin(), c.answers.end());
        User().dialogs.clear();
        User().beeps.clear();
        report.lines.clear();

        EXPECT_EQ(engine->CompareAndReplace(kPackaged, kInstalled, c.mode), c.status);
        EXPECT_EQ(files.Get(kInstalled)->data, c.copied ? "new" : "old");
        EXPECT_EQ(report.Texts(), c.report);
        if (c.question) {
            ASSERT_EQ(User().dialogs.size(), 1u);
            EXPECT_EQ(User().dialogs[0].text, c.question);
            EXPECT_EQ(User().dialogs[0].type, DialogType::Confirmation);
            // An exclamation first, then the question's own sound.
            EXPECT_EQ(User().beeps, (std::vector<unsigned>{0x30, 0x20}));
        } else {
            EXPECT_TRUE(User().dialogs.empty());
        }
    }
}

TEST_F(FileReplacementTest, MissingFilesAreErrors)
{
    files.PutFile(kPackaged, "new", 1);
    EXPECT_THROW(
        {
            try {
                engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace);
            } catch (const Error& e) {
                EXPECT_EQ(e.Message(), std::string("Fichier pas trouvé : ") + kInstalled);
                throw;
            }
        },
        Error);
    files.PutFile(kInstalled, "old", 1);
    files.files.erase(UpperAscii(kPackaged));
    try {
        engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace);
        ADD_FAILURE() << "compared without the packaged file";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), std::string("File not found : ") + kPackaged);
    }
}

TEST_F(FileReplacementTest, ALockedTargetGivesKoWithTheCopyLinesOnly)
{
    files.PutFile(kInstalled, "old", 1).locked = true;
    files.PutFile(kPackaged, "new", 2);
    EXPECT_EQ(engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace), UpdateStatus::Ko);
    EXPECT_EQ(report.lines.size(), 2u);
    EXPECT_EQ(files.Get(kInstalled)->data, "old");

    // A copy that fails with anything else (memory, say) is Ko just the same.
    files.files[UpperAscii(kInstalled)].locked = false;
    files.copyFailures[UpperAscii(kInstalled)] = [] { throw std::bad_alloc(); };
    EXPECT_EQ(engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace), UpdateStatus::Ko);
    EXPECT_EQ(report.lines.size(), 4u);
}

TEST_F(FileReplacementTest, CopyClearsReadOnlyKeepsTheTimeAndRaisesOnFailure)
{
    files.PutFile(kInstalled, "old", 1).readOnly = true;
    files.PutFile(kPackaged, "new", 42);
    engine->CopyFileWithReport(kPackaged, kInstalled);
    EXPECT_EQ(files.Get(kInstalled)->data, "new");
    EXPECT_EQ(files.Get(kInstalled)->writeTime, 42u);
    EXPECT_FALSE(files.Get(kInstalled)->readOnly);
    EXPECT_EQ(services.messages.delays, std::vector<int>{10});

    try {
        engine->CopyFileWithReport(kPackaged, "C:\\Nowhere\\x.int");
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.Message(), StartsWith(std::string("Source: ") + kPackaged +
                                             "\r\nTarget: C:\\Nowhere\\x.int\r\n\r\nError: "
                                             "Erreur système.  Code : 3.\r\n"));
    }
}

TEST_F(FileReplacementTest, OnlyThisRunsTemporaryFilesGoOnceCopied)
{
    files.PutFile(kInstalled, "old", 1);
    files.PutFile(kPackaged, "not made by this run", 2);
    const std::string first = engine->TempFileName("Update");
    files.PutFile(first, "new", 3);

    // Compared only: the caller copies it later, so it stays.
    EXPECT_EQ(engine->CompareAndReplace(first, kInstalled, ReplaceMode::CompareOnly), UpdateStatus::Ok);
    EXPECT_TRUE(files.FileIsPresent(first));
    EXPECT_EQ(engine->CompareAndReplace(first, kInstalled, ReplaceMode::Replace), UpdateStatus::Ok);
    EXPECT_EQ(files.Get(kInstalled)->data, "new");
    EXPECT_FALSE(files.FileIsPresent(first));

    // A failed copy's temporary file goes too; a source that is no
    // temporary file of this run is never deleted.
    const std::string second = engine->TempFileName("Update");
    files.PutFile(second, "newer", 4);
    files.files[UpperAscii(kInstalled)].locked = true;
    EXPECT_THROW(engine->CopyFileWithReport(second, kInstalled), Error);
    EXPECT_FALSE(files.FileIsPresent(second));
    files.files[UpperAscii(kInstalled)].locked = false;
    engine->CopyFileWithReport(kPackaged, kInstalled);
    files.PutFile(kPackaged, "not made by this run", 5);
    EXPECT_EQ(engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace), UpdateStatus::Ok);
    EXPECT_EQ(files.Get(kPackaged)->data, "not made by this run");
}

TEST_F(FileReplacementTest, CopyListedFilesGoesOnPastAMissingFile)
{
    std::vector<test::TestFile> packaged;
    std::string list;
    for (int i = 0; i < 10; ++i) {
        std::string name = "gs\\f" + std::to_string(i) + ".int";
        list += name + "\r\n";
        if (i != 4)
            packaged.push_back({name, "payload " + std::to_string(i), 100u + i});
    }
    packaged.push_back({"FileNames.txt", list, 1});
    UsePackage(packaged);
    files.AddFolder("C:\\Q\\gs");
    engine->LoadFileNameLines();
    EXPECT_FALSE(engine->CopyListedFiles("C:\\Q"));
    EXPECT_EQ(files.copies.size(), 9u);
    EXPECT_EQ(files.Get("C:\\Q\\gs\\f9.int")->data, "payload 9");
    EXPECT_EQ(files.Get("C:\\Q\\gs\\f9.int")->writeTime, 109u);
    EXPECT_EQ(report.lines.size(), 21u);
    EXPECT_EQ(report.lines[8].text, "Copie de ");  // the missing one: no source
    EXPECT_EQ(report.lines[9].text, "vers C:\\Q\\gs\\f4.int\r\n");
    EXPECT_EQ(report.lines[10].text, "Le fichier C:\\Q\\gs\\f4.int n'a pas pu être copié :\r\n"
                                     "Ce fichier n'est pas dans la mise à jour.\r\n");
}

TEST_F(FileReplacementTest, AFailedListedCopyNamesItsFileAndTheReason)
{
    // Each failure a listed copy meets: the line after its copy lines names
    // the installed file and the system's reason, or the error's own text.
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string reason;
    };
    const std::string target = "C:\\Q\\gs\\a.int";
    const Case cases[] = {
        {"held by another program", [&] { files.PutFile(target, "old", 1).locked = true; },
         "Erreur système.  Code : 32.\r\nLe processus ne peut pas accéder au fichier car ce "
         "fichier est utilisé par un autre processus."},
        {"its folder is missing", [&] { files.folders.erase(UpperAscii("C:\\Q\\gs")); },
         "Erreur système.  Code : 3.\r\nLe chemin d'accès spécifié est introuvable."},
        {"out of memory", [&] { files.copyFailures[UpperAscii(target)] = [] { throw std::bad_alloc(); }; },
         "Mémoire insuffisante."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UsePackage({{"gs\\a.int", "new a", 1}, {"util\\b.int", "new b", 1},
                    {"FileNames.txt", "gs\\a.int\r\nutil\\b.int\r\n", 1}});
        files.files.clear();
        files.copyFailures.clear();
        files.AddFolder("C:\\Q\\gs");
        files.AddFolder("C:\\Q\\util");
        c.arrange();
        report.lines.clear();
        engine->LoadFileNameLines();
        EXPECT_FALSE(engine->CopyListedFiles("C:\\Q"));
        ASSERT_EQ(report.lines.size(), 5u);
        EXPECT_EQ(report.lines[1].text, "vers " + target + "\r\n");
        EXPECT_EQ(report.lines[2].text,
                  "Le fichier " + target + " n'a pas pu être copié :\r\n" + c.reason + "\r\n");
        EXPECT_EQ(report.lines[2].size, 0);
        // The next copy goes on as before, with its two lines only.
        EXPECT_EQ(report.lines[4].text, "vers C:\\Q\\util\\b.int\r\n");
    }
}

// The version-then-date rule on what the file system reads of two files.
TEST(VersionThenDateRule, VersionsDecideAloneWhenBothHaveOneElseTheTimes)
{
    constexpr FileTime kHour = 36000000000ull;
    constexpr FileTime kJan2020 = 132223104000000000ull;
    auto file = [](std::optional<FileVersionParts> version, std::optional<FileTime> time) {
        return FileStamp{true, version, time};
    };
    const FileVersionParts v1039{1, 0, 3, 9}, v1040{1, 0, 4, 0}, v3127{3, 1, 2, 7},
        v1200{1, 2, 0, 0}, v1199{1, 1, 9, 9}, v1002{1, 0, 0, 2}, v1001{1, 0, 0, 1};
    const struct {
        const char* name;
        FileStamp installed, packaged;
        Newer expected;
    } cases[] = {
        {"packaged newer, although stamped earlier", file(v1039, kJan2020 + kHour),
         file(v1040, kJan2020), Newer::Packaged},
        {"installed newer", file(v1040, kJan2020), file(v1039, kJan2020 + kHour), Newer::Installed},
        {"same version: the times are not looked at", file(v1040, kJan2020),
         file(v1040, kJan2020 + 5 * kHour), Newer::Same},
        {"major first", file(v3127, kJan2020), file(v1040, kJan2020), Newer::Installed},
        {"major first, the other way", file(v1040, kJan2020), file(v3127, kJan2020), Newer::Packaged},
        {"minor before release", file(v1200, 0), file(v1199, 0), Newer::Installed},
        {"build last", file(v1001, 0), file(v1002, 0), Newer::Packaged},
        {"one version only: times decide", file(std::nullopt, kJan2020 + 2 * kHour),
         file(v1040, kJan2020), Newer::Installed},
        {"one version only, packaged later", file(std::nullopt, kJan2020),
         file(v1040, kJan2020 + 5 * kHour), Newer::Packaged},
        {"no versions, same time", file(std::nullopt, kJan2020), file(std::nullopt, kJan2020),
         Newer::Same},
        {"no versions, installed later", file(std::nullopt, kJan2020 + 1),
         file(std::nullopt, kJan2020), Newer::Installed},
        {"installed missing", FileStamp{}, file(v1040, kJan2020), Newer::Packaged},
        {"a time that cannot be read", file(std::nullopt, std::nullopt),
         file(std::nullopt, kJan2020), Newer::Packaged},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareVersionsThenTimes(c.installed, c.packaged), c.expected) << c.name;
}

// What the rule reads of files, and the one error of the comparison.
TEST(VersionThenDateRule, ReadsVersionsAndTimesOfFilesOnly)
{
    test::EngineFileSystem files;
    files.PutFile("C:\\Q\\v.dll", "x", 5);
    files.versions["C:\\Q\\V.DLL"] = FileVersionParts{1, 0, 4, 0};
    files.PutFile("C:\\Q\\plain.dll", "x", 9);
    files.AddFolder("C:\\Q\\folder.dll");

    EXPECT_EQ(CompareFiles(files, "C:\\Q\\plain.dll", "C:\\Q\\v.dll"), Newer::Installed);
    EXPECT_EQ(CompareFiles(files, "C:\\Q\\missing.dll", "C:\\Q\\v.dll"), Newer::Packaged);
    EXPECT_EQ(CompareFiles(files, "C:\\Q\\folder.dll", "C:\\Q\\v.dll"), Newer::Packaged)
        << "a folder is no installed file";
    files.versions["C:\\Q\\PLAIN.DLL"] = FileVersionParts{1, 0, 3, 9};
    EXPECT_EQ(CompareFiles(files, "C:\\Q\\plain.dll", "C:\\Q\\v.dll"), Newer::Packaged);
    try {
        CompareFiles(files, "C:\\Q\\v.dll", "C:\\Q\\gone.dll");
        ADD_FAILURE() << "compared without the packaged file";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "File not found : C:\\Q\\gone.dll");
    }
}

}  // namespace
}  // namespace qv
