#pragma once
// The forms of a Firebird connection string, and where a string names its
// server.
#include <string>

namespace qv {

enum ConnectionKind : int {
    ckOther = 0,      // relative path, server + alias, ...
    ckLocal = 1,      // "C:\..."
    ckTcp = 2,        // "server:C:\..." (and the empty string)
    ckNamedPipe = 3,  // "\\server\C:\..."
    ckTcpUnix = 4,    // "server:/path"
    ckSpx = 5,        // "server@path"
};

// The connection-string operations of the database connection dialog. The
// program never shows that dialog: only these two class operations exist.
class TdlgConnection {
public:
    static qv::ConnectionKind ConnectionKind(const std::string& connection);
    // Raises "error 0203130939" for the forms that cannot be split.
    static void SplitConnectionString(const std::string& connection, std::string& server,
                                      std::string& path);
};

}  // namespace qv
