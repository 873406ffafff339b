// The parts of the database layer that need no server: statement texts,
// named parameters, timestamps, field definitions.
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "database/DatabaseSession.h"
#include "database/NamedParams.h"
#include "database/SqlValue.h"
#include "database/TableAccess.h"

namespace qv {
namespace {

TEST(NamedParams, NamesBecomeMarkersOutsideQuotesAndComments)
{
    auto p = ParseNamedParams("INSERT INTO Users (username, lastcheck)\r\nVALUES (:p0, 'Now')");
    EXPECT_EQ(p.sql, "INSERT INTO Users (username, lastcheck)\r\nVALUES (?, 'Now')");
    EXPECT_EQ(p.names, std::vector<std::string>{"P0"});

    p = ParseNamedParams("SELECT ':x', \":y\" /* :z */ FROM t -- :w\nWHERE a = :pName AND b = :p_1");
    EXPECT_EQ(p.sql, "SELECT ':x', \":y\" /* :z */ FROM t -- :w\nWHERE a = ? AND b = ?");
    EXPECT_EQ(p.names, (std::vector<std::string>{"PNAME", "P_1"}));
}

TEST(Timestamp, CivilDatesAndTicks)
{
    EXPECT_EQ(Timestamp::FromCivil(1858, 11, 17).date, 0);
    EXPECT_EQ(Timestamp::FromCivil(2000, 1, 1).date, 51544);
    Timestamp t = Timestamp::FromCivil(2001, 3, 1, 0, 30, 0);
    EXPECT_EQ(Timestamp::FromTicks(t.Ticks() - 45 * 60 * Timestamp::kTicksPerSecond).Text(),
              "2001-02-28 23:45:00.0000");
}

TEST(SqlValue, ConversionsOfAField)
{
    EXPECT_EQ(SqlValue(" 12 ").AsInteger(), 12);
    EXPECT_EQ(SqlValue().AsInteger(), 0);
    EXPECT_EQ(SqlValue().AsString(), "");
    EXPECT_EQ(SqlValue(42).AsString(), "42");
    EXPECT_THROW(SqlValue("1.5x").AsInteger(), Error);
    EXPECT_THROW(SqlValue(std::int64_t{1} << 40).AsInteger(), Error);
}

TEST(TableAccess, FieldDefinitionLines)
{
    struct Case {
        const char* line;
        const char* name;
        bool key;
        bool excluded;
    } cases[] = {
        {"pname VARCHAR(60) NOT NULL *", "pname", true, false},
        {"print_params BLOB SUB_TYPE 1 SEGMENT SIZE 80", "print_params", false, false},
        {"  \tid INTEGER *#\r\n", "id", true, true},
        {"stamp#", "stamp", false, true},
        {"lonely", "lonely", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        FieldDefinition d = ParseFieldDef(c.line);
        EXPECT_EQ(d.name, c.name);
        EXPECT_EQ(d.isKey, c.key);
        EXPECT_EQ(d.excludedFromInsert, c.excluded);
    }
}

TEST(TableAccess, InsertStatementOfPrintParams)
{
    // A session over a database that is never opened: building statements
    // needs no connection.
    FirebirdDatabase database;
    FirebirdTransaction transaction(database);
    DatabaseSession session(transaction);
    TableAccess m(session, "PRT_Params",
                  {"pname VARCHAR(60) NOT NULL *", "d_text VARCHAR(100)", "f_text VARCHAR(100)",
                   "i_text VARCHAR(100)", "compat INTEGER",
                   "print_params BLOB SUB_TYPE 1 SEGMENT SIZE 80"});
    std::vector<std::string> lines = {"old"};
    m.BuildInsertSQL(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "INSERT INTO PRT_Params(", "pname,", "d_text,", "f_text,", "i_text,",
                         "compat,", "print_params)",
                         "VALUES (:pname, :d_text, :f_text, :i_text, :compat, :print_params)"}));
    std::vector<std::string> keys;
    m.GetKeyFields(keys);
    EXPECT_EQ(keys, std::vector<std::string>{"pname"});
    EXPECT_EQ(m.KeyCount(), 1);

    TableAccess excluded(session, "PRT_Params", {"a INTEGER *#", "b#"});
    excluded.BuildInsertSQL(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"INSERT INTO PRT_Params()", "VALUES ()"}));
}

}  // namespace
}  // namespace qv
