// How many ephemeris calls the panchanga, the transits and the time windows cost, counted
// by the ephemeris layer itself (the suites link the counting build of it), and the fast
// edge searches against the plain scans they stand in for.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <random>
#include <vector>

#include "ephemeris/ephemeris.hpp"
#include "panchanga/element_edges.hpp"
#include "panchanga/elements.hpp"
#include "panchanga/interval.hpp"
#include "panchanga/local_day.hpp"
#include "search/scan.hpp"
#include "search/time_windows.hpp"
#include "search/transits.hpp"

namespace zk {
namespace {

struct Counted {
    ephemeris::CallCounts calls;
    template <typename Work>
    explicit Counted(const Work& work) {
        ephemeris::reset_call_counts();
        work();
        calls = ephemeris::call_counts();
    }
};

uint64_t total(const ephemeris::CallCounts& calls) {
    return calls.positions + calls.sunrises + calls.houses;
}

// The four elements with their edges and the weekday cost at most 60 calls, under 28 on
// average (each karana takes the edge it shares with its tithi); the printable day, computed
// apart (sun and moon rise and set, the kalams, the lunar month of the instant), costs at most
// 20 more position calls and 12 samples of the sky for its rise and set searches, and together
// they are the whole panchanga. (Sky samples are kept per thread, so a day computed again
// costs none: the whole is compared without them.)
TEST(EphemerisBudget, APanchangaCostsAtMostSixtyCallsAndItsDayItsOwn) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> year(1800, 2399), month(1, 12), day(1, 28), hour(0, 23);
    uint64_t most = 0, sum = 0, most_day = 0, most_sky = 0;
    constexpr int kCount = 200;
    for (int i = 0; i < kCount; ++i) {
        const UtcDateTime t{year(rng),
                            static_cast<uint32_t>(month(rng)),
                            static_cast<uint32_t>(day(rng)),
                            static_cast<uint32_t>(hour(rng)),
                            17,
                            5};
        const PanchangaMode mode = i % 2 ? PanchangaMode::SunriseDay : PanchangaMode::CivilDay;
        const bool true_nodes = i % 3 == 0;
        const GeoLocation place{27.7, 85.3, 0.0};
        Result<PanchangaElements> elements;
        const Counted counted([&] {
            elements = compute_panchanga_elements(t, place, "Asia/Kathmandu", mode, AyanamsaMode{},
                                                  true_nodes);
            ASSERT_TRUE(elements);
        });
        const Counted day_counted(
            [&] { ASSERT_TRUE(compute_panchanga_day(elements->panchanga, elements->day)); });
        const Counted whole_counted([&] {
            ASSERT_TRUE(compute_panchanga_local(t, place, "Asia/Kathmandu", mode, AyanamsaMode{},
                                                true_nodes));
        });
        most = std::max(most, total(counted.calls));
        sum += total(counted.calls);
        most_day = std::max(most_day, total(day_counted.calls));
        most_sky = std::max(most_sky, day_counted.calls.sky_samples);
        EXPECT_EQ(total(whole_counted.calls), total(counted.calls) + total(day_counted.calls));
    }
    EXPECT_LE(most, 60u);
    EXPECT_LE(static_cast<double>(sum) / kCount, 28.0);
    EXPECT_LE(most_day, 20u);
    EXPECT_LE(most_sky, 12u);
}

// The day computed later, after the thread computed with another ayanamsa, is the one the
// whole computation gives: it selects its own sidereal mode.
TEST(PanchangaDay, ComputedApartItIsTheWholeComputationsDay) {
    const UtcDateTime t{2024, 3, 7, 22, 40, 0};
    const GeoLocation place{64.1, -21.9, 30.0};
    const AyanamsaMode shifted{AyanamsaMode::Kind::Custom, 60.0};
    const auto whole =
        compute_panchanga_local(t, place, "Atlantic/Reykjavik", PanchangaMode::SunriseDay, shifted,
                                false, SunriseConvention::DiscCenter);
    auto elements =
        compute_panchanga_elements(t, place, "Atlantic/Reykjavik", PanchangaMode::SunriseDay,
                                   shifted, false, SunriseConvention::DiscCenter);
    ASSERT_TRUE(whole && elements);
    EXPECT_FALSE(panchanga_day_may_fail(elements->day));
    ephemeris::select_sidereal_mode(AyanamsaMode{});
    ASSERT_TRUE(compute_panchanga_day(elements->panchanga, elements->day));
    const Panchanga& p = elements->panchanga;
    EXPECT_EQ(p.sky, whole->sky);
    EXPECT_EQ(p.divisions, whole->divisions);
    EXPECT_EQ(p.lunar, whole->lunar);
    EXPECT_EQ(p.tithi.end_time_local, whole->tithi.end_time_local);
    EXPECT_EQ(p.sunrise_convention, SunriseConvention::DiscCenter);
}

TEST(EphemerisBudget, AnIngressCostsAtMostEightCalls) {
    for (bool true_nodes : {true, false}) {
        size_t ingresses = 0;
        const Counted counted([&] {
            const auto found =
                get_transits({1950, 1, 1}, {1960, 1, 1}, AyanamsaMode{}, true_nodes, {});
            ASSERT_TRUE(found);
            ingresses = found->size();
        });
        ASSERT_GT(ingresses, 2000u);
        EXPECT_LE(static_cast<double>(counted.calls.positions) / ingresses, 8.0) << true_nodes;
        EXPECT_EQ(counted.calls.houses + counted.calls.sunrises, 0u);
    }
}

TEST(EphemerisBudget, AWindowSampleIsOneHouseCall) {
    const GeoLocation place{27.7, 85.3, 0.0};
    size_t windows = 0;
    const Counted counted([&] {
        const auto found =
            find_time_windows({2024, 1, 15}, 2 * 24 * 60, 1, "leo", place, AyanamsaMode{}, {});
        ASSERT_TRUE(found);
        windows = found->size();
    });
    // 577 samples, and at most 9 halvings for each edge of a window (2^9 > 300 s).
    const uint64_t samples = 2 * 24 * 60 * 60 / kWindowSampleSeconds + 1;
    EXPECT_EQ(windows, 2u);
    EXPECT_GE(counted.calls.houses, samples);
    EXPECT_LE(counted.calls.houses, samples + 9 * 2 * windows);
    EXPECT_EQ(counted.calls.positions + counted.calls.sunrises, 0u);
}

// Every edge found by Newton steps is the edge the scan finds, in whole seconds, for all
// four elements over many instants, near half seconds included (they take the scan's way).
TEST(ElementEdges, NewtonStepsGiveTheScansSeconds) {
    struct Element {
        Result<uint32_t> (*number)(double, bool);
        Result<ElementSample> (*sample)(double, bool);
        double span;
    };
    const Element elements[] = {{&tithi_at, &tithi_sample, kTithiSpanDeg},
                                {&nakshatra_at, &nakshatra_sample, kNakshatraSpanDeg},
                                {&yoga_at, &yoga_sample, kNakshatraSpanDeg},
                                {&karana_at, &karana_sample, kKaranaSpanDeg}};
    ephemeris::select_sidereal_mode(AyanamsaMode{});
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jd(2378497.0, 2597641.0);
    for (int i = 0; i < 100; ++i) {
        const double at = jd(rng);
        for (const Element& e : elements) {
            const auto scanned =
                find_element_interval([&](double t) { return e.number(t, true); }, at);
            const auto stepped =
                find_element_interval([&](double t) { return e.sample(t, true); }, e.span, at);
            ASSERT_TRUE(scanned && stepped);
            EXPECT_EQ(ephemeris::from_julian_day(scanned->start_jd),
                      ephemeris::from_julian_day(stepped->start_jd))
                << at;
            EXPECT_EQ(ephemeris::from_julian_day(scanned->end_jd),
                      ephemeris::from_julian_day(stepped->end_jd))
                << at;
        }
    }
}

// The edges read from a month's table of the luminaries are the scan's edges, none missed or
// doubled, each within two milliseconds (the largest of 60 months over five millennia was 1.3),
// at two readings of the Moon and the Sun a day.
TEST(ElementEdges, OnePassOverAMonthFindsTheScansEdges) {
    using Number = Result<uint32_t> (*)(double, bool);
    const std::array<Number, 4> numbers = {&tithi_at, &nakshatra_at, &yoga_at, &karana_at};
    constexpr double kDays = 30.0, kMargin = 1e-3, kTwoMillisecondsDays = 2.0 / 86400000.0;
    const Interrupted never;
    ephemeris::select_sidereal_mode(AyanamsaMode{});
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> jd(2378497.0, 2597641.0);
    for (int i = 0; i < 4; ++i) {
        const double from = jd(rng);
        InterruptPoll poll(never, 1u << 30);
        std::optional<ElementEdges> found;
        const Counted pass([&] {
            auto table = LuminaryTable::read(from, from + kDays, true, poll);
            ASSERT_TRUE(table);
            found = element_edges(*table, from, from + kDays);
        });
        ASSERT_TRUE(found);
        EXPECT_LE(pass.calls.positions, 4 * (kDays + 5)) << from;
        for (size_t k = 0; k < numbers.size(); ++k) {
            const auto interval_at = [&](double t) {
                return find_element_interval([&](double u) { return numbers[k](u, true); }, t);
            };
            std::vector<double> scanned;
            auto in = interval_at(from + kMargin);
            ASSERT_TRUE(in);
            while (in->end_jd < from + kDays - kMargin) {
                scanned.push_back(in->end_jd);
                in = interval_at(in->end_jd + 1e-6);
                ASSERT_TRUE(in);
            }
            std::vector<double> edges;
            std::ranges::copy_if(found->edges[k], std::back_inserter(edges), [&](double e) {
                return e > from + kMargin && e < from + kDays - kMargin;
            });
            ASSERT_EQ(edges.size(), scanned.size()) << from << " element " << k;
            for (size_t n = 0; n < edges.size(); ++n) {
                EXPECT_NEAR(edges[n], scanned[n], kTwoMillisecondsDays) << from << " element " << k;
            }
        }
    }
}

// Each of these planets crosses a sign edge while retrograde between 2023 and 2026: every
// change of its daily-sampled sign is an ingress, in order and with its direction.
TEST(Transits, RetrogradeIngressesMatchTheDailySigns) {
    ephemeris::select_sidereal_mode(AyanamsaMode{});
    for (Planet planet : {Planet::Mercury, Planet::Venus, Planet::Mars, Planet::Rahu}) {
        const auto found = get_transits({2023, 1, 1}, {2026, 1, 1}, AyanamsaMode{}, true, {});
        ASSERT_TRUE(found);
        std::vector<Ingress> mine;
        for (const Ingress& in : *found) {
            if (in.planet == planet) mine.push_back(in);
        }
        const double j0 = ephemeris::julian_day({2023, 1, 1});
        const double j1 = ephemeris::julian_day({2026, 1, 1});
        size_t next = 0;
        bool retrograde_seen = false;
        Sign sign = get_planet_sign(j0, planet, true).value();
        for (double t = j0 + 1.0; t <= j1; t += 1.0) {
            const Sign now = get_planet_sign(t, planet, true).value();
            if (now == sign) continue;
            ASSERT_LT(next, mine.size());
            EXPECT_EQ(mine[next].from_sign, sign);
            EXPECT_EQ(mine[next].to_sign, now);
            const double when = ephemeris::julian_day(mine[next].ingress_time);
            EXPECT_TRUE(when > t - 1.0 - 1e-5 && when <= t + 1e-5) << planet_name(planet);
            retrograde_seen |= mine[next].is_retrograde;
            ++next;
            sign = now;
        }
        EXPECT_EQ(next, mine.size());
        EXPECT_TRUE(retrograde_seen) << planet_name(planet);
    }
}

}  // namespace
}  // namespace zk
