// The connection module, the database manager and the table manager against
// the test server (label "firebird").
#include <gtest/gtest.h>

#include "FirebirdFixture.h"
#include "core/Errors.h"
#include "core/Texts.h"
#include "database/ProductDatabase.h"
#include "database/ServerProperties.h"
#include "database/TableAccess.h"
#include "support/ScriptedInteraction.h"

namespace qv {
namespace {

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sql.Reset();
        module.Session().SetPauseBetweenAttempts([this](unsigned ms) { sleeps.push_back(ms); });
    }

    void OpenTvp(const std::string& connection = test::kTvp)
    {
        module.SetDatabaseIdentity(1, "TVP_PRO", "Base de données", "Updater");
        module.SetConnectionParams(connection, "", "", "");
        module.ConnectAsProduct();
    }

    std::string ErrorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.Message();
        }
        return "(no error)";
    }

    test::FixtureSql sql;
    test::ScriptedInteraction ui;
    test::FakeVersions versions;
    test::FakeWorkstation workstation;
    std::vector<unsigned> sleeps;
    ProductDatabase module{ui, versions, workstation};
};

TEST_F(ConnectionTest, ProductOpensWithPresenceRowRemovedAtDisconnect)
{
    OpenTvp();
    EXPECT_TRUE(module.IsConnected());
    EXPECT_EQ(versions.askedServices, std::vector<std::string>{"localhost:service_mgr"});
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(sql.Users(), std::vector<std::string>{"marie (COMPTA-01) - Updater"});
    module.Disconnect();
    EXPECT_FALSE(module.IsConnected());
    EXPECT_TRUE(sql.Users().empty());
    EXPECT_EQ(module.SharedTransaction().BracketDepth(), 0);
}

TEST_F(ConnectionTest, RefusedAttachesKeepTheFirebirdErrorAndLeaveItClosed)
{
    module.SetConnectionParams(test::kTvp, "QUORVEX", "", "wrong");
    module.SetDatabaseIdentity(1, "TVP_PRO", "", "");
    try {
        module.Connect();
        FAIL();
    } catch (const FirebirdError& e) {
        EXPECT_EQ(e.FirebirdCode(), isc_login) << e.Message();
        EXPECT_NE(e.Message().find("password"), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(module.IsConnected());

    module.SetConnectionParams(R"(localhost:C:\QUORVEX\DB\MISSING.FDB)", "", "", "");
    try {
        module.ConnectAsProduct();
        FAIL();
    } catch (const FirebirdError& e) {
        // What the client reports after every provider tried the file.
        EXPECT_NE(e.FirebirdCode(), 0) << e.Message();
        EXPECT_LT(e.SqlCode(), 0);
        EXPECT_FALSE(e.Message().empty());
    }
    EXPECT_FALSE(module.IsConnected());
}

TEST_F(ConnectionTest, GatesRefuseWithTheirExactTexts)
{
    versions.client = "LI-V3.0.11.33703 Firebird 3.0";
    EXPECT_EQ(ErrorOf([&] { OpenTvp(); }),
              std::string(texts::kClientVersionUnknown) + "\r\n\r\nLI-V3.0.11.33703 Firebird 3.0");
    EXPECT_TRUE(versions.askedServices.empty());  // refused before any attempt to connect

    versions.client = "WI-V6.3.0.4290";
    versions.server = "WI-V1.5.2.4731 Firebird 1.5";
    EXPECT_EQ(ErrorOf([&] { OpenTvp(); }),
              std::string(texts::kClientServerMismatch) +
                  "\r\n\r\nClient : WI-V6.3.0.4290\r\nServer : WI-V1.5.2.4731 Firebird 1.5");
    EXPECT_FALSE(module.IsConnected());

    versions.server = "WI-V1.5.1.4481 Firebird 1.5";
    module.SetConnectionParams("", "", "", "");
    EXPECT_EQ(ErrorOf([&] { module.ConnectAsProduct(); }), texts::kDatabaseNameMissing);
}

TEST_F(ConnectionTest, FormsWithoutALocalOrTcpServerAreRefusedAfterTheAttach)
{
    const std::string forms[] = {
        R"(localhost:C:\QUORVEX\\DB\TVP.FDB)",             // two backslashes: named pipes
        "localhost:/var/lib/quorvex-firebird/db/TVP.FDB",  // ":/"
        "localhost:SPX@TVP.FDB",                           // "@"
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form);
        std::string message = ErrorOf([&] { OpenTvp(form); });
        EXPECT_EQ(message.rfind(texts::kClientServerMismatch, 0), 0u) << message;
        EXPECT_TRUE(message.ends_with("\r\nServer : ?")) << message;
        EXPECT_FALSE(module.IsConnected());
    }
    EXPECT_TRUE(versions.askedServices.empty());
}

TEST_F(ConnectionTest, IdentityRefusalShowsWhatTheDatabaseHolds)
{
    module.SetDatabaseIdentity(2, "TVP_PRO", "Base de données", "Updater");
    module.SetConnectionParams(test::kTvp, "", "", "");
    EXPECT_EQ(ErrorOf([&] { module.ConnectAsProduct(); }),
              std::string(texts::kDatabaseIncompatible) + "\r\n\r\nDatabase : TVP_PRO\r\nVersion : 1");
    EXPECT_FALSE(module.IsConnected());

    // Without rows 2 and 3: the empty identifier and version 0.
    module.SetDatabaseIdentity(1, "TVP_PRO", "", "Updater");
    module.SetConnectionParams(test::kBare, "", "", "");
    EXPECT_EQ(ErrorOf([&] { module.ConnectAsProduct(); }),
              std::string(texts::kDatabaseIncompatible) + "\r\n\r\nDatabase : \r\nVersion : 0");
}

TEST_F(ConnectionTest, DiskSpaceAnswers)
{
    struct Case {
        long long freeBytes;
        std::vector<std::pair<DialogType, std::string>> dialogs;
        bool staysOpen;
        bool presenceRow;
    };
    const std::string low = std::string(texts::kDiskSpaceLow) + "\r\n";
    const std::string critical = std::string(texts::kDiskSpaceCritical) + "\r\n";
    const Case cases[] = {
        {10'000'000, {{DialogType::Error, critical + "10 Mb"}}, false, false},
        {49'999'999, {{DialogType::Error, critical + "49 Mb"}}, false, false},
        {50'000'000, {{DialogType::Warning, low + "50 Mb"}, {DialogType::Warning, low + "50 Mb"}}, true, true},
        {100'000'000, {{DialogType::Warning, low + "100 Mb"}, {DialogType::Warning, low + "100 Mb"}}, true, true},
        {149'999'999, {{DialogType::Warning, low + "149 Mb"}, {DialogType::Warning, low + "149 Mb"}}, true, true},
        {150'000'000, {}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.freeBytes);
        sql.Reset();
        sql.SetFreeSpace(c.freeBytes);
        ui.dialogs.clear();
        OpenTvp();  // returns normally also when it closed the database again
        std::vector<std::pair<DialogType, std::string>> shown;
        for (const auto& d : ui.dialogs)
            shown.emplace_back(d.type, d.text);
        EXPECT_EQ(shown, c.dialogs);
        EXPECT_EQ(module.IsConnected(), c.staysOpen);
        EXPECT_EQ(sql.Users().size(), c.presenceRow ? 1u : 0u);
        module.Disconnect();
    }
}

TEST_F(ConnectionTest, UnknownFreeSpaceDisablesTheCheckForGood)
{
    for (long long unknown : {0LL, -1LL}) {
        SCOPED_TRACE(unknown);
        ProductDatabase fresh{ui, versions, workstation};
        fresh.Session().SetPauseBetweenAttempts([](unsigned) {});
        sql.SetFreeSpace(unknown);
        ui.dialogs.clear();
        fresh.SetDatabaseIdentity(1, "TVP_PRO", "", "Updater");
        fresh.SetConnectionParams(test::kTvp, "", "", "");
        fresh.ConnectAsProduct();
        ASSERT_EQ(ui.dialogs.size(), 1u);
        EXPECT_EQ(ui.dialogs[0].text, texts::kDiskSpaceUnknown);
        EXPECT_EQ(ui.dialogs[0].type, DialogType::Warning);
        EXPECT_TRUE(fresh.DiskCheckDisabled());
        EXPECT_TRUE(fresh.IsConnected());

        sql.SetFreeSpace(1'000'000);  // would be critical, but nobody looks any more
        fresh.DiskSpaceTimerFired();
        fresh.ConnectAsProduct();
        EXPECT_EQ(ui.dialogs.size(), 1u);
        EXPECT_TRUE(fresh.IsConnected());
        fresh.Disconnect();
    }
}

TEST_F(ConnectionTest, FreeSpaceQueryFailureReachesTheCallerAndKeepsTheDatabase)
{
    module.SetDatabaseIdentity(0, "", "", "Updater");
    module.SetConnectionParams(test::kBare, "", "", "");
    EXPECT_THROW(module.ConnectAsProduct(), FirebirdError);  // BARE has no GetFreeDiskSpace
    // Connect checked the space after identifying: refused there, the
    // database stays open as it was.
    EXPECT_TRUE(module.IsConnected());
    EXPECT_EQ(module.SharedTransaction().BracketDepth(), 0);
    EXPECT_THROW(module.DiskSpaceTimerFired(), FirebirdError);
    EXPECT_TRUE(module.IsConnected());
}

TEST_F(ConnectionTest, DriveLetterOfTheFreeSpaceQuery)
{
    const std::pair<std::string, std::string> bad[] = {{"TVP.FDB", "0312181326"},
                                                       {"server:", "0312181326"}};
    for (const auto& [connection, error] : bad) {
        module.SetConnectionParams(connection, "", "", "");
        EXPECT_EQ(ErrorOf([&] { module.DatabaseFreeSpace(); }), error);
    }
}

TEST_F(ConnectionTest, PresenceNameCarriesComputerOrSession)
{
    module.SetDatabaseIdentity(0, "", "", "Updater");
    EXPECT_EQ(module.UserPresenceName(), "marie (COMPTA-01) - Updater");
    workstation.remote = true;
    EXPECT_EQ(module.UserPresenceName(), "marie (3) - Updater");
}

TEST_F(ConnectionTest, HeartbeatRefreshesAndPurgesByTheServersClock)
{
    OpenTvp();
    // The server's clock, far from this machine's: only it decides.
    const Timestamp now = Timestamp::FromCivil(2001, 1, 1, 12, 0, 0);
    sql.SetServerTime(now);
    const std::int64_t stale = Timestamp::kTicksPerDay * 3 / 100;
    sql.Exec("INSERT INTO Users VALUES ('older', :p0)",
             {Timestamp::FromTicks(now.Ticks() - stale - 1)});
    sql.Exec("INSERT INTO Users VALUES ('exactly 0.03 day', :p0)",
             {Timestamp::FromTicks(now.Ticks() - stale)});
    module.PresenceTimerFired();
    EXPECT_EQ(sql.Users(),
              (std::vector<std::string>{"exactly 0.03 day", "marie (COMPTA-01) - Updater"}));
    auto checked = sql.Column("SELECT lastcheck FROM Users WHERE username = :p0",
                              {SqlValue("marie (COMPTA-01) - Updater")});
    ASSERT_EQ(checked.size(), 1u);
    EXPECT_GT(checked[0].AsTimestamp().Ticks(), now.Ticks());  // 'Now' of the server, refreshed
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(ConnectionTest, PresenceKeyIsTheFirstSixtyCharacters)
{
    OpenTvp();
    const std::string base(60, 'n');
    module.Session().RegisterUser(base + " (A) - Updater");
    module.Session().RegisterUser(base + " (B) - Updater");
    auto users = sql.Users();
    EXPECT_EQ(std::count(users.begin(), users.end(), base), 1);
    module.Session().UnregisterUser(base + " (C)");
    users = sql.Users();
    EXPECT_EQ(std::count(users.begin(), users.end(), base), 0);
}

TEST_F(ConnectionTest, PresenceOnAClosedDatabaseGivesUpSilently)
{
    module.SetDatabaseIdentity(1, "TVP_PRO", "", "Updater");
    module.PresenceTimerFired();
    module.Session().UnregisterUser("x");
    ASSERT_EQ(sleeps.size(), 8u);  // four pauses before attempts 2 to 5, twice
    for (unsigned ms : sleeps)
        EXPECT_LT(ms, 2000u);
    EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(ConnectionTest, NestedBracketsCommitOnlyAtTheOutermostLevel)
{
    OpenTvp();
    DatabaseSession& m = module.Session();
    FirebirdQuery insert(module.SharedTransaction(), "Insert");
    insert.SetSql({"INSERT INTO PRT_Params (pname, print_params) VALUES (:p0, :p1)"});

    m.BeginTransaction();
    module.BeginTransaction();  // the module's bracket shares the depth
    EXPECT_EQ(module.SharedTransaction().BracketDepth(), 2);
    insert.ParamByName("p0") = "LISTE1";
    insert.ParamByName("p1") = std::string(70000, 'x');  // a text blob of several segments
    insert.ExecSQL();
    module.CommitTransaction();
    EXPECT_TRUE(module.SharedTransaction().Active());
    EXPECT_TRUE(sql.Column("SELECT pname FROM PRT_Params").empty());  // not committed yet
    m.CommitTransaction();
    EXPECT_FALSE(module.SharedTransaction().Active());
    auto blob = sql.Column("SELECT print_params FROM PRT_Params WHERE pname = 'LISTE1'");
    ASSERT_EQ(blob.size(), 1u);
    EXPECT_EQ(blob[0].AsString(), std::string(70000, 'x'));

    EXPECT_THROW(module.CommitTransaction(), AssertionFailure);
    EXPECT_EQ(module.SharedTransaction().BracketDepth(), 0);
    try {
        module.CommitTransaction();
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Message(), "TRANSACTION MANAGEMENT ERROR");
    }
}

TEST_F(ConnectionTest, RollbackRaisesTheFirebirdErrorAgainAndTheOuterLevelDecides)
{
    OpenTvp();
    DatabaseSession& m = module.Session();
    FirebirdQuery insert(module.SharedTransaction(), "Insert");
    insert.SetSql({"INSERT INTO PRT_Params (pname) VALUES (:p0)"});

    m.BeginTransaction();
    insert.ParamByName("p0") = "KEPT";
    insert.ExecSQL();
    m.BeginTransaction();
    try {
        try {
            insert.ExecSQL();  // the same key again
        } catch (...) {
            m.RollbackTransaction(std::current_exception());
        }
        FAIL();
    } catch (const FirebirdError& e) {
        EXPECT_EQ(e.SqlCode(), -803);
        EXPECT_EQ(e.FirebirdCode(), isc_unique_key_violation);
        EXPECT_NE(e.Message().find("PRT_PARAMS"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(module.SharedTransaction().BracketDepth(), 1);
    EXPECT_TRUE(module.SharedTransaction().Active());
    m.CommitTransaction();
    EXPECT_EQ(sql.Column("SELECT pname FROM PRT_Params").size(), 1u);

    // Other errors come back as general errors with the same message.
    m.BeginTransaction();
    try {
        m.RollbackTransaction(std::make_exception_ptr(std::runtime_error("boom")));
        FAIL();
    } catch (const FirebirdError&) {
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), "boom");
    }
    EXPECT_FALSE(module.SharedTransaction().Active());
    EXPECT_THROW(module.RollbackTransaction(std::make_exception_ptr(SilentAbort())), SilentAbort);
}

TEST_F(ConnectionTest, ManagerChecks)
{
    OpenTvp();
    EXPECT_EQ(ErrorOf([&] { module.Session().OpenConnection({test::kTvp, "", "", ""}); }),
              "Already connected!");
    EXPECT_EQ(module.Database().Params(),
              (std::vector<std::string>{"user_name=QUORVEX", "password=47130628",
                                        "lc_ctype=ISO8859_1"}));
}

TEST_F(ConnectionTest, FindPK)
{
    OpenTvp();
    sql.Exec("INSERT INTO PRT_Params (pname, compat) VALUES ('Facture', 3)");
    TableAccess table(module.Session(), "PRT_Params", {"pname VARCHAR(60) NOT NULL *", "compat INTEGER"});

    EXPECT_EQ(table.KeyQuery(), nullptr);
    module.BeginTransaction();
    EXPECT_TRUE(table.FindPK({SqlValue("Facture")}));
    EXPECT_FALSE(table.FindPK({SqlValue("facture")}));  // exact, case-sensitive
    FirebirdQuery* fpk = table.KeyQuery();
    ASSERT_NE(fpk, nullptr);
    EXPECT_EQ(fpk->Name(), "PRT_Params_0000");
    EXPECT_EQ(&fpk->Transaction(), &module.SharedTransaction());
    EXPECT_EQ(fpk->Sql(), (std::vector<std::string>{"SELECT 'T' FROM RDB$DATABASE WHERE EXISTS",
                                                    "(", "SELECT 'T' FROM PRT_Params WHERE",
                                                    "pname = :p0", ")"}));
    EXPECT_EQ(ErrorOf([&] { table.FindPK({}); }), "FindPK : count mismatch");
    EXPECT_EQ(ErrorOf([&] { table.FindPK({SqlValue("a"), SqlValue("b")}); }),
              "FindPK : count mismatch");
    fpk->Open();
    EXPECT_EQ(ErrorOf([&] { table.FindPK({SqlValue("Facture")}); }), "Query FPK is active");
    fpk->Close();
    module.CommitTransaction();

    // Without key fields the statement has no condition: the server refuses it.
    TableAccess keyless(module.Session(), "PRT_Params", {"compat INTEGER"});
    module.BeginTransaction();
    EXPECT_THROW(keyless.FindPK({}), FirebirdError);
    module.RollbackTransaction(nullptr);
}

// Closing the database under a query that is still open ends its cursor and
// its statement; the query works again once the database is open again.
TEST_F(ConnectionTest, ClosingTheDatabaseReleasesTheQueriesOnIt)
{
    OpenTvp();
    sql.Exec("INSERT INTO PRT_Params (pname) VALUES ('Facture')");
    FirebirdQuery select(module.SharedTransaction(), "Select");
    select.SetSql({"SELECT pname FROM PRT_Params"});
    module.BeginTransaction();
    select.Open();
    EXPECT_TRUE(select.Active());
    module.Disconnect();
    EXPECT_FALSE(select.Active());
    EXPECT_FALSE(module.SharedTransaction().Active());
    EXPECT_EQ(module.SharedTransaction().BracketDepth(), 0);

    OpenTvp();
    module.BeginTransaction();
    select.Open();
    ASSERT_FALSE(select.Eof());
    EXPECT_EQ(select.Field(0).AsString(), "Facture");
    select.Close();
    module.CommitTransaction();
}

// The real services request, asked of the server itself.
TEST(ServerProperties, ServiceManagerOfTheTestServer)
{
    ServerVersionInfo info =
        QueryServerProperties("localhost:service_mgr", test::kUser, test::kPassword);
    EXPECT_EQ(info.serverVersion.rfind("LI-V3.0", 0), 0u) << info.serverVersion;
    EXPECT_NE(info.implementation, "?");
    EXPECT_GE(info.serviceVersion, 2);
    EXPECT_THROW(QueryServerProperties("localhost:service_mgr", test::kUser, "wrong"),
                 FirebirdError);
}

// On Linux the client reports its own version, which the gate refuses.
TEST(ServerProperties, RealClientVersionIsRefusedByTheGate)
{
    auto source = MakeFirebirdVersionSource();
    const std::string client = source->ClientVersion();
    EXPECT_EQ(client.rfind("LI-V", 0), 0u) << client;
    EXPECT_NE(client.find("Firebird 3"), std::string::npos) << client;
    EXPECT_FALSE(ProductDatabase::IsKnownClientVersion(client));
}

}  // namespace
}  // namespace qv
