#pragma once
// Statements are written with named parameters (":p0", ":pname"); the
// server knows only positional markers. The parse replaces every name by
// "?" and keeps the names in order. Text in quotes and comments is left
// alone.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct ParsedStatement {
    std::string sql;                 // with "?" markers
    std::vector<std::string> names;  // one per marker, upper-cased
};

ParsedStatement ParseNamedParams(std::string_view sql);

}  // namespace qv
