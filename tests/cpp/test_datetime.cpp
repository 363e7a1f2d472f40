// UTC civil date-times: validity, day counts, unix seconds, weekdays, text forms, parsers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/datetime.hpp"

namespace zk {
namespace {

TEST(CivilCalendar, LeapYearsValidityAndRange) {
    EXPECT_TRUE(is_leap_year(2000) && is_leap_year(0) && is_leap_year(-400));
    EXPECT_FALSE(is_leap_year(1900) || is_leap_year(-100));
    EXPECT_TRUE(make_utc(2024, 2, 29, 23, 59, 59).has_value());
    EXPECT_FALSE(make_utc(2023, 2, 29, 0, 0, 0).has_value());
    EXPECT_FALSE(make_utc(2024, 2, 29, 12, 0, 60).has_value());  // no leap second
    EXPECT_FALSE(is_valid_date(int64_t{kMaxYear} + 1, 1, 1));
    EXPECT_EQ(days_from_civil(2000, 3, 1), 11017);
    EXPECT_EQ(weekday(1582, 10, 15), 5u);  // first Gregorian day, a Friday
    const int64_t last = to_unix_seconds(*make_utc(kMaxYear, 12, 31, 23, 59, 59));
    EXPECT_FALSE(from_unix_seconds(last + 1).has_value());
    const int64_t first = to_unix_seconds(*make_utc(kMinYear, 1, 1, 0, 0, 0));
    EXPECT_FALSE(from_unix_seconds(first - 1).has_value());
    EXPECT_FALSE(from_unix_seconds(INT64_MIN).has_value());
}

TEST(CivilCalendar, RandomRoundTripsOverTheWholeRange) {
    std::mt19937_64 rng(20240101);
    std::uniform_int_distribution<int64_t> any_day(days_from_civil(kMinYear, 1, 1),
                                                   days_from_civil(kMaxYear, 12, 31));
    std::uniform_int_distribution<int64_t> any_second(0, 86399);
    for (int i = 0; i < 20000; ++i) {
        const int64_t days = any_day(rng);
        int64_t y, next_y;
        uint32_t m, d, next_m, next_d;
        civil_from_days(days, y, m, d);
        ASSERT_TRUE(is_valid_date(y, m, d)) << days;
        ASSERT_EQ(days_from_civil(y, m, d), days);
        civil_from_days(days + 1, next_y, next_m, next_d);
        EXPECT_EQ((weekday(y, m, d) + 1) % 7, weekday(next_y, next_m, next_d)) << days;
        const int64_t unix = days * 86400 + any_second(rng);
        auto t = from_unix_seconds(unix);
        ASSERT_TRUE(t.has_value()) << unix;
        EXPECT_EQ(to_unix_seconds(*t), unix);
        EXPECT_EQ(make_utc(t->year, t->month, t->day, t->hour, t->minute, t->second), *t);
    }
}

TEST(TextForms, InstantsWrittenAsPrintfWouldWriteThem) {
    // Every year from 0 to 9999 with changing fields, the four-digit edges, and fields too
    // wide for two digits (which no valid instant has) all read as "%04d-%02u-..." gives.
    std::vector<UtcDateTime> times;
    for (int32_t y = -1; y <= 10000; ++y) {
        const auto u = static_cast<uint32_t>(y);
        times.push_back({y, u % 12 + 1, u % 31 + 1, u % 24, u % 60, (u * 7) % 60});
    }
    times.push_back({2024, 100, 7, 8, 9, 10});
    times.push_back({2024, 12, 31, 23, 59, 123});
    char expected[64];
    for (const UtcDateTime& t : times) {
        const char* form = t.year >= 0 && t.year <= 9999 ? "%04d-%02u-%02uT%02u:%02u:%02u%s"
                                                         : "%+05d-%02u-%02uT%02u:%02u:%02u%s";
        std::snprintf(expected, sizeof expected, form, t.year, t.month, t.day, t.hour, t.minute,
                      t.second, "+00:00");
        ASSERT_EQ(format_rfc3339_utc(t), expected);
        expected[std::strlen(expected) - 6] = '\0';
        ASSERT_EQ(format_iso_naive(t), expected);
        ASSERT_EQ(format_rfc3339_z(t), std::string(expected) + "Z");
    }
}

TEST(TextForms, FormatsAndParsers) {
    EXPECT_EQ(format_rfc3339_utc(*make_utc(2024, 1, 15, 6, 30, 0)), "2024-01-15T06:30:00+00:00");
    EXPECT_EQ(format_rfc3339_z(*make_utc(-44, 3, 15, 0, 0, 0)), "-0044-03-15T00:00:00Z");
    EXPECT_EQ(format_rfc3339_z(*make_utc(12345, 6, 7, 0, 0, 0)), "+12345-06-07T00:00:00Z");
    EXPECT_EQ(parse_ymd("-0044-03-15")->year, -44);
    EXPECT_EQ(parse_ymd("2024-2-9")->day, 9u);
    EXPECT_EQ(parse_ymd("+7-1-2")->month, 1u);
    for (const char* bad : {"", "2023-02-29", "2024/01/01", " 2024-01-01", "2024-01", "+-1-1-1",
                            "999999999-01-01", "1234567890-01-01", "2024-01-001", "2024-01-01-"}) {
        EXPECT_FALSE(parse_ymd(bad).has_value()) << bad;
    }
    EXPECT_EQ(parse_hms("10:15:07")->second, 7u);
    EXPECT_EQ(parse_hms("1:2:3")->minute, 2u);
    for (const char* bad : {"", "24:00:00", "12:00:60", "12:00", "12:00:00.5", "-1:00:00",
                            "12:00:00:00", "12-00-00"}) {
        EXPECT_FALSE(parse_hms(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace zk
