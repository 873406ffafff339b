#include <gtest/gtest.h>

#include <string>

#include "core/Errors.h"
#include "database/ConnectionString.h"
#include "database/DBConnection.h"

namespace qv {
namespace {

struct SplitCase {
    std::string text;
    ConnectionKind kind;
    std::string server;
    std::string path;
    std::string serviceManager;  // where the version request goes; empty: not asked
};

TEST(ConnectionString, KindsSplitsAndServiceManagers)
{
    const SplitCase cases[] = {
        {R"(C:\QUORVEX\DB\TVP.FDB)", ckLocal, "", R"(C:\QUORVEX\DB\TVP.FDB)", "service_mgr"},
        {R"(srv:C:\DB\TVP.FDB)", ckTcp, "srv", R"(C:\DB\TVP.FDB)", "srv:service_mgr"},
        {R"(a.long.server.name:D:\X.FDB)", ckTcp, "a.long.server.name", R"(D:\X.FDB)",
         "a.long.server.name:service_mgr"},
        {"", ckTcp, "", "", ":service_mgr"},
        {R"(\\srv\C:\DB\TVP.FDB)", ckNamedPipe, R"(\\srv)", R"(C:\DB\TVP.FDB)", ""},
        // nothing after the server: the server is "\\" and the rest the path
        {R"(\\srv)", ckNamedPipe, R"(\\)", "srv", ""},
        {R"(\\)", ckNamedPipe, R"(\\)", "", ""},
        // "\\" further on wins over the local form
        {R"(C:\DB\\TVP.FDB)", ckNamedPipe, R"(\\)", R"(DB\\TVP.FDB)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TdlgConnection::ConnectionKind(c.text), c.kind);
        EXPECT_EQ(TdmDBConnection::ServiceManagerName(c.text), c.serviceManager);
        std::string server = "x", path = "x";
        TdlgConnection::SplitConnectionString(c.text, server, path);
        EXPECT_EQ(server, c.server);
        EXPECT_EQ(path, c.path);
    }
}

TEST(ConnectionString, FormsThatCannotBeSplit)
{
    const std::pair<std::string, ConnectionKind> cases[] = {
        {"srv:alias", ckOther},
        {"relative\\TVP.FDB", ckOther},
        {"srv:/var/db/tvp.fdb", ckTcpUnix},
        {"srv@C:\\DB\\TVP.FDB", ckSpx},
        {"srv@x:/y", ckTcpUnix},  // ":/" is looked for first
    };
    for (const auto& [text, kind] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(TdlgConnection::ConnectionKind(text), kind);
        EXPECT_EQ(TdmDBConnection::ServiceManagerName(text), "");
        std::string server, path;
        try {
            TdlgConnection::SplitConnectionString(text, server, path);
            ADD_FAILURE() << "split";
        } catch (const Error& e) {
            EXPECT_EQ(e.Message(), "error 0203130939");
        }
    }
}

TEST(ConnectionString, TcpPathIsCutTo255LocalPathIsWhole)
{
    const std::string longPath = "C:\\" + std::string(400, 'a');
    std::string server, path;
    TdlgConnection::SplitConnectionString("srv:" + longPath, server, path);
    EXPECT_EQ(path, longPath.substr(0, 255));
    TdlgConnection::SplitConnectionString(longPath, server, path);
    EXPECT_EQ(path, longPath);
}

}  // namespace
}  // namespace qv
