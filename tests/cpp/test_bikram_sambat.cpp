#include <gtest/gtest.h>

#include <numeric>

#include "calendars/bikram_sambat.hpp"

namespace zk {
namespace {

// Days in each BS year 2000..2100 as published beside the month lengths; the sums of the
// embedded month table must reproduce them.
constexpr uint32_t kDaysInYear[101] = {
    365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365,
    365, 365, 366, 365, 365, 365, 366, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365,
    366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366,
    365, 365, 365, 366, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365,
    365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365,
    366, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 364, 366, 366, 365, 365};

TEST(BikramSambatTable, YearTotalsMatchPublishedLengths) {
    const CalendarData& data = calendar_data();
    ASSERT_EQ(data.size(), 101u);
    for (int32_t year = 2000; year <= 2100; ++year) {
        const auto found = data.find(year);
        ASSERT_NE(found, data.end()) << year;
        ASSERT_EQ(found->second.size(), 12u) << year;
        for (uint32_t length : found->second) {
            EXPECT_TRUE(length >= 29 && length <= 32) << year;
        }
        EXPECT_EQ(std::accumulate(found->second.begin(), found->second.end(), 0u),
                  kDaysInYear[year - 2000])
            << year;
    }
}

TEST(BikramSambatTable, LoadingSkipsWhatIsNotAYearOfTwelveMonths) {
    const auto data = parse_calendar_data(R"({
        "$schema": "https://example.org/schema.json",
        "description": "months",
        "2000": [30, 32, 31, 32, 31, 30, 30, 30, 29, 30, 29, 31],
        "-5": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12],
        "+7": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12],
        "2001": [31, "x", 31, 32, 31, 31, 30, 29, 30, 29, 30, 30, -1, 2.5, 30],
        "2002": [31, 31, 32],
        "2003": {"a": 1},
        "20x4": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12],
        "99999999999": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12],
        " 2005": [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]
    })");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->size(), 4u);
    EXPECT_TRUE(data->contains(2000));
    EXPECT_TRUE(data->contains(-5));
    EXPECT_TRUE(data->contains(7));
    // Non-integers and negatives are dropped, leaving exactly twelve lengths.
    ASSERT_TRUE(data->contains(2001));
    EXPECT_EQ(data->at(2001),
              (std::vector<uint32_t>{31, 31, 32, 31, 31, 30, 29, 30, 29, 30, 30, 30}));
}

TEST(BikramSambatTable, RejectsTextThatIsNotJson) {
    EXPECT_FALSE(parse_calendar_data("{\"2000\": [30,"));
    EXPECT_FALSE(parse_calendar_data(""));
}

struct Conversion {
    int32_t year;
    uint32_t month, day;
    int64_t g_year;
    uint32_t g_month, g_day;
};

class BikramSambatConversion : public testing::TestWithParam<Conversion> {};

TEST_P(BikramSambatConversion, GivesTheGregorianDate) {
    const Conversion& c = GetParam();
    const auto date = bs_to_gregorian(c.year, c.month, c.day);
    ASSERT_TRUE(date) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(date->year, c.g_year);
    EXPECT_EQ(date->month, c.g_month);
    EXPECT_EQ(date->day, c.g_day);
}

// New-year days as published in the Nepali calendar.
INSTANTIATE_TEST_SUITE_P(
    Anchors, BikramSambatConversion,
    testing::Values(Conversion{2000, 1, 1, 1943, 4, 14}, Conversion{2080, 1, 1, 2023, 4, 14},
                    Conversion{2081, 1, 1, 2024, 4, 13}, Conversion{2082, 1, 1, 2025, 4, 14},
                    Conversion{2100, 12, 30, 2044, 4, 13},
                    // A day past the month's end runs on into the next month.
                    Conversion{2000, 1, 32, 1943, 5, 15}, Conversion{2000, 2, 1, 1943, 5, 14},
                    Conversion{2000, 12, 31, 1944, 4, 12}, Conversion{2001, 1, 1, 1944, 4, 13}));

TEST(BikramSambatConversion, EveryDayOfTheTableFollowsTheDayBefore) {
    int64_t expected = days_from_civil(1943, 4, 14);
    for (const auto& [year, months] : calendar_data()) {
        for (uint32_t month = 1; month <= 12; ++month) {
            // One day past the month's end is the next month's first day.
            for (uint32_t day = 1; day <= months[month - 1] + 1; ++day) {
                const auto date = bs_to_gregorian(year, month, day);
                ASSERT_TRUE(date) << year << "-" << month << "-" << day;
                EXPECT_EQ(days_from_civil(date->year, date->month, date->day), expected + day - 1)
                    << year << "-" << month << "-" << day;
            }
            expected += months[month - 1];
        }
    }
    EXPECT_EQ(expected, days_from_civil(2044, 4, 14));
}

TEST(BikramSambatConversion, RefusesDatesOutsideTheTable) {
    const struct {
        int32_t year;
        uint32_t month, day;
    } refused[] = {{2101, 1, 1},  {1999, 12, 30}, {2000, 1, 0},          {2000, 0, 1},
                   {2000, 13, 1}, {2050, 99, 1},  {2000, 1, UINT32_MAX}, {INT32_MIN, 1, 1}};
    for (const auto& r : refused) {
        const auto date = bs_to_gregorian(r.year, r.month, r.day);
        ASSERT_FALSE(date) << r.year << "-" << r.month << "-" << r.day;
        EXPECT_EQ(date.error().display(), "Date/time conversion error");
    }
}

}  // namespace
}  // namespace zk
