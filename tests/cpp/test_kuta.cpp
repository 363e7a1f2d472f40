// Kuta matching on hand-built Moons.
#include <gtest/gtest.h>

#include <tuple>

#include "chart/kuta.hpp"

namespace zk {
namespace {

using N = Nakshatra;
using S = Sign;
using Scores = std::array<double, 9>;  // eight kutas, then the total

// A Sun without sign or nakshatra first, so the Moon has to be looked up.
Chart moon_chart(std::optional<Sign> sign, std::optional<Nakshatra> nakshatra) {
    Chart c;
    c.planets.resize(2);
    c.planets[1].planet = Planet::Moon;
    c.planets[1].sign = sign;
    c.planets[1].nakshatra = nakshatra;
    return c;
}

Scores scores(const KutaResult& r) {
    return {r.varna, r.vasya,  r.tara, r.yoni,       r.graha_maitri,
            r.gana,  r.bhakut, r.nadi, r.total_score};
}

TEST(Kuta, ScoresOfKnownPairs) {
    const std::tuple<S, N, S, N, Scores> cases[] = {
        {S::Leo, N::Magha, S::Scorpio, N::Anuradha, {0, 1, 1.5, 2, 5, 5, 7, 8, 29.5}},
        {S::Scorpio, N::Anuradha, S::Leo, N::Magha, {1, 1, 1.5, 2, 5, 5, 7, 8, 30.5}},
        {S::Aries, N::Ashwini, S::Gemini, N::Ardra, {1, 1, 1.5, 2, 0, 5, 7, 0, 17.5}},
        // Enemy yonis; Leo against Virgo loses vasya; Moon against Venus keeps half the maitri.
        {S::Aries, N::Ashwini, S::Virgo, N::Hasta, {1, 1, 1.5, 0, 0, 6, 0, 8, 17.5}},
        {S::Leo, N::Magha, S::Virgo, N::Hasta, {1, 0, 1.5, 2, 0, 5, 0, 8, 17.5}},
        {S::Cancer, N::Pushya, S::Libra, N::Swati, {1, 1, 1.5, 2, 2.5, 6, 7, 8, 29}},
        // Gana by which chart is self: Rakshasa (Krittika) scores 1 against Deva, not back.
        {S::Aries, N::Krittika, S::Aries, N::Ashwini, {1, 2, 1.5, 2, 5, 1, 7, 8, 27.5}},
        {S::Aries, N::Ashwini, S::Aries, N::Krittika, {1, 2, 1.5, 2, 5, 0, 7, 8, 26.5}},
    };
    for (const auto& [self_sign, self_star, other_sign, other_star, expected] : cases) {
        const KutaResult r =
            match_kuta(moon_chart(self_sign, self_star), moon_chart(other_sign, other_star));
        EXPECT_EQ(scores(r), expected) << sign_name(self_sign) << "/" << sign_name(other_sign);
        EXPECT_EQ(r.max_score, 36.0);
        EXPECT_EQ(r.is_compatible, expected[8] >= 18.0);
    }
}

TEST(Kuta, MissingMoonOrMissingFacts) {
    const Chart moon = moon_chart(S::Aries, N::Ashwini);
    Chart no_moon = moon;
    no_moon.planets.pop_back();
    EXPECT_EQ(scores(match_kuta(no_moon, moon)), Scores{});
    EXPECT_EQ(scores(match_kuta(moon, no_moon)), Scores{});
    // A Moon without sign or nakshatra counts as Aries and Ashwini.
    EXPECT_EQ(match_kuta(moon_chart(std::nullopt, std::nullopt), moon).total_score, 28.0);
}

}  // namespace
}  // namespace zk
