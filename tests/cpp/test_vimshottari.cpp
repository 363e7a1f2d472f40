// The Vimshottari tree: lords, balances, lengths in whole seconds, and how periods chain.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "dasha/vimshottari.hpp"

namespace zk {
namespace {

constexpr int64_t kYearSeconds = 31556952;  // 365.2425 days
const UtcDateTime kBirth{1990, 5, 15, 4, 30, 0};

int64_t seconds_of(const DashaPeriod& p) { return p.end - p.start; }

TEST(Vimshottari, LordsAndBalances) {
    const auto ashwini = compute_vimshottari(0.0, kBirth);
    std::vector<std::string> lords;
    for (const DashaPeriod& p : ashwini) lords.emplace_back(p.lord_name());
    EXPECT_EQ(lords, (std::vector<std::string>{"Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu",
                                               "Jupiter", "Saturn", "Mercury"}));
    EXPECT_EQ(seconds_of(ashwini[0]), 220898664);  // all of Ketu's 7 years
    EXPECT_EQ(seconds_of(ashwini[1]), 20 * kYearSeconds);
    // Half of Ashwini crossed: 3.5 of Ketu's years remain.
    EXPECT_EQ(seconds_of(compute_vimshottari(6.666666666666667, kBirth)[0]),
              static_cast<int64_t>(3.5 * 365.2425 * 86400.0));
    const auto bharani = compute_vimshottari(13.333333333333334, kBirth);
    EXPECT_EQ(bharani[0].lord_name(), "Venus");
    EXPECT_EQ(seconds_of(bharani[0]), 20 * kYearSeconds);
    EXPECT_EQ(seconds_of(bharani[0].sub_periods[0]), 20 * kYearSeconds / 6);  // 20 of 120
    EXPECT_EQ(compute_vimshottari(359.9, kBirth)[0].lord_name(), "Mercury");  // Revati
}

const std::map<std::string_view, double> kYears = {
    {"Sun", 6},      {"Moon", 10},  {"Mars", 7},     {"Rahu", 18},  {"Jupiter", 16},
    {"Saturn", 19}, {"Mercury", 17}, {"Ketu", 7},  {"Venus", 20}};

// Sub-periods start with the parent's lord, chain from its start without gaps or overlaps,
// each take y / 120 of it and end at most 8 truncated seconds before it. Returns the number
// of periods below.
size_t check_below(const DashaPeriod& parent, int depth) {
    const auto& subs = parent.sub_periods;
    if (depth == 3) {
        EXPECT_TRUE(subs.empty());
        return 0;
    }
    EXPECT_EQ(subs.size(), 9u);
    if (subs.size() != 9) return 0;
    EXPECT_EQ(subs.front().lord, parent.lord);
    EXPECT_EQ(subs.front().start, parent.start);
    for (size_t i = 0; i + 1 < subs.size(); ++i) EXPECT_EQ(subs[i].end, subs[i + 1].start);
    for (const DashaPeriod& sub : subs) {
        EXPECT_TRUE(from_unix_seconds(sub.end).has_value());  // a real date
        EXPECT_NEAR(seconds_of(sub), kYears.at(sub.lord_name()) / 120 * seconds_of(parent), 1.0);
    }
    const int64_t shortfall = parent.end - subs.back().end;
    EXPECT_TRUE(shortfall >= 0 && shortfall < 9) << shortfall;
    size_t count = subs.size();
    for (const DashaPeriod& sub : subs) count += check_below(sub, depth + 1);
    return count;
}

TEST(Vimshottari, TreesChainAtEveryLevelForRandomBirths) {
    std::mt19937_64 rng(19900515);
    std::uniform_real_distribution<double> longitude(0.0, 360.0);
    std::uniform_int_distribution<int64_t> instant(-5'000'000'000, 5'000'000'000);
    for (int trial = 0; trial < 300 && !HasFailure(); ++trial) {
        const double moon = longitude(rng);
        const UtcDateTime birth = *from_unix_seconds(instant(rng));
        SCOPED_TRACE(testing::Message() << "moon " << moon << " at " << to_unix_seconds(birth));
        const auto periods = compute_vimshottari(moon, birth);
        ASSERT_EQ(periods.size(), 9u);
        EXPECT_EQ(periods.front().start_time(), birth);
        size_t count = periods.size();
        for (size_t i = 0; i < periods.size(); ++i) count += check_below(periods[i], 1);
        for (size_t i = 1; i < periods.size(); ++i) EXPECT_EQ(periods[i - 1].end, periods[i].start);
        EXPECT_EQ(count, 9u + 81u + 729u);
    }
}

TEST(Vimshottari, InstantsStayInsideTheCalendar) {
    const auto periods = compute_vimshottari(0.0, {kMaxYear, 6, 1, 0, 0, 0});
    const int64_t last = to_unix_seconds({kMaxYear, 12, 31, 23, 59, 59});
    EXPECT_EQ(periods.back().end, last);
    EXPECT_EQ(periods.back().sub_periods.back().sub_periods.back().end, last);
    EXPECT_EQ(compute_vimshottari(NAN, kBirth).size(), 9u);
}

}  // namespace
}  // namespace zk
