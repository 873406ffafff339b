#include <gmock/gmock.h>

#include <new>

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

// CompareAndReplace's answer to each outcome of the comparison; how files
// compare (versions, then times) is the real file system's, tested on real
// files.
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
        files.PutFile(kInstalled, "old", 1);
        files.PutFile(kPackaged, "new", 1);
        files.comparisons[UpperAscii(kInstalled)] = c.comparison;
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
    EXPECT_THROW(engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace), Error);
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
    EXPECT_EQ(report.lines.size(), 20u);
    EXPECT_EQ(report.lines[8].text, "Copie de ");  // the missing one: no source
    EXPECT_EQ(report.lines[9].text, "vers C:\\Q\\gs\\f4.int\r\n");
}

}  // namespace
}  // namespace qv
