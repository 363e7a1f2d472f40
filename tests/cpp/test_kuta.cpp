// Kuta matching on hand-built Moons.
#include <gtest/gtest.h>

#include "compat/kuta.hpp"

namespace zk {
namespace {

using N = Nakshatra;
using S = Sign;

// A Sun first, so the Moon has to be looked up rather than taken from the front.
Chart moon_chart(std::optional<Sign> sign, std::optional<Nakshatra> nakshatra) {
    Chart c;
    c.planets.resize(2);
    c.planets[0].sign = S::Pisces;
    c.planets[0].nakshatra = N::Revati;
    c.planets[1].planet = Planet::Moon;
    c.planets[1].sign = sign;
    c.planets[1].nakshatra = nakshatra;
    return c;
}

std::array<double, 9> scores(const KutaResult& r) {
    return {r.varna, r.vasya,  r.tara, r.yoni,       r.graha_maitri,
            r.gana,  r.bhakut, r.nadi, r.total_score};
}

TEST(Kuta, ScoresOfKnownPairs) {
    struct Case {
        S self_sign;
        N self_star;
        S other_sign;
        N other_star;
        std::array<double, 9> expected;  // eight kutas, then the total
    };
    const Case cases[] = {
        {S::Taurus, N::Rohini, S::Taurus, N::Rohini, {1, 2, 3, 4, 5, 6, 7, 0, 28}},
        {S::Leo, N::Magha, S::Scorpio, N::Anuradha, {0, 1, 1.5, 2, 5, 5, 7, 8, 29.5}},
        // Reversed: varna turns to 1, gana (Deva self, Manushya other) stays 5.
        {S::Scorpio, N::Anuradha, S::Leo, N::Magha, {1, 1, 1.5, 2, 5, 5, 7, 8, 30.5}},
        {S::Aries, N::Bharani, S::Leo, N::PurvaPhalguni, {1, 1, 3, 2, 5, 6, 0, 0, 18}},
        {S::Aries, N::Ashwini, S::Gemini, N::Ardra, {1, 1, 1.5, 2, 0, 5, 7, 0, 17.5}},
        // Enemy yonis (Ashwini, Hasta); Leo against Virgo loses vasya; a Moon-ruled sign
        // against a Venus-ruled one keeps half the graha maitri.
        {S::Aries, N::Ashwini, S::Virgo, N::Hasta, {1, 1, 1.5, 0, 0, 6, 0, 8, 17.5}},
        {S::Leo, N::Magha, S::Virgo, N::Hasta, {1, 0, 1.5, 2, 0, 5, 0, 8, 17.5}},
        {S::Cancer, N::Pushya, S::Libra, N::Swati, {1, 1, 1.5, 2, 2.5, 6, 7, 8, 29}},
        // Gana by which chart is self: Rakshasa (Krittika) scores 1 against Deva, not back.
        {S::Aries, N::Krittika, S::Aries, N::Ashwini, {1, 2, 1.5, 2, 5, 1, 7, 8, 27.5}},
        {S::Aries, N::Ashwini, S::Aries, N::Krittika, {1, 2, 1.5, 2, 5, 0, 7, 8, 26.5}},
    };
    for (const Case& c : cases) {
        const KutaResult r = match_kuta(moon_chart(c.self_sign, c.self_star),
                                        moon_chart(c.other_sign, c.other_star));
        EXPECT_EQ(scores(r), c.expected)
            << sign_name(c.self_sign) << "/" << sign_name(c.other_sign);
        EXPECT_EQ(r.max_score, 36.0);
        EXPECT_EQ(r.is_compatible, c.expected[8] >= 18.0);
    }
}

TEST(Kuta, MissingMoonOrMissingFacts) {
    Chart no_moon = moon_chart(S::Aries, N::Ashwini);
    no_moon.planets.pop_back();
    const Chart moon = moon_chart(S::Aries, N::Ashwini);
    for (const KutaResult& r : {match_kuta(no_moon, moon), match_kuta(moon, no_moon)}) {
        EXPECT_EQ(scores(r), (std::array<double, 9>{}));
        EXPECT_EQ(r.max_score, 36.0);
        EXPECT_FALSE(r.is_compatible);
    }
    // A Moon without sign or nakshatra counts as Aries and Ashwini.
    EXPECT_EQ(match_kuta(moon_chart(std::nullopt, std::nullopt), moon).total_score, 28.0);
}

}  // namespace
}  // namespace zk
