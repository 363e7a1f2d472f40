// Kuta matching on hand-built Moons.
#include <gtest/gtest.h>

#include "compat/kuta.hpp"

namespace zk {
namespace {

Chart moon_chart(std::optional<Sign> sign, std::optional<Nakshatra> nakshatra) {
    Chart c;
    PlanetPosition sun;
    sun.planet = Planet::Sun;
    sun.sign = Sign::Pisces;
    sun.nakshatra = Nakshatra::Revati;
    PlanetPosition moon;
    moon.planet = Planet::Moon;
    moon.sign = sign;
    moon.nakshatra = nakshatra;
    c.planets = {sun, moon};
    return c;
}

void expect_scores(const KutaResult& r, std::array<double, 8> parts, double total) {
    const std::array<double, 8> got = {r.varna,        r.vasya, r.tara,   r.yoni,
                                       r.graha_maitri, r.gana,  r.bhakut, r.nadi};
    EXPECT_EQ(got, parts);
    EXPECT_EQ(r.total_score, total);
    EXPECT_EQ(r.max_score, 36.0);
    EXPECT_EQ(r.is_compatible, total >= 18.0);
}

TEST(Kuta, SameMoonScoresAllButNadi) {
    const Chart a = moon_chart(Sign::Taurus, Nakshatra::Rohini);
    expect_scores(match_kuta(a, a), {1, 2, 3, 4, 5, 6, 7, 0}, 28.0);
}

TEST(Kuta, LeoMaghaAgainstScorpioAnuradha) {
    const Chart self = moon_chart(Sign::Leo, Nakshatra::Magha);
    const Chart other = moon_chart(Sign::Scorpio, Nakshatra::Anuradha);
    expect_scores(match_kuta(self, other), {0, 1, 1.5, 2, 5, 5, 7, 8}, 29.5);
    // Reversed, varna flips to 1 and gana (Deva self, Manushya other) stays 5.
    expect_scores(match_kuta(other, self), {1, 1, 1.5, 2, 5, 5, 7, 8}, 30.5);
}

TEST(Kuta, GanaDependsOnWhichChartIsSelf) {
    // Krittika is Rakshasa, Ashwini Deva.
    const Chart rakshasa = moon_chart(Sign::Aries, Nakshatra::Krittika);
    const Chart deva = moon_chart(Sign::Aries, Nakshatra::Ashwini);
    EXPECT_EQ(match_kuta(rakshasa, deva).gana, 1.0);
    EXPECT_EQ(match_kuta(deva, rakshasa).gana, 0.0);
}

TEST(Kuta, CompatibilityThresholdIsEighteen) {
    // Aries/Bharani against Leo/Purva Phalguni: 1 + 1 + 3 + 2 + 5 + 6 + 0 + 0.
    const KutaResult at = match_kuta(moon_chart(Sign::Aries, Nakshatra::Bharani),
                                     moon_chart(Sign::Leo, Nakshatra::PurvaPhalguni));
    expect_scores(at, {1, 1, 3, 2, 5, 6, 0, 0}, 18.0);
    EXPECT_TRUE(at.is_compatible);
    // Aries/Ashwini against Gemini/Ardra: 1 + 1 + 1.5 + 2 + 0 + 5 + 7 + 0.
    const KutaResult below = match_kuta(moon_chart(Sign::Aries, Nakshatra::Ashwini),
                                        moon_chart(Sign::Gemini, Nakshatra::Ardra));
    expect_scores(below, {1, 1, 1.5, 2, 0, 5, 7, 0}, 17.5);
    EXPECT_FALSE(below.is_compatible);
}

TEST(Kuta, EnemyYoniLionAndMerchantAndMoonFriendship) {
    // Ashwini and Hasta are enemy yonis; Leo against Virgo scores no vasya; a Cancer Moon
    // (lord Moon) against a Venus-ruled sign scores half the graha maitri.
    EXPECT_EQ(match_kuta(moon_chart(Sign::Aries, Nakshatra::Ashwini),
                         moon_chart(Sign::Virgo, Nakshatra::Hasta))
                  .yoni,
              0.0);
    EXPECT_EQ(match_kuta(moon_chart(Sign::Leo, Nakshatra::Magha),
                         moon_chart(Sign::Virgo, Nakshatra::Hasta))
                  .vasya,
              0.0);
    EXPECT_EQ(match_kuta(moon_chart(Sign::Cancer, Nakshatra::Pushya),
                         moon_chart(Sign::Libra, Nakshatra::Swati))
                  .graha_maitri,
              2.5);
}

TEST(Kuta, MissingMoonScoresNothing) {
    Chart no_moon = moon_chart(Sign::Aries, Nakshatra::Ashwini);
    no_moon.planets.pop_back();
    const Chart with_moon = moon_chart(Sign::Aries, Nakshatra::Ashwini);
    expect_scores(match_kuta(no_moon, with_moon), {0, 0, 0, 0, 0, 0, 0, 0}, 0.0);
    expect_scores(match_kuta(with_moon, no_moon), {0, 0, 0, 0, 0, 0, 0, 0}, 0.0);
}

TEST(Kuta, MoonWithoutSignOrNakshatraCountsAsAriesAshwini) {
    const KutaResult r = match_kuta(moon_chart(std::nullopt, std::nullopt),
                                    moon_chart(Sign::Aries, Nakshatra::Ashwini));
    EXPECT_EQ(r.total_score, 28.0);
}

TEST(Kuta, EveryPairStaysWithinItsMaxima) {
    for (unsigned s1 = 1; s1 <= 12; ++s1) {
        for (unsigned n1 = 1; n1 <= 27; n1 += 2) {
            const Chart a = moon_chart(Sign(s1), Nakshatra(n1));
            for (unsigned s2 = 1; s2 <= 12; ++s2) {
                for (unsigned n2 = 1; n2 <= 27; ++n2) {
                    const KutaResult r = match_kuta(a, moon_chart(Sign(s2), Nakshatra(n2)));
                    ASSERT_TRUE(r.tara == 1.5 || r.tara == 3.0) << s1 << n1 << s2 << n2;
                    ASSERT_LE(r.total_score, 36.0);
                    ASSERT_EQ(r.total_score, r.varna + r.vasya + r.tara + r.yoni +
                                                 r.graha_maitri + r.gana + r.bhakut + r.nadi);
                }
            }
        }
    }
}

}  // namespace
}  // namespace zk
