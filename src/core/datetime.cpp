#include "core/datetime.hpp"

#include <array>
#include <cstdio>
#include <iterator>

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
// Writes `value` (below 10^digits) as exactly `digits` decimal digits.
char* put_digits(char* at, uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return at + digits;
}

std::string format_with_suffix(const UtcDateTime& t, const char* suffix) {
    char buf[64];
    const bool two_digit_fields =
        t.month < 100 && t.day < 100 && t.hour < 100 && t.minute < 100 && t.second < 100;
    if (t.year >= 0 && t.year <= 9999 && two_digit_fields) {
        // The common case, written digit by digit: a dasha tree alone has 1,638 bounds.
        char* at = put_digits(buf, static_cast<uint32_t>(t.year), 4);
        *at++ = '-';
        at = put_digits(at, t.month, 2);
        *at++ = '-';
        at = put_digits(at, t.day, 2);
        *at++ = 'T';
        at = put_digits(at, t.hour, 2);
        *at++ = ':';
        at = put_digits(at, t.minute, 2);
        *at++ = ':';
        at = put_digits(at, t.second, 2);
        for (const char* c = suffix; *c != '\0' && at < std::end(buf); ++c) *at++ = *c;
        return std::string(buf, static_cast<size_t>(at - buf));
    }
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

// Three numbers of 1 to widths[i] digits, one separator between each, and nothing else.
std::optional<std::array<uint64_t, 3>> take_three(std::string_view text,
                                                  std::array<size_t, 3> widths, char separator) {
    std::array<uint64_t, 3> numbers{};
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0 && !take_char(text, separator)) return std::nullopt;
        const auto number = take_digits(text, widths[i]);
        if (!number) return std::nullopt;
        numbers[i] = *number;
    }
    if (!text.empty()) return std::nullopt;
    return numbers;
}

}  // namespace

std::optional<CivilDate> parse_ymd(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto parts = take_three(text, {9, 2, 2}, '-');
    if (!parts) return std::nullopt;
    const auto [year, month, day] = *parts;
    const int64_t y = negative ? -static_cast<int64_t>(year) : static_cast<int64_t>(year);
    if (!is_valid_date(y, static_cast<uint32_t>(month), static_cast<uint32_t>(day))) {
        return std::nullopt;
    }
    return CivilDate{y, static_cast<uint32_t>(month), static_cast<uint32_t>(day)};
}

std::optional<ClockTime> parse_hms(std::string_view text) {
    const auto parts = take_three(text, {2, 2, 2}, ':');
    if (!parts) return std::nullopt;
    const auto [hour, minute, second] = *parts;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return ClockTime{static_cast<uint32_t>(hour), static_cast<uint32_t>(minute),
                     static_cast<uint32_t>(second)};
}

}  // namespace zk
