#pragma once
// Values exchanged with the database: statement parameters and the columns
// of a row. Text is Windows-1252 and travels as ISO8859_1, the connection's
// character set.
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>

namespace qv {

// A Firebird timestamp: days since 1858-11-17 and 1/10,000 s since midnight.
struct Timestamp {
    std::int32_t date = 0;
    std::uint32_t time = 0;

    static constexpr std::int64_t kTicksPerSecond = 10000;
    static constexpr std::int64_t kTicksPerDay = 86400 * kTicksPerSecond;

    std::int64_t Ticks() const { return date * kTicksPerDay + time; }
    static Timestamp FromTicks(std::int64_t ticks);
    static Timestamp FromCivil(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0, int tenThousandths = 0);
    // "YYYY-MM-DD HH:MM:SS.ffff"
    std::string Text() const;

    friend bool operator==(const Timestamp&, const Timestamp&) = default;
};

class SqlValue {
public:
    SqlValue() = default;  // NULL
    template <typename T,
              std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
    SqlValue(T v) : v_(static_cast<std::int64_t>(v)) {}
    SqlValue(double v) : v_(v) {}
    SqlValue(std::string v) : v_(std::move(v)) {}
    SqlValue(const char* v) : v_(std::string(v)) {}
    SqlValue(Timestamp v) : v_(v) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool IsFloat() const { return std::holds_alternative<double>(v_); }
    bool IsText() const { return std::holds_alternative<std::string>(v_); }
    bool IsTimestamp() const { return std::holds_alternative<Timestamp>(v_); }

    // Conversions as a dataset field gives them: NULL reads as "" or 0;
    // text that is no number raises qv::Error.
    std::string AsString() const;
    std::int64_t AsInt64() const;
    int AsInteger() const;
    double AsDouble() const;
    Timestamp AsTimestamp() const;

    friend bool operator==(const SqlValue&, const SqlValue&) = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string, Timestamp> v_;
};

}  // namespace qv
