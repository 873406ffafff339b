#include "EngineFixture.h"

namespace qv {
namespace {

class InstallationLocatorTest : public test::EngineFixture {
protected:
    void SetUp() override { UsePackage({}); }
    void Drive(char letter, DriveKind kind, bool holdsFolder)
    {
        files.drives[letter] = kind;
        if (holdsFolder)
            files.AddFolder(std::string(1, letter) + ":\\WQuorvex");
    }
};

TEST_F(InstallationLocatorTest, OneFixedDriveHoldingTheFolderAsksNothing)
{
    Drive('D', DriveKind::Fixed, true);
    Drive('E', DriveKind::CdRom, true);  // skipped: not fixed or remote
    EXPECT_EQ(engine->LocateDirectory("WQuorvex"), "D:\\WQuorvex");
    EXPECT_TRUE(User().dialogs.empty());
}

TEST_F(InstallationLocatorTest, TwoMatchesMakeTheUserChooseAndCancelGivesNothing)
{
    Drive('C', DriveKind::Fixed, true);
    Drive('N', DriveKind::Remote, true);
    User().folderAnswers = {""};
    EXPECT_EQ(engine->LocateDirectory("WQuorvex"), "");
    ASSERT_EQ(User().dialogs.size(), 1u);
    EXPECT_EQ(User().dialogs[0].text,
              "2 répertoires WQuorvex ont été trouvés, veuillez choisir l'emplacement correct.");
    EXPECT_EQ(User().dialogs[0].type, DialogType::Error);
    EXPECT_EQ(User().folderTitles[0], "Séléctionner le répertoire \"WQuorvex\"");
}

TEST_F(InstallationLocatorTest, RemovableAndCdRomOnlyIsNotFoundAndTheChoiceIsRetried)
{
    Drive('A', DriveKind::Removable, true);
    Drive('E', DriveKind::CdRom, true);
    files.AddFolder("C:\\Apps\\WQuorvex");
    // C:\Apps stands for C:\WQuorvex (missing: asked again), then a folder
    // beside the product folder is taken as the product folder.
    User().folderAnswers = {"C:\\Apps", "C:\\Apps\\Other"};
    EXPECT_EQ(engine->LocateDirectory("WQuorvex"), "C:\\Apps\\WQuorvex");
    const std::string notFound =
        "Répertoire WQuorvex pas trouvé. Veuillez indiquer son emplacement.";
    ASSERT_EQ(User().dialogs.size(), 2u);
    EXPECT_EQ(User().dialogs[0].text, notFound);
    EXPECT_EQ(User().dialogs[1].text, notFound);
}

TEST_F(InstallationLocatorTest, AskProgramLocation)
{
    User().fileAnswers = {"", "D:\\T\\TELVARIN.EXE"};
    EXPECT_EQ(engine->AskProgramLocation("C:\\W\\TELVARIN.EXE"), "");
    EXPECT_EQ(engine->AskProgramLocation("C:\\W\\TELVARIN.EXE"), "D:\\T\\TELVARIN.EXE");
    EXPECT_EQ(User().dialogs[0].text,
              "Programme C:\\W\\TELVARIN.EXE pas trouvé. Veuillez indiquer son emplacement.");
}

}  // namespace
}  // namespace qv
