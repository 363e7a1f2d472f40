// UTC civil date-times with whole seconds, on the proleptic Gregorian calendar, and Unix
// seconds. Errors: a date, time or instant that does not exist or lies outside the
// representable years gives no value (std::nullopt); nothing throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// Years outside this range are not representable as dates.
inline constexpr int32_t kMinYear = -262143;
inline constexpr int32_t kMaxYear = 262142;

struct UtcDateTime {
    int32_t year = 1970;
    uint32_t month = 1;   // 1..12
    uint32_t day = 1;     // 1..31
    uint32_t hour = 0;    // 0..23
    uint32_t minute = 0;  // 0..59
    uint32_t second = 0;  // 0..59

    friend bool operator==(const UtcDateTime&, const UtcDateTime&) = default;
    friend auto operator<=>(const UtcDateTime&, const UtcDateTime&) = default;
};

bool is_leap_year(int64_t year);
uint32_t days_in_month(int64_t year, uint32_t month);
// True when the date exists and the year is representable.
bool is_valid_date(int64_t year, uint32_t month, uint32_t day);

// Builds a date-time when the date exists and hour <= 23, minute <= 59, second <= 59.
std::optional<UtcDateTime> make_utc(int64_t year, uint32_t month, uint32_t day, uint32_t hour,
                                    uint32_t minute, uint32_t second);

// Days since 1970-01-01 of a civil date, and back.
int64_t days_from_civil(int64_t year, uint32_t month, uint32_t day);
void civil_from_days(int64_t days, int64_t& year, uint32_t& month, uint32_t& day);

// Seconds since 1970-01-01T00:00:00Z.
int64_t to_unix_seconds(const UtcDateTime& t);
// Fails when the instant falls outside the representable years.
std::optional<UtcDateTime> from_unix_seconds(int64_t seconds);

// Weekday of a civil date, 0 = Sunday ... 6 = Saturday.
unsigned weekday(int64_t year, uint32_t month, uint32_t day);

// 2024-01-15T06:30:00+00:00
std::string format_rfc3339_utc(const UtcDateTime& t);
// 2024-01-15T06:30:00Z
std::string format_rfc3339_z(const UtcDateTime& t);
// 2024-01-15T06:30:00 (no offset)
std::string format_iso_naive(const UtcDateTime& t);

}  // namespace zk

namespace zk {

// "%Y-%m-%d": an optionally signed year, month and day of one or two digits; the date
// must exist.
struct CivilDate {
    int64_t year;
    uint32_t month;
    uint32_t day;
};
std::optional<CivilDate> parse_ymd(std::string_view text);

// "%H:%M:%S": one or two digits each, seconds required; hour <= 23, minute and second <= 59.
struct ClockTime {
    uint32_t hour;
    uint32_t minute;
    uint32_t second;
};
std::optional<ClockTime> parse_hms(std::string_view text);

}  // namespace zk
