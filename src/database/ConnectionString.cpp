#include "database/ConnectionString.h"

#include "core/Errors.h"

namespace qv {

namespace {
constexpr size_t kMaxPath = 255;
}

ConnectionKind ConnectionKindOf(const std::string& s)
{
    if (s.empty())
        return ConnectionKind::Tcp;
    if (s.find(":/") != std::string::npos)
        return ConnectionKind::TcpUnix;
    if (s.find("\\\\") != std::string::npos)
        return ConnectionKind::NamedPipe;
    if (s.find('@') != std::string::npos)
        return ConnectionKind::Spx;
    const size_t p = s.find(':');
    const size_t q = s.find(":\\");
    if (p != std::string::npos && q != std::string::npos && q - p == 2)
        return ConnectionKind::Tcp;
    if (q == 1)
        return ConnectionKind::Local;
    return ConnectionKind::Other;
}

void SplitConnectionString(const std::string& s, std::string& server, std::string& path)
{
    switch (ConnectionKindOf(s)) {
    case ConnectionKind::Local:
        server.clear();
        path = s;
        return;
    case ConnectionKind::Tcp: {
        const size_t p = s.find(':');
        if (p == std::string::npos) {  // the empty string
            server.clear();
            path.clear();
            return;
        }
        server = s.substr(0, p);
        path = s.substr(p + 1, kMaxPath);
        return;
    }
    case ConnectionKind::NamedPipe: {
        const std::string t = s.size() > 2 ? s.substr(2, kMaxPath) : std::string();
        // Without a backslash after the server the server part is empty and
        // all of t is the path.
        const size_t slash = t.find('\\');
        if (slash == std::string::npos) {
            server = "\\\\";
            path = t;
            return;
        }
        server = "\\\\" + t.substr(0, slash);
        path = t.substr(slash + 1, kMaxPath);
        return;
    }
    default:
        throw Error("error 0203130939");
    }
}

}  // namespace qv
