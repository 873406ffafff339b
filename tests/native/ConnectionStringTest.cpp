#include <gtest/gtest.h>

#include <string>

#include "core/Errors.h"
#include "database/ConnectionString.h"
#include "database/ProductDatabase.h"

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
        {R"(C:\QUORVEX\DB\TVP.FDB)", ConnectionKind::Local, "", R"(C:\QUORVEX\DB\TVP.FDB)", "service_mgr"},
        {R"(srv:C:\DB\TVP.FDB)", ConnectionKind::Tcp, "srv", R"(C:\DB\TVP.FDB)", "srv:service_mgr"},
        {R"(a.long.server.name:D:\X.FDB)", ConnectionKind::Tcp, "a.long.server.name", R"(D:\X.FDB)",
         "a.long.server.name:service_mgr"},
        {"", ConnectionKind::Tcp, "", "", ":service_mgr"},
        {R"(\\srv\C:\DB\TVP.FDB)", ConnectionKind::NamedPipe, R"(\\srv)", R"(C:\DB\TVP.FDB)", ""},
        // nothing after the server: the server is "\\" and the rest the path
        {R"(\\srv)", ConnectionKind::NamedPipe, R"(\\)", "srv", ""},
        {R"(\\)", ConnectionKind::NamedPipe, R"(\\)", "", ""},
        // "\\" further on wins over the local form
        {R"(C:\DB\\TVP.FDB)", ConnectionKind::NamedPipe, R"(\\)", R"(DB\\TVP.FDB)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ConnectionKindOf(c.text), c.kind);
        EXPECT_EQ(ProductDatabase::ServiceManagerName(c.text), c.serviceManager);
        std::string server = "x", path = "x";
        SplitConnectionString(c.text, server, path);
        EXPECT_EQ(server, c.server);
        EXPECT_EQ(path, c.path);
    }
}

TEST(ConnectionString, FormsThatCannotBeSplit)
{
    const std::pair<std::string, ConnectionKind> cases[] = {
        {"srv:alias", ConnectionKind::Other},
        {"relative\\TVP.FDB", ConnectionKind::Other},
        {"srv:/var/db/tvp.fdb", ConnectionKind::TcpUnix},
        {"srv@C:\\DB\\TVP.FDB", ConnectionKind::Spx},
        {"srv@x:/y", ConnectionKind::TcpUnix},  // ":/" is looked for first
    };
    for (const auto& [text, kind] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ConnectionKindOf(text), kind);
        EXPECT_EQ(ProductDatabase::ServiceManagerName(text), "");
        std::string server, path;
        try {
            SplitConnectionString(text, server, path);
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
    SplitConnectionString("srv:" + longPath, server, path);
    EXPECT_EQ(path, longPath.substr(0, 255));
    SplitConnectionString(longPath, server, path);
    EXPECT_EQ(path, longPath);
}

}  // namespace
}  // namespace qv
