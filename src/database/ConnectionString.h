#pragma once
// The forms of a Firebird connection string, and where a string names its
// server. Class-level operations of the connection dialog, which the
// wizard itself never opens.
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

class TdlgConnection {
public:
    static qv::ConnectionKind ConnectionKind(const std::string& connection);
    // Raises "error 0203130939" for the forms that cannot be split.
    static void SplitConnectionString(const std::string& connection, std::string& server,
                                      std::string& path);
};

}  // namespace qv
