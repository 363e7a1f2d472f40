// Shadbala components on hand-built records.
#include <gtest/gtest.h>

#include "strength/shadbala.hpp"

namespace zk {
namespace {

constexpr double kTolerance = 1e-9;  // strength units
const UtcDateTime kMonday{2024, 1, 8, 12, 0, 0};  // the hora of Venus

PlanetPosition record(Planet planet, std::optional<Sign> sign = {},
                      std::optional<uint8_t> house = {}) {
    PlanetPosition p;
    p.planet = planet;
    p.sign = sign;
    p.house = house;
    return p;
}

// Nine records Sun..Ketu (Moon and Sun in conjunction, no houses) with `changed` put in place.
ShadbalaScore score_of(const PlanetPosition& changed, const std::vector<Aspect>& aspects = {},
                       const UtcDateTime& when = kMonday) {
    std::vector<PlanetPosition> planets;
    for (Planet p : kAllPlanets) planets.push_back(p == changed.planet ? changed : record(p));
    apply_shadbala(planets, aspects, when);
    return *planets[planet_index(changed.planet)].shadbala;
}

TEST(Shadbala, SthanaByDignityThenByTheSignLord) {
    PlanetPosition all = record(Planet::Sun, Sign::Aries);
    all.is_exalted = all.is_moolatrikona = all.is_own_sign = true;
    EXPECT_EQ(score_of(all).sthana_bala, 60.0);
    PlanetPosition moolatrikona = record(Planet::Sun, Sign::Leo);
    moolatrikona.is_moolatrikona = moolatrikona.is_debilitated = true;
    EXPECT_EQ(score_of(moolatrikona).sthana_bala, 45.0);
    PlanetPosition own = record(Planet::Mars, Sign::Scorpio);
    own.is_own_sign = true;
    EXPECT_EQ(score_of(own).sthana_bala, 45.0);
    PlanetPosition debilitated = record(Planet::Sun, Sign::Libra);
    debilitated.is_debilitated = true;
    EXPECT_EQ(score_of(debilitated).sthana_bala, 0.0);

    EXPECT_EQ(score_of(record(Planet::Jupiter, Sign::Gemini)).sthana_bala, 3.75);   // enemy
    EXPECT_EQ(score_of(record(Planet::Moon, Sign::Leo)).sthana_bala, 22.5);         // friend
    EXPECT_EQ(score_of(record(Planet::Saturn, Sign::Sagittarius)).sthana_bala, 11.25);
    EXPECT_EQ(score_of(record(Planet::Venus, Sign::Cancer)).sthana_bala, 3.75);
    EXPECT_EQ(score_of(record(Planet::Mercury)).sthana_bala, 11.25);  // no sign: Mars's
}

TEST(Shadbala, DikFromTheStrongHouse) {
    EXPECT_EQ(score_of(record(Planet::Mars, {}, 10)).dik_bala, 60.0);
    EXPECT_EQ(score_of(record(Planet::Mars, {}, 4)).dik_bala, 0.0);
    EXPECT_EQ(score_of(record(Planet::Mars, {}, 1)).dik_bala, 30.0);
    EXPECT_EQ(score_of(record(Planet::Sun, {}, 1)).dik_bala, 60.0);
    EXPECT_EQ(score_of(record(Planet::Saturn, {}, 12)).dik_bala, 10.0);
    EXPECT_EQ(score_of(record(Planet::Saturn)).dik_bala, 0.0);  // no house: the 1st
}

TEST(Shadbala, PakshaFollowsTheMoonsElongation) {
    struct Case {
        double sun, moon, benefic, malefic;
    };
    const Case cases[] = {
        {100.0, 105.0, 4.0, 56.0},  // new moon, first tithi
        {10.0, 189.0, 60.0, 0.0},   // e = 179: last tithi of the waxing half
        {10.0, 191.0, 4.0, 56.0},   // e = 181: first of the waning half
        {350.0, 10.0, 8.0, 52.0},   // elongation across 0 deg
        {1e-14, 0.0, 60.0, 0.0},    // a remainder that rounds up to 360 is still the 30th
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moon - c.sun);
        EXPECT_NEAR(60.0 * paksha_share(Planet::Jupiter, c.sun, c.moon), c.benefic, kTolerance);
        EXPECT_NEAR(60.0 * paksha_share(Planet::Saturn, c.sun, c.moon), c.malefic, kTolerance);
    }
}

TEST(Shadbala, HoraLordByWeekdayAndUtcHour) {
    EXPECT_EQ(hora_lord({2024, 1, 7, 0, 30, 0}), Planet::Sun);   // Sunday
    EXPECT_EQ(hora_lord({2024, 1, 7, 1, 30, 0}), Planet::Venus);
    EXPECT_EQ(hora_lord({2024, 1, 8, 0, 30, 0}), Planet::Moon);  // Monday
    EXPECT_EQ(hora_lord({2024, 1, 13, 23, 0, 0}), Planet::Mars);  // Saturday: (4 + 23) mod 7
}

TEST(Shadbala, KalaAddsNathonnathaPakshaHoraAndFixedParts) {
    // Sun in the 7th: a day birth; Sunday 00:30 is the Sun's hora; the Moon is new.
    std::vector<PlanetPosition> planets;
    for (Planet p : kAllPlanets) planets.push_back(record(p));
    planets[0].house = 7;
    planets[0].longitude = 100.0;
    planets[1].longitude = 105.0;
    apply_shadbala(planets, {}, {2024, 1, 7, 0, 30, 0});
    EXPECT_NEAR(planets[0].shadbala->kala_bala, 60 + 56 + 60 + 30, kTolerance);  // Sun
    EXPECT_NEAR(planets[1].shadbala->kala_bala, 0 + 4 + 0 + 30, kTolerance);     // Moon
    EXPECT_NEAR(planets[3].shadbala->kala_bala, 30 + 4 + 0 + 30, kTolerance);    // Mercury
    EXPECT_FALSE(planets[7].shadbala);
    EXPECT_FALSE(planets[8].shadbala);
    for (size_t i = 0; i < 7; ++i) {
        const ShadbalaScore& s = *planets[i].shadbala;
        EXPECT_EQ(s.total, s.sthana_bala + s.dik_bala + s.kala_bala + s.chesta_bala +
                               s.naisargika_bala + s.drik_bala);
        EXPECT_EQ(s.is_sufficient, s.total >= s.required);
    }
    EXPECT_EQ(planets[0].shadbala->naisargika_bala, 60.0);
    EXPECT_EQ(planets[6].shadbala->required, 300.0);
}

TEST(Shadbala, ChestaFromMotion) {
    PlanetPosition mars = record(Planet::Mars);
    mars.is_retrograde = true;
    mars.speed = -0.3;
    EXPECT_EQ(score_of(mars).chesta_bala, 60.0);
    EXPECT_EQ(score_of(record(Planet::Venus)).chesta_bala, 30.0);
    PlanetPosition moon = record(Planet::Moon);
    moon.speed = 13.0;
    EXPECT_EQ(score_of(moon).chesta_bala, 30.0 / 14.0);
}

TEST(Shadbala, DrikFromAspectsOnTheHouseClamped) {
    const PlanetPosition sun = record(Planet::Sun, {}, 1);
    const Aspect jupiter{Planet::Jupiter, 1, Planet::Sun, 1.0, true};
    const Aspect moon{Planet::Moon, 1, Planet::Sun, 1.0, false};
    const Aspect saturn{Planet::Saturn, 1, Planet::Sun, 1.0, false};
    const Aspect elsewhere{Planet::Venus, 2, {}, 1.0, false};
    EXPECT_EQ(score_of(sun, {jupiter, moon, elsewhere}).drik_bala, 30.0);
    EXPECT_EQ(score_of(sun, {jupiter, moon, saturn}).drik_bala, 15.0);
    EXPECT_EQ(score_of(sun, {saturn, saturn, saturn}).drik_bala, 0.0);
    EXPECT_EQ(score_of(sun, {jupiter, jupiter, moon, moon, moon}).drik_bala, 60.0);
    EXPECT_EQ(score_of(record(Planet::Sun), {jupiter, moon}).drik_bala, 0.0);  // no house
}

}  // namespace
}  // namespace zk
