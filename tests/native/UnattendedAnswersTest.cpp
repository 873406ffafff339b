// The engine's questions and boxes under the answer policy of a run nobody
// watches: what is installed is kept, boxes go to the report.
#include <gmock/gmock.h>

#include "platform/UnattendedInteraction.h"
#include "support/EngineDoubles.h"
#include "support/EngineFileSystem.h"
#include "support/RecordingReport.h"
#include "support/TestPackage.h"
#include "engine/UpdateEngine.h"

namespace qv {
namespace {

using testing::ElementsAre;

constexpr char kInstalled[] = "C:\\Q\\gs\\date.int";
constexpr char kPackaged[] = "C:\\TEMP\\Update1.tmp";

class UnattendedAnswers : public testing::Test {
protected:
    test::EngineFileSystem files;
    test::EngineServices services;
    test::RecordingReportSink report;
    std::unique_ptr<PackageFileSource> package = test::MakePackage({});
    std::unique_ptr<UnattendedInteraction> user;
    std::unique_ptr<UpdateEngine> engine;

    void Start(bool replaceSame)
    {
        files.AddFolder(files.tempFolder);
        user = std::make_unique<UnattendedInteraction>(report, replaceSame);
        engine = std::make_unique<UpdateEngine>(*package, files, services.registry, *user,
                                               services.messages, services.versions,
                                               services.workstation);
        engine->SetReportTarget(&report);
        report.lines.clear();
    }
};

TEST_F(UnattendedAnswers, QuestionsKeepWhatIsInstalled)
{
    const std::string newer = "Confirmation : Le fichier date.int présent sur votre système est "
                              "plus récent\r\nque celui qui est contenu dans cette mise à jour.\r\n"
                              "Voulez-vous installer un ancien fichier ?";
    const std::string same = "Confirmation : Le fichier date.int présent sur votre système est à "
                             "jour.\r\nVoulez-vous tout de même effectuer la mise à jour ?";
    struct Case {
        const char* name;
        int comparison;
        bool replaceSame;
        UpdateStatus status;
        std::vector<std::string> report;
    };
    const Case cases[] = {
        {"packaged newer: replaced, nothing asked", 1, false, UpdateStatus::Ok,
         {std::string("Copie de ") + kPackaged, std::string("vers ") + kInstalled + "\r\n"}},
        {"installed newer: kept", -1, false, UpdateStatus::Not,
         {newer, "Réponse automatique : Non\r\n", std::string("Le fichier ") + kInstalled,
          "n'est pas remplacé !!!\r\n"}},
        {"installed newer: kept, /REPLACESAME or not", -1, true, UpdateStatus::Not,
         {newer, "Réponse automatique : Non\r\n", std::string("Le fichier ") + kInstalled,
          "n'est pas remplacé !!!\r\n"}},
        {"identical: kept", 0, false, UpdateStatus::Not,
         {same, "Réponse automatique : Non\r\n", std::string("Le fichier ") + kInstalled,
          "est à jour : il n'est pas remplacé.\r\n"}},
        {"identical, /REPLACESAME: the update goes on", 0, true, UpdateStatus::Ok,
         {same, "Réponse automatique : Oui\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.replaceSame);
        // Without versions the times decide: 1 makes the packaged file newer.
        files.PutFile(kInstalled, "old", 1 - c.comparison);
        files.PutFile(kPackaged, "new", 1);
        EXPECT_EQ(engine->CompareAndReplace(kPackaged, kInstalled, ReplaceMode::Replace), c.status);
        EXPECT_EQ(files.Get(kInstalled)->data, c.comparison == 1 ? "new" : "old");
        EXPECT_EQ(report.Texts(), c.report);
    }
}

TEST_F(UnattendedAnswers, BoxesGoToTheReportAndChoosersAreCancelled)
{
    Start(false);
    files.drives = {{'C', DriveKind::Fixed}};  // no folder of that name anywhere
    EXPECT_EQ(engine->LocateDirectory("Quorvex5"), "");
    EXPECT_EQ(engine->AskProgramLocation("C:\\W\\TELVARIN.EXE"), "");
    user->AskYesNoCancel("Voulez-vous annuler cette mise à jour");
    EXPECT_THAT(report.Texts(),
                ElementsAre("Erreur : Répertoire Quorvex5 pas trouvé. Veuillez indiquer son "
                            "emplacement.\r\n",
                            "Séléctionner le répertoire \"Quorvex5\" : annulé (exécution sans "
                            "utilisateur).\r\n",
                            "Erreur : Programme C:\\W\\TELVARIN.EXE pas trouvé. Veuillez indiquer "
                            "son emplacement.\r\n",
                            "Choix d'un fichier : annulé (exécution sans utilisateur).\r\n",
                            "Avertissement : Voulez-vous annuler cette mise à jour",
                            "Réponse automatique : Non\r\n"));
}

}  // namespace
}  // namespace qv
