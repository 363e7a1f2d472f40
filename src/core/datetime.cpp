#include "core/datetime.hpp"

#include <array>
#include <cstdio>

namespace zk {

bool is_leap_year(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

uint32_t days_in_month(int64_t year, uint32_t month) {
    static constexpr uint32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && is_leap_year(year)) return 29;
    return kDays[month - 1];
}

bool is_valid_date(int64_t year, uint32_t month, uint32_t day) {
    return year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= days_in_month(year, month);
}

std::optional<UtcDateTime> make_utc(int64_t year, uint32_t month, uint32_t day, uint32_t hour,
                                    uint32_t minute, uint32_t second) {
    if (!is_valid_date(year, month, day) || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return UtcDateTime{static_cast<int32_t>(year), month, day, hour, minute, second};
}

// Howard Hinnant's civil-calendar algorithms.
int64_t days_from_civil(int64_t y, uint32_t m, uint32_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(int64_t z, int64_t& year, uint32_t& month, uint32_t& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<uint32_t>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<uint32_t>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2);
}

int64_t to_unix_seconds(const UtcDateTime& t) {
    return days_from_civil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 +
           t.second;
}

std::optional<UtcDateTime> from_unix_seconds(int64_t seconds) {
    int64_t days = seconds / 86400;
    int64_t rem = seconds % 86400;
    if (rem < 0) {
        rem += 86400;
        days -= 1;
    }
    int64_t year;
    uint32_t month, day;
    civil_from_days(days, year, month, day);
    if (year < kMinYear || year > kMaxYear) return std::nullopt;
    return UtcDateTime{static_cast<int32_t>(year),
                       month,
                       day,
                       static_cast<uint32_t>(rem / 3600),
                       static_cast<uint32_t>(rem % 3600 / 60),
                       static_cast<uint32_t>(rem % 60)};
}

unsigned weekday(int64_t year, uint32_t month, uint32_t day) {
    const int64_t days = days_from_civil(year, month, day);  // 1970-01-01 was a Thursday
    int64_t w = (days + 4) % 7;
    if (w < 0) w += 7;
    return static_cast<unsigned>(w);
}

namespace {
std::string format_with_suffix(const UtcDateTime& t, const char* suffix) {
    char buf[64];
    // Years beyond four digits or before year 0 keep their sign and all digits.
    if (t.year >= 0 && t.year <= 9999) {
        std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02u:%02u:%02u%s", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, suffix);
    } else {
        std::snprintf(buf, sizeof buf, "%+05d-%02u-%02uT%02u:%02u:%02u%s", t.year, t.month, t.day,
                      t.hour, t.minute, t.second, suffix);
    }
    return buf;
}
}  // namespace

std::string format_rfc3339_utc(const UtcDateTime& t) {
    return format_with_suffix(t, "+00:00");
}
std::string format_rfc3339_z(const UtcDateTime& t) {
    return format_with_suffix(t, "Z");
}
std::string format_iso_naive(const UtcDateTime& t) {
    return format_with_suffix(t, "");
}

}  // namespace zk

namespace zk {
namespace {

// Reads 1..max_digits decimal digits from the front of `text`.
std::optional<uint64_t> take_digits(std::string_view& text, size_t max_digits) {
    size_t n = 0;
    uint64_t value = 0;
    while (n < text.size() && n < max_digits && text[n] >= '0' && text[n] <= '9') {
        value = value * 10 + static_cast<uint64_t>(text[n] - '0');
        ++n;
    }
    if (n == 0) return std::nullopt;
    text.remove_prefix(n);
    return value;
}

bool take_char(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

// Three numbers joined by `separator` and nothing after them: the first of 1..first_digits
// digits, the others of one or two.
std::optional<std::array<uint64_t, 3>> take_triple(std::string_view text, size_t first_digits,
                                                   char separator) {
    std::array<uint64_t, 3> parts{};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 && !take_char(text, separator)) return std::nullopt;
        const auto part = take_digits(text, i == 0 ? first_digits : 2);
        if (!part) return std::nullopt;
        parts[i] = *part;
    }
    if (!text.empty()) return std::nullopt;
    return parts;
}

}  // namespace

std::optional<CivilDate> parse_ymd(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto parts = take_triple(text, 9, '-');
    if (!parts) return std::nullopt;
    const int64_t magnitude = static_cast<int64_t>((*parts)[0]);
    const CivilDate date{negative ? -magnitude : magnitude, static_cast<uint32_t>((*parts)[1]),
                         static_cast<uint32_t>((*parts)[2])};
    if (!is_valid_date(date.year, date.month, date.day)) return std::nullopt;
    return date;
}

std::optional<ClockTime> parse_hms(std::string_view text) {
    const auto parts = take_triple(text, 2, ':');
    if (!parts) return std::nullopt;
    const ClockTime clock{static_cast<uint32_t>((*parts)[0]), static_cast<uint32_t>((*parts)[1]),
                          static_cast<uint32_t>((*parts)[2])};
    if (clock.hour > 23 || clock.minute > 59 || clock.second > 59) return std::nullopt;
    return clock;
}

}  // namespace zk
