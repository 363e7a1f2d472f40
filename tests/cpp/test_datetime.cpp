// UTC civil date-times: validity, day counts, unix seconds, weekdays, text forms, parsers.
#include <gtest/gtest.h>

#include <random>

#include "core/datetime.hpp"

namespace zk {
namespace {

TEST(CivilCalendar, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(is_leap_year(2000));
    EXPECT_TRUE(is_leap_year(2024));
    EXPECT_FALSE(is_leap_year(1900));
    EXPECT_FALSE(is_leap_year(2023));
    EXPECT_TRUE(is_leap_year(0));
    EXPECT_TRUE(is_leap_year(-4));
    EXPECT_FALSE(is_leap_year(-100));
    EXPECT_TRUE(is_leap_year(-400));
    EXPECT_EQ(days_in_month(2024, 2), 29u);
    EXPECT_EQ(days_in_month(2023, 2), 28u);
    EXPECT_EQ(days_in_month(2023, 4), 30u);
    EXPECT_EQ(days_in_month(2023, 12), 31u);
    EXPECT_EQ(days_in_month(2023, 0), 0u);
    EXPECT_EQ(days_in_month(2023, 13), 0u);
}

TEST(CivilCalendar, ValidityAndRange) {
    EXPECT_TRUE(is_valid_date(2024, 2, 29));
    EXPECT_FALSE(is_valid_date(2023, 2, 29));
    EXPECT_FALSE(is_valid_date(2024, 13, 1));
    EXPECT_FALSE(is_valid_date(2024, 1, 0));
    EXPECT_FALSE(is_valid_date(2024, 4, 31));
    EXPECT_TRUE(is_valid_date(kMinYear, 1, 1));
    EXPECT_TRUE(is_valid_date(kMaxYear, 12, 31));
    EXPECT_FALSE(is_valid_date(int64_t{kMinYear} - 1, 12, 31));
    EXPECT_FALSE(is_valid_date(int64_t{kMaxYear} + 1, 1, 1));
    EXPECT_FALSE(is_valid_date(INT64_MAX, 1, 1));

    EXPECT_TRUE(make_utc(2024, 2, 29, 23, 59, 59).has_value());
    EXPECT_FALSE(make_utc(2024, 2, 29, 24, 0, 0).has_value());
    EXPECT_FALSE(make_utc(2024, 2, 29, 12, 60, 0).has_value());
    EXPECT_FALSE(make_utc(2024, 2, 29, 12, 0, 60).has_value());  // no leap second
    EXPECT_FALSE(make_utc(2023, 2, 29, 0, 0, 0).has_value());
}

TEST(CivilCalendar, KnownDayNumbersAndWeekdays) {
    EXPECT_EQ(days_from_civil(1970, 1, 1), 0);
    EXPECT_EQ(days_from_civil(2000, 3, 1), 11017);
    EXPECT_EQ(days_from_civil(1969, 12, 31), -1);
    EXPECT_EQ(days_from_civil(0, 3, 1), -719468);
    EXPECT_EQ(weekday(1970, 1, 1), 4u);   // Thursday
    EXPECT_EQ(weekday(2000, 1, 1), 6u);   // Saturday
    EXPECT_EQ(weekday(2024, 3, 10), 0u);  // Sunday
    EXPECT_EQ(weekday(1582, 10, 15), 5u); // first Gregorian day, a Friday
    EXPECT_EQ(weekday(-1, 12, 31), 5u);   // the day before 0000-01-01 (a Saturday)
}

TEST(CivilCalendar, RandomRoundTripsOverTheWholeRange) {
    std::mt19937_64 rng(20240101);
    const int64_t first = days_from_civil(kMinYear, 1, 1);
    const int64_t last = days_from_civil(kMaxYear, 12, 31);
    std::uniform_int_distribution<int64_t> any_day(first, last);
    std::uniform_int_distribution<int64_t> any_second(0, 86399);
    for (int i = 0; i < 20000; ++i) {
        const int64_t days = any_day(rng);
        int64_t y;
        uint32_t m, d;
        civil_from_days(days, y, m, d);
        ASSERT_TRUE(is_valid_date(y, m, d)) << days;
        ASSERT_EQ(days_from_civil(y, m, d), days);
        // Consecutive days advance the weekday by one.
        int64_t next_y;
        uint32_t next_m, next_d;
        civil_from_days(days + 1, next_y, next_m, next_d);
        EXPECT_EQ((weekday(y, m, d) + 1) % 7, weekday(next_y, next_m, next_d)) << days;

        const int64_t unix = days * 86400 + any_second(rng);
        auto t = from_unix_seconds(unix);
        ASSERT_TRUE(t.has_value()) << unix;
        EXPECT_EQ(to_unix_seconds(*t), unix);
        EXPECT_EQ(make_utc(t->year, t->month, t->day, t->hour, t->minute, t->second), *t);
    }
}

TEST(CivilCalendar, UnixSecondsAtTheEdges) {
    EXPECT_EQ(to_unix_seconds(*make_utc(1970, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(to_unix_seconds(*make_utc(1969, 12, 31, 23, 59, 59)), -1);
    EXPECT_EQ(from_unix_seconds(-1), make_utc(1969, 12, 31, 23, 59, 59));
    EXPECT_EQ(from_unix_seconds(951782400), make_utc(2000, 2, 29, 0, 0, 0));
    const int64_t last = to_unix_seconds(*make_utc(kMaxYear, 12, 31, 23, 59, 59));
    EXPECT_TRUE(from_unix_seconds(last).has_value());
    EXPECT_FALSE(from_unix_seconds(last + 1).has_value());
    const int64_t first = to_unix_seconds(*make_utc(kMinYear, 1, 1, 0, 0, 0));
    EXPECT_TRUE(from_unix_seconds(first).has_value());
    EXPECT_FALSE(from_unix_seconds(first - 1).has_value());
    EXPECT_FALSE(from_unix_seconds(INT64_MAX).has_value());
    EXPECT_FALSE(from_unix_seconds(INT64_MIN).has_value());
}

TEST(TextForms, Rfc3339AndNaive) {
    const UtcDateTime t = *make_utc(2024, 1, 15, 6, 30, 0);
    EXPECT_EQ(format_rfc3339_utc(t), "2024-01-15T06:30:00+00:00");
    EXPECT_EQ(format_rfc3339_z(t), "2024-01-15T06:30:00Z");
    EXPECT_EQ(format_iso_naive(t), "2024-01-15T06:30:00");
    EXPECT_EQ(format_rfc3339_z(*make_utc(5, 3, 4, 1, 2, 3)), "0005-03-04T01:02:03Z");
    EXPECT_EQ(format_rfc3339_z(*make_utc(-44, 3, 15, 0, 0, 0)), "-0044-03-15T00:00:00Z");
    EXPECT_EQ(format_rfc3339_z(*make_utc(12345, 6, 7, 0, 0, 0)), "+12345-06-07T00:00:00Z");
    EXPECT_EQ(format_rfc3339_utc(*make_utc(kMinYear, 1, 1, 0, 0, 0)),
              "-262143-01-01T00:00:00+00:00");
}

TEST(Parsers, DatesAndClockTimes) {
    auto d = parse_ymd("1990-05-15");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->year, 1990);
    EXPECT_EQ(d->month, 5u);
    EXPECT_EQ(d->day, 15u);
    d = parse_ymd("2024-2-9");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->month, 2u);
    EXPECT_EQ(d->day, 9u);
    d = parse_ymd("-0044-03-15");
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->year, -44);
    for (const char* bad : {"", "2023-02-29", "2024-13-01", "2024-00-10", "2024/01/01",
                            "2024-01-01T", " 2024-01-01", "2024-01-001", "2024-01", "-", "+-1-1-1",
                            "999999999-01-01"}) {
        EXPECT_FALSE(parse_ymd(bad).has_value()) << bad;
    }

    auto t = parse_hms("10:15:00");
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->hour, 10u);
    EXPECT_EQ(t->minute, 15u);
    EXPECT_EQ(t->second, 0u);
    EXPECT_TRUE(parse_hms("0:0:0").has_value());
    EXPECT_TRUE(parse_hms("23:59:59").has_value());
    for (const char* bad : {"", "24:00:00", "12:60:00", "12:00:60", "12:00", "12:00:00.5",
                            "12:00:00 ", "-1:00:00", "123:00:00", "12::00"}) {
        EXPECT_FALSE(parse_hms(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace zk
