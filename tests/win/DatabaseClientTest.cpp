// The database layer in the Windows program, on a workstation without any
// Firebird client: a product database is refused by the client-version gate,
// the print-list import fails on that refusal, and nothing ever loads a
// client library.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/Errors.h"
#include "core/Texts.h"
#include "database/ProductDatabase.h"
#include "database/FirebirdApi.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"
#include "engine/UpdateEngine.h"
#include "support/EngineDoubles.h"
#include "support/EngineFileSystem.h"
#include "support/RecordingReport.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPackage.h"
#include "platform/win32/Win32MessageLoop.h"

namespace qv {
namespace {

bool AnyClientLoaded()
{
    return ::GetModuleHandleA("gds32.dll") || ::GetModuleHandleA("fbclient.dll") ||
           fb::LoadedClient();
}

TEST(DatabaseWithoutClient, ModuleLivesWithoutLoadingTheClient)
{
    test::ScriptedInteraction ui;
    auto versions = MakeFirebirdVersionSource();
    auto workstation = MakeWorkstation(ui);
    {
        ProductDatabase module(ui, *versions, *workstation);
        module.Session().SetPauseBetweenAttempts([](unsigned) {});
        module.SetDatabaseIdentity(0, "", "", "Updater");
        for (auto& timer : module.Timers())
            timer.handler();  // heartbeat on a closed database, disk check skipped
        EXPECT_FALSE(module.IsConnected());
        EXPECT_FALSE(module.UserPresenceName().empty());
    }
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_FALSE(AnyClientLoaded());
}

TEST(DatabaseWithoutClient, ProductDatabaseIsRefusedWithTheClientVersionMessage)
{
    test::ScriptedInteraction ui;
    auto versions = MakeFirebirdVersionSource();
    auto workstation = MakeWorkstation(ui);
    ProductDatabase module(ui, *versions, *workstation);
    module.SetDatabaseIdentity(1, "TVP_PRO", "Base de données", "Updater");
    module.SetConnectionParams(R"(localhost:C:\QUORVEX\DB\TVP.FDB)", "", "", "");
    try {
        module.ConnectAsProduct();
        FAIL() << "connected";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), std::string(texts::kClientVersionUnknown) + "\r\n\r\n?");
    }
    EXPECT_FALSE(module.IsConnected());
    EXPECT_FALSE(AnyClientLoaded());
}


TEST(DatabaseWithoutClient, PrintListImportEndsWithTheRefusal)
{
    // The program's own sources of the versions and the workstation; the
    // rest in memory.
    test::EngineFileSystem files;
    files.AddFolder(files.tempFolder);
    test::EngineServices services;
    services.registry.Seed(RegistryHive::LocalMachine,
                           "SOFTWARE\\QUORVEX S.A.\\Telvarin\\Default\\TVP_DatabaseName", "Path",
                           {test::RegistryType::String, R"(localhost:C:\QUORVEX\DB\TVP.FDB)"});
    auto versions = MakeFirebirdVersionSource();
    auto workstation = MakeWorkstation(services.user);
    auto package = test::MakePackage({{"PrintLists.txt", "factures.lst\r\n"},
                                      {"factures.lst", "DES:F:Facture\r\n"}});
    test::RecordingReportSink report;
    {
        UpdateEngine engine(*package, files, services.registry, services.user, services.messages,
                            *versions, *workstation);
        engine.SetReportTarget(&report);
        engine.Connection().Session().SetPauseBetweenAttempts([](unsigned) {});

        // What the import meets when it opens the company's database ...
        try {
            engine.OpenProductDatabase(ProductKind::Telvarin, "");
            FAIL() << "opened";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), std::string(texts::kClientVersionUnknown) + "\r\n\r\n?");
        }
        // ... ends the import with its one failure message.
        try {
            engine.ImportPrintLists(ProductKind::Telvarin);
            FAIL() << "imported";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), "Cannot import resource files");
        }
        EXPECT_EQ(report.Texts(),
                  std::vector<std::string>{"\r\nMise à jour de listes pour la société Default"});
        EXPECT_FALSE(engine.Connection().IsConnected());
    }
    EXPECT_TRUE(services.user.dialogs.empty());
    EXPECT_FALSE(AnyClientLoaded());
}


// The program's message loop with every interval divided by 60,000: the
// connection module's 30 and 60 minutes become 30 and 60 ms.
class AcceleratedLoop : public MessageLoop {
public:
    std::vector<unsigned> intervals;
    void Delay(int milliseconds) override { real_.Delay(milliseconds); }
    std::unique_ptr<RepeatingTimer> StartTimer(unsigned intervalMs,
                                               std::function<void()> onTick) override
    {
        intervals.push_back(intervalMs);
        return real_.StartTimer(intervalMs / 60'000, std::move(onTick));
    }

private:
    win32::Win32MessageLoop real_;
};

TEST(DatabaseWithoutClient, ConnectionTimersTickOnTheMessageLoop)
{
    test::EngineFileSystem files;
    files.AddFolder(files.tempFolder);
    test::EngineServices services;
    AcceleratedLoop loop;
    auto versions = MakeFirebirdVersionSource();
    auto workstation = MakeWorkstation(services.user);
    auto package = test::MakePackage({});
    int presenceAttempts = 0;
    {
        UpdateEngine engine(*package, files, services.registry, services.user, loop, *versions,
                            *workstation);
        EXPECT_EQ(loop.intervals, (std::vector<unsigned>{1'800'000, 3'600'000}));
        // No client here: each presence refresh makes its five attempts on
        // the closed database, with a pause before attempts 2 to 5.
        engine.Connection().Session().SetPauseBetweenAttempts(
            [&](unsigned) { ++presenceAttempts; });
        loop.Delay(400);  // the program idles
        EXPECT_GE(presenceAttempts, 4 * 3);
    }
    const int afterDestruction = presenceAttempts;
    loop.Delay(150);
    EXPECT_EQ(presenceAttempts, afterDestruction);  // the timers went with the module
    EXPECT_TRUE(services.user.dialogs.empty());      // the disk check waits for a database
    EXPECT_FALSE(AnyClientLoaded());
}

}  // namespace
}  // namespace qv
