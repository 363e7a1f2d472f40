// The Vimshottari tree: lords, balances, lengths in whole seconds, and how periods chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <random>

#include "chart/vimshottari.hpp"

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

int64_t nominal_seconds(std::string_view lord) {
    return static_cast<int64_t>(kYears.at(lord) * 365.2425 * 86400.0);
}

// Sub-periods chain from the parent's start without gaps, run through the cycle from the
// parent's lord, each take y / 120 of the parent's nominal length and end at most 8
// truncated seconds before it. A cut parent (the first maha dasha and the periods running
// at birth) keeps only the trailing ones, the first of them shortened. Returns the number
// of periods below `parent`.
size_t check_below(const DashaPeriod& parent, int64_t nominal, bool cut, int depth) {
    const auto& subs = parent.sub_periods;
    if (depth == 2) return subs.size();
    EXPECT_TRUE(cut ? !subs.empty() && subs.size() <= 9 : subs.size() == 9) << subs.size();
    if (subs.empty()) return 0;
    EXPECT_EQ(subs.front().start, parent.start);
    for (size_t i = 1; i < subs.size(); ++i) EXPECT_EQ(subs[i - 1].end, subs[i].start);
    EXPECT_EQ(kDashaCycle[(std::ranges::find(kDashaCycle, parent.lord) - kDashaCycle.begin() + 9 -
                           subs.size()) %
                          9],
              subs.front().lord);
    size_t count = subs.size();
    for (size_t i = 0; i < subs.size(); ++i) {
        const double share = kYears.at(subs[i].lord_name()) / 120 * static_cast<double>(nominal);
        if (i == 0 && cut) {
            EXPECT_LE(seconds_of(subs[i]), share + 1.0);
        } else {
            EXPECT_NEAR(seconds_of(subs[i]), share, 1.0);
        }
        count += check_below(subs[i], static_cast<int64_t>(share), cut && i == 0, depth + 1);
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
        const auto mahas = compute_vimshottari(moon, birth);
        ASSERT_EQ(mahas.size(), 9u);
        EXPECT_EQ(mahas.front().start, to_unix_seconds(birth));
        for (size_t k = 0; k < mahas.size(); ++k) {
            const int64_t nominal = nominal_seconds(mahas[k].lord_name());
            if (k > 0) {
                EXPECT_EQ(mahas[k - 1].end, mahas[k].start);
                EXPECT_EQ(seconds_of(mahas[k]), nominal);
            }
            check_below(mahas[k], nominal, k == 0, 0);
        }
        EXPECT_FALSE(HasFailure()) << "moon " << moon << " at " << to_unix_seconds(birth);
    }
}

TEST(Vimshottari, FirstMahaDashaKeepsItsSubPeriodsWhereTheyFall) {
    // 21.9 % through Uttara Ashadha: 1.314 of the Sun's 6 years have run, which is past its
    // Sun, Moon and Mars antardashas (1.15 years) and inside Rahu's.
    const auto sun =
        compute_vimshottari(20 * 13.333333333333334 + 0.219 * 13.333333333333334, kBirth)[0];
    std::vector<std::string_view> lords;
    for (const DashaPeriod& p : sun.sub_periods) lords.push_back(p.lord_name());
    EXPECT_EQ(lords, (std::vector<std::string_view>{"Rahu", "Jupiter", "Saturn", "Mercury", "Ketu",
                                                    "Venus"}));

    // At the very start of a nakshatra nothing has run: all nine, exactly the full division.
    for (double start : {0.0, 13.333333333333334, 26.666666666666668}) {
        const DashaPeriod first = compute_vimshottari(start, kBirth)[0];
        const double years = kYears.at(first.lord_name());
        EXPECT_EQ(first.sub_periods,
                  compute_sub_periods(first.lord, first.start_time(), first.end_time(), years))
            << start;
    }
}

TEST(Vimshottari, SubPeriodsOfANominalLengthWithNoShareStayAtTheStart) {
    // Zero or unbounded nominal years give no share (0/0, inf/inf): every antardasha and
    // pratyantardasha is an instant at the start, never a wild bound.
    const UtcDateTime end{2000, 1, 1, 0, 0, 0};
    const double inf = std::numeric_limits<double>::infinity();
    for (double years : {0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        const auto subs = compute_sub_periods(Planet::Venus, kBirth, end, years);
        ASSERT_EQ(subs.size(), 9u);
        for (const DashaPeriod& antar : subs) {
            EXPECT_EQ(antar.start_time(), kBirth) << years;
            EXPECT_EQ(antar.end_time(), kBirth) << years;
            for (const DashaPeriod& pratyantar : antar.sub_periods) {
                EXPECT_EQ(pratyantar.end_time(), kBirth) << years;
            }
        }
    }
}

}  // namespace
}  // namespace zk
