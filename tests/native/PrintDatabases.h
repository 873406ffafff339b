#pragma once
// Three companies' product databases for the print-list tests, made afresh
// on the test server (scripts/env/firebird-server.sh) under the aliases
// C:\QUORVEX\DB\PRINT1.FDB to PRINT3.FDB. Each carries what a product
// database carries for the import (identity TVP_PRO version 1, Users,
// GET_SERVER_TIME, GetFreeDiskSpace, PRT_Params and PRT_Images with their
// products' column widths), and a commit trigger that refuses the commit of
// any transaction that set the context variable REFUSE_COMMIT, so that a
// test can make a commit fail on the server.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FirebirdFixture.h"

namespace qv::test {

inline const std::string kPrint1 = R"(localhost:C:\QUORVEX\DB\PRINT1.FDB)";
inline const std::string kPrint2 = R"(localhost:C:\QUORVEX\DB\PRINT2.FDB)";
inline const std::string kPrint3 = R"(localhost:C:\QUORVEX\DB\PRINT3.FDB)";

inline const char kPrintDatabaseSchema[] = R"(
CREATE TABLE ConnectionControl (id INTEGER NOT NULL PRIMARY KEY, sval VARCHAR(60));
INSERT INTO ConnectionControl VALUES (2, 'TVP_PRO');
INSERT INTO ConnectionControl VALUES (3, '1');
CREATE TABLE Users (username VARCHAR(60) NOT NULL PRIMARY KEY, lastcheck TIMESTAMP);
CREATE TABLE PRT_Params (
  pname VARCHAR(60) NOT NULL PRIMARY KEY,
  d_text VARCHAR(90),
  f_text VARCHAR(90),
  i_text VARCHAR(90),
  compat VARCHAR(30),
  print_params BLOB SUB_TYPE 1 SEGMENT SIZE 80);
CREATE TABLE PRT_Images (
  image_name VARCHAR(30) NOT NULL PRIMARY KEY,
  image_data BLOB SUB_TYPE 0 SEGMENT SIZE 1024);
CREATE TABLE FixtureServerTime (fixed_time TIMESTAMP);
INSERT INTO FixtureServerTime VALUES (NULL);
CREATE TABLE FixtureFreeSpace (free_bytes BIGINT);
INSERT INTO FixtureFreeSpace VALUES (1000000000);
CREATE EXCEPTION commit_refused 'commit refused by the test';
SET TERM ^ ;
CREATE PROCEDURE GET_SERVER_TIME RETURNS (server_time TIMESTAMP) AS
BEGIN
  SELECT COALESCE(fixed_time, CAST('NOW' AS TIMESTAMP)) FROM FixtureServerTime
    INTO :server_time;
  SUSPEND;
END^
CREATE FUNCTION GetFreeDiskSpace (drive CHAR(1)) RETURNS BIGINT AS
BEGIN
  RETURN (SELECT FIRST 1 free_bytes FROM FixtureFreeSpace);
END^
CREATE TRIGGER refuse_commit ON TRANSACTION COMMIT AS
BEGIN
  IF (RDB$GET_CONTEXT('USER_TRANSACTION', 'REFUSE_COMMIT') = '1') THEN
    EXCEPTION commit_refused;
END^
SET TERM ; ^
COMMIT;
)";

// Runs isql-fb on a script; its output goes to the test log unless quiet.
inline int RunIsql(const std::string& script, const std::string& database = {},
                   bool quiet = false)
{
    const std::string file = testing::TempDir() + "print-fixture.sql";
    std::ofstream(file, std::ios::binary) << script;
    std::string command = "isql-fb -q -bail -user " + kUser + " -password " + kPassword;
    if (!database.empty())
        command += " '" + database + "'";
    command += " -i '" + file + "'" + (quiet ? " >/dev/null 2>&1" : " 2>&1");
    const int status = std::system(command.c_str());
    std::remove(file.c_str());
    return status;
}

// Drops the database (if it is there) and makes it again with the schema.
inline void MakePrintDatabase(const std::string& database)
{
    RunIsql("DROP DATABASE;\n", database, true);  // fails harmlessly when missing
    ASSERT_EQ(RunIsql("CREATE DATABASE '" + database + "' USER '" + kUser + "' PASSWORD '" +
                      kPassword + "' DEFAULT CHARACTER SET ISO8859_1;\n"),
              0)
        << database << " (its alias comes with bash scripts/env/firebird-server.sh start)";
    // The default character set holds from the next attachment on.
    ASSERT_EQ(RunIsql(kPrintDatabaseSchema, database), 0) << database;
}

// The rows of PRT_Params, ordered by name.
struct PrintRow {
    std::string pname, d_text, f_text, i_text, compat, print_params;
    friend bool operator==(const PrintRow&, const PrintRow&) = default;
};

inline void PrintTo(const PrintRow& r, std::ostream* os)
{
    *os << "{" << r.pname << " | " << r.d_text << " | " << r.f_text << " | " << r.i_text << " | "
        << r.compat << " | " << r.print_params << "}";
}

inline std::vector<PrintRow> PrintRows(FixtureSql& sql)
{
    std::vector<PrintRow> rows;
    const char* const columns[] = {"pname", "d_text", "f_text", "i_text", "compat",
                                   "print_params"};
    std::vector<std::vector<SqlValue>> values;
    for (const char* column : columns)
        values.push_back(sql.Column(std::string("SELECT ") + column +
                                    " FROM PRT_Params ORDER BY pname"));
    for (std::size_t i = 0; i < values[0].size(); ++i)
        rows.push_back({values[0][i].AsString(), values[1][i].AsString(), values[2][i].AsString(),
                        values[3][i].AsString(), values[4][i].AsString(),
                        values[5][i].AsString()});
    return rows;
}

}  // namespace qv::test
