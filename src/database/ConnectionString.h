#pragma once
// The forms of a Firebird connection string, and where a string names its
// server.
#include <string>

namespace qv {

enum class ConnectionKind {
    Other,      // relative path, server + alias, ...
    Local,      // "C:\..."
    Tcp,        // "server:C:\..." (and the empty string)
    NamedPipe,  // "\\server\C:\..."
    TcpUnix,    // "server:/path"
    Spx,        // "server@path"
};

// The form of a connection string.
ConnectionKind ConnectionKindOf(const std::string& connection);

// The server and path parts of a local, TCP or named-pipe string. Raises
// "error 0203130939" for the forms that cannot be split.
void SplitConnectionString(const std::string& connection, std::string& server, std::string& path);

}  // namespace qv
