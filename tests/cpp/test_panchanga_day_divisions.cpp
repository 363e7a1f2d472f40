// The divisions of the daytime against published tables.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ephemeris/ephemeris.hpp"
#include "panchanga/day_divisions.hpp"
#include "time/timezone.hpp"

namespace zk {
namespace {

const cctz::time_zone& kolkata() {
    static const cctz::time_zone zone = *tz::lookup("Asia/Kolkata");
    return zone;
}

// Unix seconds of an Indian Standard Time "HH:MM" on a date.
int64_t ist(uint32_t month, uint32_t day, const std::string& hhmm, int64_t year = 2023) {
    const int64_t minutes =
        std::atoi(hhmm.substr(0, 2).c_str()) * 60 + std::atoi(hhmm.substr(3).c_str());
    return to_unix_seconds(*make_utc(year, month, day, 0, 0, 0)) + minutes * 60 - 330 * 60;
}

double jd_of(int64_t unix_seconds) {
    return ephemeris::julian_day(*from_unix_seconds(unix_seconds));
}

std::string clock(const DayTime& t) {
    return t.local.substr(11, 5);
}

// The classical table for a 6:00 sunrise and an 18:00 sunset, Sunday first, as printed at
// https://spiritofchennai.com/city/rahu-kalam-yama-gandam/ ("Rahu Kalam, Yama Gandam").
struct SixToSix {
    const char* rahu[2];
    const char* yama[2];
    const char* gulika[2];
};
constexpr SixToSix kSixToSix[7] = {{{"16:30", "18:00"}, {"12:00", "13:30"}, {"15:00", "16:30"}},
                                   {{"07:30", "09:00"}, {"10:30", "12:00"}, {"13:30", "15:00"}},
                                   {{"15:00", "16:30"}, {"09:00", "10:30"}, {"12:00", "13:30"}},
                                   {{"12:00", "13:30"}, {"07:30", "09:00"}, {"10:30", "12:00"}},
                                   {{"13:30", "15:00"}, {"06:00", "07:30"}, {"09:00", "10:30"}},
                                   {{"10:30", "12:00"}, {"15:00", "16:30"}, {"07:30", "09:00"}},
                                   {{"09:00", "10:30"}, {"13:30", "15:00"}, {"06:00", "07:30"}}};

TEST(DayDivisions, EighthsFollowThePublishedWeekdayTable) {
    const SolarDay six{jd_of(ist(1, 5, "06:00", 2025)), jd_of(ist(1, 5, "18:00", 2025)),
                       jd_of(ist(1, 6, "06:00", 2025))};
    for (unsigned weekday = 0; weekday < 7; ++weekday) {
        const DayDivisions d = compute_day_divisions(weekday, six, kolkata());
        const SixToSix& row = kSixToSix[weekday];
        EXPECT_EQ(clock(d.rahu_kalam->start), row.rahu[0]) << weekday;
        EXPECT_EQ(clock(d.rahu_kalam->end), row.rahu[1]) << weekday;
        EXPECT_EQ(clock(d.yamaganda->start), row.yama[0]) << weekday;
        EXPECT_EQ(clock(d.yamaganda->end), row.yama[1]) << weekday;
        EXPECT_EQ(clock(d.gulika_kalam->start), row.gulika[0]) << weekday;
        EXPECT_EQ(clock(d.gulika_kalam->end), row.gulika[1]) << weekday;
        EXPECT_EQ(clock(d.abhijit_muhurta->start), "11:36");
        EXPECT_EQ(clock(d.abhijit_muhurta->end), "12:24");
    }
}

// drikpanchang.com's entries for 2023-01-01 ... 2023-01-07 (published in the repository
// Prashanthmn166/hamara-calendar, calendar.js), to the minute: sunrise, sunset, the next
// sunrise, then Rahu kalam, Yamaganda, Gulika kalam, Abhijit (none on Wednesday there) and
// the dur muhurtas.
struct DrikDay {
    uint32_t day;
    const char* sunrise;
    const char* sunset;
    const char* next_sunrise;
    std::vector<const char*> spans;  // start, end pairs in the order above
};
const DrikDay kDrikWeek[] = {
    {1,
     "06:45",
     "17:21",
     "06:45",
     {"16:02", "17:21", "12:03", "13:23", "14:42", "16:02", "11:42", "12:24", "15:57", "16:39"}},
    {2,
     "06:45",
     "17:22",
     "06:46",
     {"08:05", "09:25", "10:44", "12:04", "13:23", "14:43", "11:42", "12:25", "12:25", "13:07",
      "14:32", "15:15"}},
    {3,
     "06:46",
     "17:23",
     "06:46",
     {"14:43", "16:03", "09:25", "10:45", "12:04", "13:24", "11:43", "12:25", "08:53", "09:35",
      "22:44", "23:38"}},
    {4,
     "06:46",
     "17:23",
     "06:46",
     {"12:05", "13:24", "08:06", "09:25", "10:45", "12:05", "", "", "11:43", "12:26"}},
    {5,
     "06:46",
     "17:24",
     "06:46",
     {"13:25", "14:45", "06:46", "08:06", "09:26", "10:45", "11:44", "12:26", "10:19", "11:01",
      "14:34", "15:16"}},
    {6,
     "06:46",
     "17:25",
     "06:46",
     {"10:46", "12:06", "14:45", "16:05", "08:06", "09:26", "11:44", "12:27", "08:54", "09:37",
      "12:27", "13:09"}},
    {7,
     "06:46",
     "17:25",
     "06:47",
     {"09:26", "10:46", "13:26", "14:46", "06:46", "08:06", "11:45", "12:27", "06:46", "07:29",
      "07:29", "08:12"}}};

TEST(DayDivisions, MatchDrikPanchangsPublishedWeekWithinAMinute) {
    constexpr int64_t kToleranceS = 90;  // inputs and outputs are both whole minutes
    int64_t worst = 0;
    for (const DrikDay& row : kDrikWeek) {
        const SolarDay solar{jd_of(ist(1, row.day, row.sunrise)),
                             jd_of(ist(1, row.day, row.sunset)),
                             jd_of(ist(1, row.day + 1, row.next_sunrise))};
        const unsigned weekday = row.day - 1;  // 2023-01-01 was a Sunday
        const DayDivisions d = compute_day_divisions(weekday, solar, kolkata());
        std::vector<DaySpan> spans = {*d.rahu_kalam, *d.yamaganda, *d.gulika_kalam,
                                      *d.abhijit_muhurta};
        spans.insert(spans.end(), d.dur_muhurtas->begin(), d.dur_muhurtas->end());
        ASSERT_EQ(spans.size() * 2, row.spans.size()) << row.day;
        for (size_t i = 0; i < row.spans.size(); ++i) {
            if (*row.spans[i] == '\0') continue;
            const DayTime& t = i % 2 ? spans[i / 2].end : spans[i / 2].start;
            const int64_t error =
                std::llabs(to_unix_seconds(t.utc) - ist(1, row.day, row.spans[i]));
            EXPECT_LE(error, kToleranceS)
                << "2023-01-0" << row.day << " item " << i << " " << t.local;
            worst = std::max(worst, error);
        }
    }
    std::printf("drikpanchang week of 2023-01-01: worst error %lld s\n",
                static_cast<long long>(worst));
}

TEST(DayDivisions, NoneWithoutSunriseOrSunsetAndNoNightMuhurtaWithoutANextSunrise) {
    const double rise = jd_of(ist(1, 3, "06:46"));
    const double set = jd_of(ist(1, 3, "17:23"));
    for (const SolarDay& missing : {SolarDay{std::nullopt, set, rise + 1},
                                    SolarDay{rise, std::nullopt, rise + 1}, SolarDay{}}) {
        const DayDivisions d = compute_day_divisions(2, missing, kolkata());
        EXPECT_FALSE(d.rahu_kalam || d.yamaganda || d.gulika_kalam || d.abhijit_muhurta ||
                     d.dur_muhurtas);
    }
    const DayDivisions endless_night =
        compute_day_divisions(2, {rise, set, std::nullopt}, kolkata());
    ASSERT_EQ(endless_night.dur_muhurtas->size(), 1u);  // Tuesday's daytime one only
    EXPECT_EQ(clock(endless_night.dur_muhurtas->front().start), "08:53");
    EXPECT_THROW(compute_day_divisions(7, {rise, set, std::nullopt}, kolkata()), InvariantFailure);
}

}  // namespace
}  // namespace zk
