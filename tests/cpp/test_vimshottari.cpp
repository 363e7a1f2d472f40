// The Vimshottari tree: lords, balances, lengths in whole seconds, and how periods chain.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "dasha/vimshottari.hpp"

namespace zk {
namespace {

constexpr int64_t kYearSeconds = 31556952;  // 365.2425 days
const UtcDateTime kBirth{1990, 5, 15, 4, 30, 0};

int64_t seconds_of(const DashaPeriod& p) {
    return p.end - p.start;
}

TEST(Vimshottari, LordsAndBalances) {
    const auto ashwini = compute_vimshottari(0.0, kBirth);
    EXPECT_EQ(ashwini[0].lord_name(), "Ketu");
    EXPECT_EQ(seconds_of(ashwini[0]), 220898664);  // all of Ketu's 7 years
    EXPECT_EQ(ashwini[1].lord_name(), "Venus");
    // Half of Ashwini crossed: 3.5 of Ketu's years remain.
    EXPECT_EQ(seconds_of(compute_vimshottari(6.666666666666667, kBirth)[0]),
              static_cast<int64_t>(3.5 * 365.2425 * 86400.0));
    const auto bharani = compute_vimshottari(13.333333333333334, kBirth);
    EXPECT_EQ(seconds_of(bharani[0]), 20 * kYearSeconds);
    EXPECT_EQ(seconds_of(bharani[0].sub_periods[0]), 20 * kYearSeconds / 6);  // 20 of 120
    // Instants stay inside the calendar.
    const auto last = compute_vimshottari(0.0, {kMaxYear, 6, 1, 0, 0, 0});
    EXPECT_EQ(last.back().sub_periods.back().sub_periods.back().end,
              to_unix_seconds({kMaxYear, 12, 31, 23, 59, 59}));
}

const std::map<std::string_view, double> kYears = {{"Sun", 6},      {"Moon", 10},    {"Mars", 7},
                                                   {"Rahu", 18},    {"Jupiter", 16}, {"Saturn", 19},
                                                   {"Mercury", 17}, {"Ketu", 7},     {"Venus", 20}};

// Sub-periods start with the parent's lord, chain from its start without gaps, each take
// y / 120 of it and end at most 8 truncated seconds before it. Returns the periods below.
// Depth 0 is a stand-in for the whole tree, whose periods start at birth and simply chain.
size_t check_below(const DashaPeriod& parent, int depth) {
    const auto& subs = parent.sub_periods;
    if (depth == 3) return subs.size();
    EXPECT_EQ(subs.size(), 9u);
    if (subs.size() != 9) return 0;
    EXPECT_EQ(subs.front().start, parent.start);
    size_t count = subs.size();
    for (size_t i = 1; i < subs.size(); ++i) EXPECT_EQ(subs[i - 1].end, subs[i].start);
    for (const DashaPeriod& sub : subs) count += check_below(sub, depth + 1);
    if (depth == 0) return count;
    EXPECT_EQ(subs.front().lord, parent.lord);
    for (const DashaPeriod& sub : subs) {
        EXPECT_NEAR(seconds_of(sub), kYears.at(sub.lord_name()) / 120 * seconds_of(parent), 1.0);
    }
    const int64_t shortfall = parent.end - subs.back().end;
    EXPECT_TRUE(shortfall >= 0 && shortfall < 9) << shortfall;
    return count;
}

TEST(Vimshottari, TreesChainAtEveryLevelForRandomBirths) {
    std::mt19937_64 rng(19900515);
    std::uniform_real_distribution<double> longitude(0.0, 360.0);
    std::uniform_int_distribution<int64_t> instant(-5'000'000'000, 5'000'000'000);
    for (int trial = 0; trial < 300 && !HasFailure(); ++trial) {
        const double moon = longitude(rng);
        const UtcDateTime birth = *from_unix_seconds(instant(rng));
        const DashaPeriod root{Planet::Sun, to_unix_seconds(birth), 0,
                               compute_vimshottari(moon, birth)};
        EXPECT_EQ(check_below(root, 0), 9u + 81u + 729u) << "moon " << moon << " at " << root.start;
    }
}

}  // namespace
}  // namespace zk
