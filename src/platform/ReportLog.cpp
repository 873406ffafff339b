#include "platform/ReportLog.h"

#include "core/Text.h"

namespace qv {

std::string ReportLogBytes(std::string_view text)
{
    std::string lines;
    lines.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines += "\r\n";
        } else {
            lines += text[i];
        }
    }
    return Cp1252ToUtf8(lines) + "\r\n";
}

}  // namespace qv
