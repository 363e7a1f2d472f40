#include <gtest/gtest.h>

#include <set>

#include "calc/search_support.hpp"
#include "calc/time_windows.hpp"
#include "calc/transits.hpp"

namespace zk {
namespace {

// ---------------------------------------------------------------- date texts

TEST(InstantText, AcceptsTheThreeFormsAndConvertsOffsetsToUtc) {
    const struct {
        const char* text;
        UtcDateTime utc;
    } cases[] = {
        {"2024-03-01T10:30:00+05:45", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01T10:30:00Z", {2024, 3, 1, 10, 30, 0}},
        {"2024-03-01t10:30:00z", {2024, 3, 1, 10, 30, 0}},
        {"2024-03-01T00:30:00-01:00", {2024, 3, 1, 1, 30, 0}},
        {"2024-03-01T00:10:00+00:30", {2024, 2, 29, 23, 40, 0}},
        {"2024-03-01T10:30:59.999+00:00", {2024, 3, 1, 10, 30, 59}},
        {"2024-03-01 10:30:00+0545", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01", {2024, 3, 1, 0, 0, 0}},
        {"0001-01-01", {1, 1, 1, 0, 0, 0}},
        {"9999-12-31T23:59:59-23:59", {10000, 1, 1, 23, 58, 59}},
    };
    for (const auto& c : cases) {
        const auto parsed = parse_instant_text(c.text);
        ASSERT_TRUE(parsed) << c.text << ": " << parsed.error();
        EXPECT_EQ(*parsed, c.utc) << c.text;
    }
}

TEST(InstantText, ExplainsWhyTheBareDateDidNotFit) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "premature end of input"},
        {"2024-03", "premature end of input"},
        {"2024-3-01", "invalid characters"},
        {"yesterday", "invalid characters"},
        {"2024-02-30", "input is out of range"},
        {"2024-13-01", "input is out of range"},
        // Neither a complete RFC 3339 text nor a bare date.
        {"2024-03-01T10:30:00", "trailing input"},
        {"2024-03-01T25:00:00Z", "trailing input"},
        {"2024-03-01 10:30:00+05:45", "trailing input"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse_instant_text(c.text);
        ASSERT_FALSE(parsed) << c.text;
        EXPECT_EQ(parsed.error(), "Invalid date '" + std::string(c.text) + "': " + c.reason);
    }
}

// ---------------------------------------------------------------- window scan

const Interrupted kNever = [] { return false; };

std::vector<SecondsWindow> scan(int64_t start, int64_t end,
                                const std::function<bool(int64_t)>& holds) {
    InterruptPoll poll(kNever, 1);
    auto windows = scan_windows(start, end, holds, poll);
    EXPECT_TRUE(windows);
    return windows.value_or(std::vector<SecondsWindow>{});
}

TEST(WindowScan, FindsEachChangeAtItsFirstSecond) {
    const auto holds = [](int64_t t) { return (t >= 1234 && t < 2000) || t >= 5001; };
    EXPECT_EQ(scan(0, 6000, holds), (std::vector<SecondsWindow>{{1234, 2000}, {5001, 6000}}));
    // A change at the second right after a sample, and right at a sample.
    EXPECT_EQ(scan(0, 900, [](int64_t t) { return t >= 301; }),
              (std::vector<SecondsWindow>{{301, 900}}));
    EXPECT_EQ(scan(0, 900, [](int64_t t) { return t < 600; }),
              (std::vector<SecondsWindow>{{0, 600}}));
}

TEST(WindowScan, SpanEdges) {
    const auto always = [](int64_t) { return true; };
    // The span's end is closed even when it is not a sample point.
    EXPECT_EQ(scan(100, 1000, always), (std::vector<SecondsWindow>{{100, 1000}}));
    EXPECT_EQ(scan(100, 100, always), (std::vector<SecondsWindow>{{100, 100}}));
    EXPECT_TRUE(scan(100, 100, [](int64_t) { return false; }).empty());
    EXPECT_TRUE(scan(101, 100, always).empty());
    // A change after the last sample, between it and the span's end, is not seen.
    EXPECT_EQ(scan(0, 500, [](int64_t t) { return t < 400; }),
              (std::vector<SecondsWindow>{{0, 500}}));
}

TEST(WindowScan, ABlipBetweenTwoSamplesGoesUnseen) {
    EXPECT_TRUE(scan(0, 3000, [](int64_t t) { return t > 1210 && t < 1490; }).empty());
}

TEST(WindowScan, StopsWhenInterruptedAndCountsEveryEvaluation) {
    int asked = 0;
    const Interrupted stop_on_third = [&] { return ++asked == 3; };
    InterruptPoll poll(stop_on_third, 10);
    int64_t evaluations = 0;
    const auto holds = [&](int64_t) {
        ++evaluations;
        return false;
    };
    EXPECT_FALSE(scan_windows(0, 300 * 1000, holds, poll));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(evaluations, 30);
}

// ---------------------------------------------------------------- transits

std::vector<Ingress> transits(const UtcDateTime& from, const UtcDateTime& to) {
    auto found = get_transits(from, to, AyanamsaMode{}, true, kNever);
    EXPECT_TRUE(found);
    return found.value_or(std::vector<Ingress>{});
}

TEST(Transits, NodesChangeTogetherIntoOppositeSigns) {
    const auto found = transits({2020, 1, 1}, {2026, 1, 1});
    std::vector<Ingress> rahu, ketu;
    for (const Ingress& i : found) {
        if (i.planet == Planet::Rahu) rahu.push_back(i);
        if (i.planet == Planet::Ketu) ketu.push_back(i);
    }
    // The true node wobbles back and forth over a sign edge at times, so a few more than
    // the four mean-node ingresses of six years.
    ASSERT_GE(rahu.size(), 4u);
    ASSERT_EQ(rahu.size(), ketu.size());
    for (size_t k = 0; k < rahu.size(); ++k) {
        EXPECT_EQ(rahu[k].ingress_time, ketu[k].ingress_time);
        EXPECT_EQ((sign_number(rahu[k].to_sign) + 5) % 12 + 1, sign_number(ketu[k].to_sign));
        EXPECT_EQ((sign_number(rahu[k].from_sign) + 5) % 12 + 1, sign_number(ketu[k].from_sign));
        EXPECT_EQ(rahu[k].is_retrograde, ketu[k].is_retrograde);
    }
}

TEST(Transits, SortedByTimeWithEachPlanetChained) {
    const auto found = transits({2024, 1, 1}, {2025, 1, 1});
    std::set<Planet> seen;
    for (size_t k = 1; k < found.size(); ++k) {
        EXPECT_LE(found[k - 1].ingress_time, found[k].ingress_time);
    }
    for (Planet planet : kAllPlanets) {
        const Ingress* previous = nullptr;
        for (const Ingress& i : found) {
            if (i.planet != planet) continue;
            seen.insert(planet);
            if (previous) {
                EXPECT_EQ(previous->to_sign, i.from_sign);
            }
            // One sign on, or one back when retrograde.
            const unsigned step = (sign_number(i.to_sign) + 12 - sign_number(i.from_sign)) % 12;
            EXPECT_EQ(step, i.is_retrograde ? 11u : 1u) << planet_name(planet);
            previous = &i;
        }
    }
    // Saturn stays in Aquarius and the nodes in Pisces and Virgo all through 2024.
    EXPECT_EQ(seen, (std::set<Planet>{Planet::Sun, Planet::Moon, Planet::Mars, Planet::Mercury,
                                      Planet::Jupiter, Planet::Venus}));
}

TEST(Transits, AnIngressInTheLastShortStepIsFound) {
    // The Sun enters sidereal Capricorn on 2024-01-14 near 21:14 UTC. A range from 18:00
    // to five minutes after it is one step of about three hours.
    const auto whole = transits({2024, 1, 10}, {2024, 1, 20});
    const auto sun = std::find_if(whole.begin(), whole.end(),
                                  [](const Ingress& i) { return i.planet == Planet::Sun; });
    ASSERT_NE(sun, whole.end());
    const auto end = *from_unix_seconds(to_unix_seconds(sun->ingress_time) + 300);
    const auto short_range = transits({2024, 1, 14, 18, 0, 0}, end);
    const auto found = std::find_if(short_range.begin(), short_range.end(),
                                    [](const Ingress& i) { return i.planet == Planet::Sun; });
    ASSERT_NE(found, short_range.end());
    EXPECT_EQ(found->to_sign, Sign::Capricorn);
    const int64_t apart = to_unix_seconds(found->ingress_time) - to_unix_seconds(sun->ingress_time);
    EXPECT_LE(std::abs(apart), 1);
}

TEST(Transits, EmptyRangeAndInterruption) {
    EXPECT_TRUE(transits({2024, 1, 2}, {2024, 1, 1}).empty());
    EXPECT_TRUE(transits({2024, 1, 1}, {2024, 1, 1}).empty());
    int asked = 0;
    const Interrupted stop = [&] { return ++asked > 0; };
    EXPECT_FALSE(get_transits({1, 1, 1}, {9999, 12, 31}, AyanamsaMode{}, true, stop));
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace zk
