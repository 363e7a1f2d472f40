#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "time/bikram_sambat.hpp"

namespace zk {
namespace {

// Days in each BS year 2000..2100 as published beside the month lengths; the sums of the
// embedded month table must reproduce them.
// BS 2098 has 365 days: both published tables start BS 2099 on 2042-04-14.
constexpr uint32_t kDaysInYear[101] = {
    365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365,
    365, 365, 366, 365, 365, 365, 366, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365,
    366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366,
    365, 365, 365, 366, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365,
    365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 365, 365, 365,
    366, 365, 366, 365, 365, 365, 366, 365, 365, 365, 366, 364, 366, 365, 365, 365};

TEST(BikramSambat, NewYearsDaysAndEveryDayAfter) {
    // New-year days as published in the Nepali calendar, and the table's last day.
    for (auto [y, m, d, gy, gm, gd] : {std::array<int64_t, 6>{2000, 1, 1, 1943, 4, 14},
                                       {2080, 1, 1, 2023, 4, 14},
                                       {2081, 1, 1, 2024, 4, 13},
                                       {2082, 1, 1, 2025, 4, 14},
                                       {2099, 1, 1, 2042, 4, 14},
                                       {2100, 12, 30, 2044, 4, 12}}) {
        const auto date = bs_to_gregorian(int32_t(y), uint32_t(m), uint32_t(d));
        ASSERT_TRUE(date) << y;
        EXPECT_EQ(days_from_civil(date->year, date->month, date->day), days_from_civil(gy, gm, gd))
            << y << "-" << m << "-" << d;
    }
    // Every day of every month follows the one before, the day past a month's end is
    // refused, and the years are as long as published.
    ASSERT_EQ(calendar_data().size(), 101u);
    int64_t expected = days_from_civil(1943, 4, 14);
    for (const auto& [year, months] : calendar_data()) {
        ASSERT_TRUE(year >= 2000 && year <= 2100 && months.size() == 12) << year;
        EXPECT_EQ(std::accumulate(months.begin(), months.end(), 0u), kDaysInYear[year - 2000])
            << year;
        for (uint32_t month = 1; month <= 12; ++month) {
            for (uint32_t day = 1; day <= months[month - 1]; ++day) {
                const auto date = bs_to_gregorian(year, month, day);
                ASSERT_TRUE(date) << year << "-" << month << "-" << day;
                EXPECT_EQ(days_from_civil(date->year, date->month, date->day), expected + day - 1)
                    << year << "-" << month << "-" << day;
            }
            EXPECT_FALSE(bs_to_gregorian(year, month, months[month - 1] + 1))
                << year << "-" << month << "-" << months[month - 1] + 1;
            expected += months[month - 1];
        }
    }
}

TEST(BikramSambat, RefusesDatesOutsideTheTableOrPastTheMonthsEnd) {
    // Day 32 of a 31-day month (BS 2081 Baisakh), day 31 of 30-day ones (BS 2000 Baisakh,
    // BS 2082 and BS 2100 Chaitra).
    const std::tuple<int32_t, uint32_t, uint32_t> refused[] = {
        {2101, 1, 1},  {1999, 12, 30}, {2000, 1, 0},          {2000, 0, 1},
        {2000, 13, 1}, {2050, 99, 1},  {2000, 1, UINT32_MAX}, {INT32_MIN, 1, 1},
        {2081, 1, 32}, {2082, 12, 31}, {2100, 12, 31},        {2000, 1, 31}};
    for (const auto& [year, month, day] : refused) {
        const auto date = bs_to_gregorian(year, month, day);
        ASSERT_FALSE(date) << year << "-" << month << "-" << day;
        EXPECT_EQ(date.error().display(), "Date/time conversion error");
    }
}

}  // namespace
}  // namespace zk
