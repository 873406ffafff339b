#pragma once
// Fills the message templates of the system's texts: %s takes a text, %d a
// whole number, %% stands for a percent sign. Arguments are used in order;
// a placeholder without an argument stays as it is, and any other sequence
// is copied unchanged.
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace qv {

class FormatArg {
public:
    FormatArg(const std::string& s) : value_(s) {}
    FormatArg(std::string_view s) : value_(std::string(s)) {}
    FormatArg(const char* s) : value_(std::string(s ? s : "")) {}
    FormatArg(int n) : value_(static_cast<long long>(n)) {}
    FormatArg(long n) : value_(static_cast<long long>(n)) {}
    FormatArg(long long n) : value_(n) {}
    FormatArg(unsigned n) : value_(static_cast<long long>(n)) {}
    FormatArg(unsigned long n) : value_(static_cast<long long>(n)) {}

    std::string Text() const;

private:
    std::variant<std::string, long long> value_;
};

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

}  // namespace qv
