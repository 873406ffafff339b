#include "database/SqlValue.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "core/Errors.h"

namespace qv {

namespace {

// Days from 1858-11-17 (Firebird's day 0) to a civil date, and back.
std::int64_t DaysFromCivil(int y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;  // days since 1970-01-01
}
constexpr std::int64_t kEpochShift = 40587;  // 1970-01-01 is day 40587 after 1858-11-17

void CivilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

}  // namespace

Timestamp Timestamp::FromTicks(std::int64_t ticks)
{
    std::int64_t date = ticks / kTicksPerDay;
    std::int64_t time = ticks % kTicksPerDay;
    if (time < 0) {
        time += kTicksPerDay;
        --date;
    }
    return {static_cast<std::int32_t>(date), static_cast<std::uint32_t>(time)};
}

Timestamp Timestamp::FromCivil(int year, int month, int day, int hour, int minute, int second,
                               int tenThousandths)
{
    Timestamp t;
    t.date = static_cast<std::int32_t>(DaysFromCivil(year, month, day) + kEpochShift);
    t.time = static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * kTicksPerSecond +
                                        tenThousandths);
    return t;
}

std::string Timestamp::Text() const
{
    int y;
    unsigned m, d;
    CivilFromDays(date - kEpochShift, y, m, d);
    unsigned s = time / kTicksPerSecond;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02u:%02u:%02u.%04u", y, m, d, s / 3600,
                  s / 60 % 60, s % 60, static_cast<unsigned>(time % kTicksPerSecond));
    return buf;
}

std::string SqlValue::AsString() const
{
    if (auto s = std::get_if<std::string>(&v_))
        return *s;
    if (auto i = std::get_if<std::int64_t>(&v_))
        return std::to_string(*i);
    if (auto f = std::get_if<double>(&v_)) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", *f);
        return buf;
    }
    if (auto t = std::get_if<Timestamp>(&v_))
        return t->Text();
    return {};
}

std::int64_t SqlValue::AsInt64() const
{
    if (auto i = std::get_if<std::int64_t>(&v_))
        return *i;
    if (auto f = std::get_if<double>(&v_))
        return static_cast<std::int64_t>(*f < 0 ? *f - 0.5 : *f + 0.5);
    if (auto s = std::get_if<std::string>(&v_)) {
        std::string_view text = *s;
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        std::int64_t v = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size())
            throw Error("'" + *s + "' is not a valid integer value");
        return v;
    }
    if (std::holds_alternative<Timestamp>(v_))
        throw Error("Timestamp value cannot be read as an integer");
    return 0;
}

int SqlValue::AsInteger() const
{
    std::int64_t v = AsInt64();
    if (v < INT32_MIN || v > INT32_MAX)
        throw Error("'" + std::to_string(v) + "' is not a valid integer value");
    return static_cast<int>(v);
}

double SqlValue::AsDouble() const
{
    if (auto f = std::get_if<double>(&v_))
        return *f;
    if (auto i = std::get_if<std::int64_t>(&v_))
        return static_cast<double>(*i);
    if (auto s = std::get_if<std::string>(&v_)) {
        char* end = nullptr;
        double v = std::strtod(s->c_str(), &end);
        if (s->empty() || *end != '\0')
            throw Error("'" + *s + "' is not a valid floating point value");
        return v;
    }
    if (std::holds_alternative<Timestamp>(v_))
        throw Error("Timestamp value cannot be read as a number");
    return 0;
}

Timestamp SqlValue::AsTimestamp() const
{
    if (auto t = std::get_if<Timestamp>(&v_))
        return *t;
    if (IsNull())
        return {};
    throw Error("'" + AsString() + "' is not a valid date and time");
}

}  // namespace qv
