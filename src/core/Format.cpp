#include "core/Format.h"

namespace qv {

std::string FormatArg::Text() const
{
    if (const auto* s = std::get_if<std::string>(&value_))
        return *s;
    return std::to_string(std::get<long long>(value_));
}

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args)
{
    std::string out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        char spec = pattern[i + 1];
        if (spec == '%') {
            out += '%';
            ++i;
        } else if ((spec == 's' || spec == 'd') && next != args.end()) {
            out += next->Text();
            ++next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace qv
