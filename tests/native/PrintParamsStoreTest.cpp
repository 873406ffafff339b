// The print-parameter store and the transaction brackets it runs in, against
// a product database of the test server (label "firebird").
#include <gtest/gtest.h>

#include "PrintDatabases.h"
#include "core/Errors.h"
#include "database/ProductDatabase.h"
#include "database/PrintParamsStore.h"
#include "support/ScriptedInteraction.h"

namespace qv {
namespace {

class PrintParamsStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::MakePrintDatabase(test::kPrint1); }

    void SetUp() override
    {
        sql.Reset();
        module.Session().SetPauseBetweenAttempts([](unsigned) {});
        module.SetDatabaseIdentity(1, "TVP_PRO", "Base de données", "Updater");
        module.SetConnectionParams(test::kPrint1, "", "", "");
        module.ConnectAsProduct();
        ASSERT_TRUE(module.IsConnected());
    }

    // The bracket is closed: nothing open on the shared transaction.
    void ExpectBracketClosed()
    {
        EXPECT_EQ(module.SharedTransaction().BracketDepth(), 0);
        EXPECT_FALSE(module.SharedTransaction().Active());
    }

    // Makes the shared transaction's commit fail on the server.
    void RefuseCommit()
    {
        FirebirdQuery q(module.SharedTransaction(), "RefuseCommit");
        q.SetSql({"SELECT RDB$SET_CONTEXT('USER_TRANSACTION', 'REFUSE_COMMIT', '1')",
                  "FROM RDB$DATABASE"});
        q.Open();
        q.Close();
    }

    test::FixtureSql sql{test::kPrint1};
    test::ScriptedInteraction ui;
    test::FakeVersions versions;
    test::FakeWorkstation workstation;
    ProductDatabase module{ui, versions, workstation};
    PrintParamsStore store{module};
};

TEST_F(PrintParamsStoreTest, AddedRowTakesTheHeaderAndAnUpdateOnlyTheText)
{
    const std::vector<std::string> lines = {"COM:V2 /* since 2004 */", "DES:F:Facture",
                                            "DES:X:Invoice", "font=Arial"};
    EXPECT_FALSE(store.PrintParamsExist("factures"));
    EXPECT_EQ(store.AddPrintParams("factures", lines), "Facture");
    ExpectBracketClosed();
    const test::PrintRow added{"factures", "Invoice", "Facture", "Invoice", "V2",
                               "COM:V2 /* since 2004 */\r\nDES:F:Facture\r\nDES:X:Invoice\r\n"
                               "font=Arial\r\n"};
    EXPECT_EQ(test::PrintRows(sql), std::vector<test::PrintRow>{added});

    EXPECT_TRUE(store.PrintParamsExist("factures"));
    EXPECT_FALSE(store.PrintParamsExist("Factures"));  // the database's equality
    store.UpdatePrintParams("factures", {"DES:F:Autre", "font=Courier"});
    ExpectBracketClosed();
    test::PrintRow updated = added;
    updated.print_params = "DES:F:Autre\r\nfont=Courier\r\n";
    EXPECT_EQ(test::PrintRows(sql), std::vector<test::PrintRow>{updated});
}

TEST_F(PrintParamsStoreTest, ValueLongerThanItsColumnIsRefusedAndRolledBack)
{
    const struct {
        const char* what;
        std::string name;
        std::vector<std::string> lines;
    } cases[] = {
        {"pname of 61", std::string(61, 'n'), {"x"}},
        {"f_text of 91", "liste", {"DES:F:" + std::string(91, 'f')}},
        {"d_text of 91 through DES:X:", "liste", {"DES:X:" + std::string(91, 'x')}},
        {"compat of 31", "liste", {"COM:" + std::string(31, 'c')}},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(store.AddPrintParams(c.name, c.lines), FirebirdError) << c.what;
        ExpectBracketClosed();
        EXPECT_TRUE(test::PrintRows(sql).empty()) << c.what;
    }
    // The values as long as their columns go in whole.
    const std::string name60(60, 'n');
    store.AddPrintParams(name60, {"DES:F:" + std::string(90, 'f'), "COM:" + std::string(30, 'c')});
    const auto rows = test::PrintRows(sql);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].pname, name60);
    EXPECT_EQ(rows[0].f_text, std::string(90, 'f'));
    EXPECT_EQ(rows[0].compat, std::string(30, 'c'));
}

TEST_F(PrintParamsStoreTest, RefusedCommitClosesBothBracketsAndKeepsNothing)
{
    DatabaseSession& manager = module.Session();
    // Entered by the manager and the module, left by each; the store's own
    // bracket nests inside.
    const struct {
        const char* what;
        std::function<void()> begin;
        std::function<void()> commit;
    } brackets[] = {
        {"the connection module's", [&] { module.BeginTransaction(); },
         [&] { module.CommitTransaction(); }},
        {"the database manager's", [&] { manager.BeginTransaction(); },
         [&] { manager.CommitTransaction(); }},
    };
    for (const auto& b : brackets) {
        b.begin();
        store.AddPrintParams("refused", {"DES:F:Refusée"});
        RefuseCommit();
        try {
            b.commit();
            ADD_FAILURE() << b.what << ": committed";
        } catch (const FirebirdError& e) {
            EXPECT_NE(e.Message().find("COMMIT_REFUSED"), std::string::npos) << e.Message();
        }
        ExpectBracketClosed();
        EXPECT_TRUE(test::PrintRows(sql).empty()) << b.what;
        // The next bracket starts afresh and commits.
        b.begin();
        store.AddPrintParams("kept", {});
        b.commit();
        ExpectBracketClosed();
        ASSERT_EQ(test::PrintRows(sql).size(), 1u) << b.what;
        sql.Exec("DELETE FROM PRT_Params");
    }
    // The handler of a refused commit may roll back as well: no level lost.
    module.BeginTransaction();
    RefuseCommit();
    try {
        module.CommitTransaction();
    } catch (...) {
        module.RollbackTransaction(nullptr);
    }
    ExpectBracketClosed();

    // A commit without a begin is a programming error, in both brackets.
    for (const auto& b : brackets) {
        try {
            b.commit();
            ADD_FAILURE() << b.what;
        } catch (const AssertionFailure& e) {
            EXPECT_EQ(e.Message(), "TRANSACTION MANAGEMENT ERROR") << b.what;
        }
        ExpectBracketClosed();
    }
}

}  // namespace
}  // namespace qv
