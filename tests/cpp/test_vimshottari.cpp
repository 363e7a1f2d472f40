// The Vimshottari tree: lords, balances, lengths in whole seconds, and how periods chain.
#include <gtest/gtest.h>

#include <random>

#include "dasha/vimshottari.hpp"

namespace zk {
namespace {

constexpr int64_t kYearSeconds = 31556952;  // 365.2425 days
const UtcDateTime kBirth{1990, 5, 15, 4, 30, 0};

int64_t seconds_of(const DashaPeriod& p) {
    return to_unix_seconds(p.end) - to_unix_seconds(p.start);
}

std::vector<std::string> lords_of(const std::vector<DashaPeriod>& periods) {
    std::vector<std::string> lords;
    for (const DashaPeriod& p : periods) lords.push_back(p.lord_name);
    return lords;
}

TEST(Vimshottari, MoonAtTheStartOfAshwiniBeginsWithAFullKetu) {
    const auto periods = compute_vimshottari(0.0, kBirth);
    const std::vector<std::string> lords = {"Ketu",  "Venus",  "Sun",     "Moon", "Mars",
                                            "Rahu", "Jupiter", "Saturn", "Mercury"};
    EXPECT_EQ(lords_of(periods), lords);
    EXPECT_EQ(periods[0].start, kBirth);
    EXPECT_EQ(seconds_of(periods[0]), 220898664);
    EXPECT_EQ(seconds_of(periods[1]), 20 * kYearSeconds);
    EXPECT_EQ(seconds_of(periods[8]), 17 * kYearSeconds);
}

TEST(Vimshottari, FirstPeriodRunsForTheUnelapsedPartOfTheNakshatra) {
    // Half of Ashwini: 3.5 of Ketu's 7 years remain.
    EXPECT_EQ(seconds_of(compute_vimshottari(6.666666666666667, kBirth)[0]),
              static_cast<int64_t>(3.5 * 365.2425 * 86400.0));
    // The start of Bharani: Venus with its full 20 years.
    const auto bharani = compute_vimshottari(13.333333333333334, kBirth);
    EXPECT_EQ(bharani[0].lord_name, "Venus");
    EXPECT_EQ(seconds_of(bharani[0]), 20 * kYearSeconds);
    // Each antardasha is the share y / 120 of the actual length: Venus 20 of 120.
    EXPECT_EQ(seconds_of(bharani[0].sub_periods[0]), 20 * kYearSeconds / 6);
    // Revati's lord is Mercury.
    EXPECT_EQ(compute_vimshottari(359.9, kBirth)[0].lord_name, "Mercury");
}

// Every level starts with its parent's lord, chains without gaps or overlaps from the
// parent's start, and ends no later than the parent (truncation loses under 9 seconds).
void check_level(const DashaPeriod& parent, int depth, size_t& count) {
    const auto& subs = parent.sub_periods;
    if (depth == 3) {
        EXPECT_TRUE(subs.empty());
        return;
    }
    ASSERT_EQ(subs.size(), 9u);
    EXPECT_EQ(subs.front().lord_name, parent.lord_name);
    EXPECT_EQ(subs.front().start, parent.start);
    for (size_t i = 0; i + 1 < subs.size(); ++i) EXPECT_EQ(subs[i].end, subs[i + 1].start);
    const int64_t shortfall = to_unix_seconds(parent.end) - to_unix_seconds(subs.back().end);
    EXPECT_TRUE(shortfall >= 0 && shortfall < 9) << shortfall;
    for (const DashaPeriod& sub : subs) {
        ++count;
        check_level(sub, depth + 1, count);
    }
}

TEST(Vimshottari, TreesChainAtEveryLevelForRandomBirths) {
    std::mt19937_64 rng(19900515);
    std::uniform_real_distribution<double> longitude(0.0, 360.0);
    std::uniform_int_distribution<int64_t> instant(-5'000'000'000, 5'000'000'000);
    for (int trial = 0; trial < 300; ++trial) {
        const double moon = longitude(rng);
        const UtcDateTime birth = *from_unix_seconds(instant(rng));
        SCOPED_TRACE(testing::Message() << "moon " << moon << " birth " << to_unix_seconds(birth));
        const auto periods = compute_vimshottari(moon, birth);
        ASSERT_EQ(periods.size(), 9u);
        EXPECT_EQ(periods.front().start, birth);
        size_t count = periods.size();
        for (size_t i = 0; i < periods.size(); ++i) {
            if (i + 1 < periods.size()) {
                EXPECT_EQ(periods[i].end, periods[i + 1].start);
            }
            check_level(periods[i], 1, count);
        }
        EXPECT_EQ(count, 9u + 81u + 729u);
        if (HasFailure()) return;
    }
}

TEST(Vimshottari, InstantsStayInsideTheCalendar) {
    // A cycle from the last representable year cannot run past the calendar's end.
    const UtcDateTime late{kMaxYear, 6, 1, 0, 0, 0};
    const auto periods = compute_vimshottari(0.0, late);
    const UtcDateTime last{kMaxYear, 12, 31, 23, 59, 59};
    EXPECT_EQ(periods.back().end, last);
    EXPECT_EQ(periods.back().sub_periods.back().sub_periods.back().end, last);
    // A NaN longitude still yields a whole tree.
    EXPECT_EQ(compute_vimshottari(NAN, kBirth).size(), 9u);
}

}  // namespace
}  // namespace zk
