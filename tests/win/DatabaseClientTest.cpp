// The database layer in the Windows program, on a workstation without any
// Firebird client: a product database is refused by the client-version gate,
// and nothing ever loads a client library.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/Errors.h"
#include "core/Texts.h"
#include "database/DBConnection.h"
#include "database/FirebirdApi.h"
#include "database/VersionSource.h"
#include "database/Workstation.h"
#include "support/ScriptedInteraction.h"

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
        TdmDBConnection module(ui, *versions, *workstation);
        module.DatabaseManager.SleepBetweenAttempts = [](unsigned) {};
        module.ApplicationName = "Updater";
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
    TdmDBConnection module(ui, *versions, *workstation);
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

}  // namespace
}  // namespace qv
