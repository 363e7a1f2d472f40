// The chart's yoga list, detected on hand-built planet lists.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/yoga_engine.hpp"

namespace zk {
namespace {

PlanetPosition at(Planet planet, Sign sign, std::optional<uint8_t> house) {
    PlanetPosition p;
    p.planet = planet;
    p.sign = sign;
    p.house = house;
    return p;
}

std::vector<std::string> names(const std::vector<YogaResult>& yogas) {
    std::vector<std::string> out;
    for (const YogaResult& y : yogas) out.push_back(y.name);
    return out;
}

const YogaResult* find_yoga(const std::vector<YogaResult>& yogas, const std::string& name) {
    for (const YogaResult& y : yogas) {
        if (y.name == name) return &y;
    }
    return nullptr;
}

using Planets = std::vector<Planet>;
constexpr double kAriesAscendant = 10.0;

TEST(YogaEngine, NothingQualifyingGivesAnEmptyList) {
    EXPECT_TRUE(detect_yogas({}, kAriesAscendant).empty());
    // Moon missing: none of the Moon-based yogas, and nothing else forms either.
    const std::vector<PlanetPosition> planets = {
        at(Planet::Sun, Sign::Aries, 1), at(Planet::Mars, Sign::Leo, 5),
        at(Planet::Jupiter, Sign::Gemini, 3), at(Planet::Mercury, Sign::Taurus, 5)};
    EXPECT_TRUE(detect_yogas(planets, kAriesAscendant).empty());
}

TEST(YogaEngine, MahapurushaRecordsComeFirstInTableOrder) {
    const std::vector<PlanetPosition> planets = {
        at(Planet::Saturn, Sign::Libra, 7),      at(Planet::Venus, Sign::Pisces, 4),
        at(Planet::Jupiter, Sign::Cancer, 10),   at(Planet::Mercury, Sign::Virgo, 1),
        at(Planet::Mars, Sign::Capricorn, 1)};
    const auto yogas = detect_yogas(planets, kAriesAscendant);
    ASSERT_GE(yogas.size(), 5u);
    std::vector<std::string> first = names(yogas);
    first.resize(5);
    EXPECT_EQ(first, (std::vector<std::string>{"Ruchaka Yoga", "Bhadra Yoga", "Hamsa Yoga",
                                               "Malavya Yoga", "Shasha Yoga"}));
    EXPECT_EQ(yogas[4].category, "Mahapurusha");
    EXPECT_EQ(yogas[4].planets_involved, Planets{Planet::Saturn});
    EXPECT_EQ(yogas[4].description,
              "BPHS Ch. 75, v. 5: Saturn in own sign (Capricorn/Aquarius) or exaltation (Libra) "
              "in a Kendra. Native is powerful, disciplined, and long-lived.");
    for (const YogaResult& y : yogas) EXPECT_TRUE(y.is_present);
}

TEST(YogaEngine, MahapurushaNeedsKendraAndDignity) {
    // Own sign outside a kendra; kendra in a foreign sign; kendra with no sign known.
    PlanetPosition unsigned_mars = at(Planet::Mars, Sign::Aries, 4);
    unsigned_mars.sign.reset();
    for (const auto& p : {at(Planet::Mars, Sign::Aries, 5), at(Planet::Jupiter, Sign::Leo, 1),
                          unsigned_mars}) {
        EXPECT_TRUE(detect_yogas({p}, kAriesAscendant).empty());
    }
}

TEST(YogaEngine, GajakesariCountsKendrasFromTheMoon) {
    for (uint8_t jupiter_house : {5, 8, 11, 2}) {  // 1st, 4th, 7th, 10th from house 5
        const auto yogas = detect_yogas(
            {at(Planet::Moon, Sign::Leo, 5), at(Planet::Jupiter, Sign::Aries, jupiter_house)},
            kAriesAscendant);
        const YogaResult* y = find_yoga(yogas, "Gajakesari Yoga");
        ASSERT_NE(y, nullptr) << int(jupiter_house);
        EXPECT_EQ(y->category, "Raja");
        EXPECT_EQ(y->planets_involved, (Planets{Planet::Moon, Planet::Jupiter}));
    }
    const auto off = detect_yogas(
        {at(Planet::Moon, Sign::Leo, 5), at(Planet::Jupiter, Sign::Aries, 6)}, kAriesAscendant);
    EXPECT_EQ(find_yoga(off, "Gajakesari Yoga"), nullptr);
    EXPECT_TRUE(detect_yogas({at(Planet::Jupiter, Sign::Aries, 6)}, kAriesAscendant).empty());
}

TEST(YogaEngine, BudhadityaIsDecidedBySign) {
    const auto same_sign = detect_yogas(
        {at(Planet::Sun, Sign::Gemini, 3), at(Planet::Mercury, Sign::Gemini, 5)}, kAriesAscendant);
    EXPECT_EQ(names(same_sign), std::vector<std::string>{"Budhaditya Yoga"});
    EXPECT_EQ(same_sign[0].planets_involved, (Planets{Planet::Sun, Planet::Mercury}));
    const auto same_house = detect_yogas(
        {at(Planet::Sun, Sign::Gemini, 3), at(Planet::Mercury, Sign::Cancer, 3)}, kAriesAscendant);
    EXPECT_TRUE(same_house.empty());
}

TEST(YogaEngine, ChandraMangalaByDistanceOrSign) {
    auto with_mars = [](Sign sign, uint8_t house) {
        return detect_yogas({at(Planet::Moon, Sign::Aries, 1), at(Planet::Mars, sign, house)},
                            kAriesAscendant);
    };
    const auto eighth = with_mars(Sign::Scorpio, 8);  // d = 7
    ASSERT_EQ(names(eighth), std::vector<std::string>{"Chandra-Mangala Yoga"});
    EXPECT_EQ(eighth[0].category, "Dhana");
    EXPECT_EQ(eighth[0].planets_involved, (Planets{Planet::Moon, Planet::Mars}));
    EXPECT_TRUE(with_mars(Sign::Sagittarius, 9).empty());       // d = 8
    EXPECT_EQ(with_mars(Sign::Aries, 9).size(), 1u);            // d = 8 but the same sign
}

TEST(YogaEngine, PlanetsAroundTheSun) {
    // Rahu counts; the Moon never does.
    const auto rahu = detect_yogas(
        {at(Planet::Sun, Sign::Aries, 1), at(Planet::Rahu, Sign::Taurus, 2)}, kAriesAscendant);
    ASSERT_EQ(names(rahu), std::vector<std::string>{"Vesi Yoga"});
    EXPECT_EQ(rahu[0].planets_involved, (Planets{Planet::Sun, Planet::Rahu}));
    EXPECT_TRUE(detect_yogas({at(Planet::Sun, Sign::Aries, 1), at(Planet::Moon, Sign::Taurus, 2)},
                             kAriesAscendant)
                    .empty());

    // Sun in house 1: the 12th is house 12, and both sides make Ubhayachari.
    const auto both = detect_yogas(
        {at(Planet::Sun, Sign::Aries, 1), at(Planet::Mars, Sign::Pisces, 12),
         at(Planet::Venus, Sign::Taurus, 2), at(Planet::Saturn, Sign::Pisces, 12),
         at(Planet::Ketu, Sign::Taurus, 2)},
        kAriesAscendant);
    EXPECT_EQ(names(both),
              (std::vector<std::string>{"Vesi Yoga", "Vosi Yoga", "Ubhayachari Yoga"}));
    EXPECT_EQ(both[0].planets_involved, (Planets{Planet::Sun, Planet::Venus, Planet::Ketu}));
    EXPECT_EQ(both[1].planets_involved, (Planets{Planet::Sun, Planet::Mars, Planet::Saturn}));
    EXPECT_EQ(both[2].category, "Raja");
    EXPECT_EQ(both[2].planets_involved, (Planets{Planet::Sun, Planet::Mars, Planet::Venus,
                                                 Planet::Saturn, Planet::Ketu}));
}

TEST(YogaEngine, NeechabhangaOnePerCancelledPlanet) {
    const std::string description =
        "BPHS Ch. 34, v. 2\u20134: A debilitated planet's debilitation is cancelled because its "
        "dispositor (lord of debilitation sign) or exaltation lord is in a Kendra. The initial "
        "weakness transforms into a source of strength.";
    // Sun in Libra, its dispositor Venus in house 7.
    const auto sun = detect_yogas(
        {at(Planet::Sun, Sign::Libra, 3), at(Planet::Venus, Sign::Leo, 7)}, kAriesAscendant);
    ASSERT_EQ(names(sun), std::vector<std::string>{"Neechabhanga Raja Yoga"});
    EXPECT_EQ(sun[0].planets_involved, Planets{Planet::Sun});
    EXPECT_EQ(sun[0].description, description);

    // Through the exaltation lord: Sun (exalted in Aries) and Saturn (debilitated in Aries)
    // both lean on Mars in a kendra; records follow table order.
    const auto two = detect_yogas({at(Planet::Saturn, Sign::Aries, 2),
                                   at(Planet::Sun, Sign::Libra, 8), at(Planet::Mars, Sign::Leo, 4),
                                   at(Planet::Venus, Sign::Leo, 5)},
                                  kAriesAscendant);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].planets_involved, Planets{Planet::Sun});
    EXPECT_EQ(two[1].planets_involved, Planets{Planet::Saturn});

    EXPECT_TRUE(detect_yogas({at(Planet::Sun, Sign::Libra, 3), at(Planet::Venus, Sign::Leo, 5)},
                             kAriesAscendant)
                    .empty());
}

TEST(YogaEngine, DharmaKarmadhipati) {
    // Aries rising: the 9th sign Sagittarius is Jupiter's, the 10th Capricorn Saturn's.
    auto detect = [](PlanetPosition jupiter, PlanetPosition saturn, double ascendant) {
        return find_yoga(detect_yogas({jupiter, saturn}, ascendant), "Dharma-Karmadhipati Yoga") !=
               nullptr;
    };
    const auto conjunct = detect_yogas(
        {at(Planet::Jupiter, Sign::Gemini, 3), at(Planet::Saturn, Sign::Gemini, 4)},
        kAriesAscendant);
    const YogaResult* y = find_yoga(conjunct, "Dharma-Karmadhipati Yoga");
    ASSERT_NE(y, nullptr);
    EXPECT_EQ(y->planets_involved, (Planets{Planet::Jupiter, Planet::Saturn}));
    EXPECT_EQ(y->description,
              "BPHS Ch. 41, v. 1\u20132: Lords of the 9th and 10th houses are conjunct, in mutual "
              "aspect, or exchange signs. This is among the most powerful Raja Yogas \u2014 the "
              "native achieves great success, authority, and fulfills life purpose.");
    EXPECT_TRUE(detect(at(Planet::Jupiter, Sign::Gemini, 3), at(Planet::Saturn, Sign::Sagittarius, 9),
                       kAriesAscendant));  // 7th from each other
    EXPECT_TRUE(detect(at(Planet::Jupiter, Sign::Capricorn, 2),
                       at(Planet::Saturn, Sign::Sagittarius, 5), kAriesAscendant));  // exchange
    EXPECT_FALSE(detect(at(Planet::Jupiter, Sign::Gemini, 3), at(Planet::Saturn, Sign::Leo, 5),
                        kAriesAscendant));
    EXPECT_FALSE(detect(at(Planet::Jupiter, Sign::Gemini, std::nullopt),
                        at(Planet::Saturn, Sign::Gemini, 4), kAriesAscendant));

    // Taurus rising: Saturn rules both the 9th and the 10th.
    EXPECT_FALSE(detect(at(Planet::Jupiter, Sign::Gemini, 3), at(Planet::Saturn, Sign::Gemini, 3),
                        45.0));
}

TEST(YogaEngine, DharmaKarmadhipatiAscendantOutOfRange) {
    // The stored ascendant is used unreduced: 1e9 saturates to 255, i.e. Cancer rising
    // (Pisces 9th, Jupiter; Aries 10th, Mars); NaN and negatives read as Aries.
    const std::vector<PlanetPosition> jupiter_mars = {at(Planet::Mars, Sign::Gemini, 3),
                                                      at(Planet::Jupiter, Sign::Gemini, 3)};
    const auto cancer = detect_yogas(jupiter_mars, 1e9);
    ASSERT_EQ(cancer.size(), 1u);
    EXPECT_EQ(cancer[0].planets_involved, (Planets{Planet::Jupiter, Planet::Mars}));
    const std::vector<PlanetPosition> jupiter_saturn = {at(Planet::Saturn, Sign::Gemini, 3),
                                                        at(Planet::Jupiter, Sign::Gemini, 3)};
    EXPECT_EQ(detect_yogas(jupiter_saturn, std::nan("")).size(), 1u);
    EXPECT_EQ(detect_yogas(jupiter_saturn, -100.0).size(), 1u);
}

}  // namespace
}  // namespace zk
