#include "database/NamedParams.h"

#include "core/Text.h"

namespace qv {

namespace {
bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '$';
}
}  // namespace

ParsedStatement ParseNamedParams(std::string_view sql)
{
    ParsedStatement out;
    size_t i = 0;
    const size_t n = sql.size();
    while (i < n) {
        char c = sql[i];
        if (c == '\'' || c == '"') {  // literal or quoted name: copied whole
            size_t end = i + 1;
            while (end < n && sql[end] != c)
                ++end;
            end = end < n ? end + 1 : n;
            out.sql.append(sql.substr(i, end - i));
            i = end;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            size_t end = sql.find('\n', i);
            end = end == std::string_view::npos ? n : end;
            out.sql.append(sql.substr(i, end - i));
            i = end;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            size_t end = sql.find("*/", i + 2);
            end = end == std::string_view::npos ? n : end + 2;
            out.sql.append(sql.substr(i, end - i));
            i = end;
        } else if (c == ':' && i + 1 < n && IsNameChar(sql[i + 1])) {
            size_t end = i + 1;
            while (end < n && IsNameChar(sql[end]))
                ++end;
            out.names.push_back(UpperAscii(sql.substr(i + 1, end - i - 1)));
            out.sql += '?';
            i = end;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

}  // namespace qv
