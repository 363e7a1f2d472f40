// The chart's yoga list, detected on hand-built planet lists.
#include <gtest/gtest.h>

#include <cmath>

#include "charts/yoga_engine.hpp"
#include "hand_chart.hpp"

namespace zk {
namespace {

using Lines = std::vector<std::string>;

// "Name: Planet Planet" per record, in list order.
Lines summary(const std::string& planet_text, double ascendant) {
    Lines out;
    for (const YogaResult& y : detect_yogas(testing::planets(planet_text), ascendant)) {
        EXPECT_TRUE(y.is_present);
        std::string line = y.name + ":";
        for (Planet p : y.planets_involved) line += " " + std::string(planet_name(p));
        out.push_back(line);
    }
    return out;
}

constexpr double kAries = 10.0;  // ascendant longitude

TEST(YogaEngine, EachCheckHoldingAndNot) {
    struct Case {
        const char* planets;
        double ascendant;
        Lines expected;
    };
    const Case cases[] = {
        {"", kAries, {}},
        {"Sun Aries 1, Mars Leo 5, Jupiter Gemini 3", kAries, {}},  // no Moon, nothing forms
        {"Saturn Libra 7, Venus Pisces 4, Jupiter Cancer 10, Mercury Virgo 1, Mars Capricorn 1",
         kAries,
         {"Ruchaka Yoga: Mars", "Bhadra Yoga: Mercury", "Hamsa Yoga: Jupiter",
          "Malavya Yoga: Venus", "Shasha Yoga: Saturn"}},
        {"Mars Aries 5, Jupiter Leo 1, Venus - 4", kAries, {}},  // not kendra / not dignified
        {"Moon Leo 5, Jupiter Aries 2", kAries, {"Gajakesari Yoga: Moon Jupiter"}},
        {"Moon Leo 5, Jupiter Aries 6", kAries, {}},
        {"Sun Gemini 3, Mercury Gemini 5", kAries, {"Budhaditya Yoga: Sun Mercury"}},
        {"Sun Gemini 3, Mercury Cancer 3", kAries, {}},  // same house is not enough
        {"Moon Aries 1, Mars Scorpio 8", kAries, {"Chandra-Mangala Yoga: Moon Mars"}},
        {"Moon Aries 1, Mars Sagittarius 9", kAries, {}},
        {"Moon Aries 1, Mars Aries 9", kAries, {"Chandra-Mangala Yoga: Moon Mars"}},
        {"Sun Aries 1, Rahu Taurus 2", kAries, {"Vesi Yoga: Sun Rahu"}},
        {"Sun Aries 1, Moon Taurus 2", kAries, {}},
        {"Sun Aries 1, Mars Pisces 12, Venus Taurus 2, Saturn Pisces 12, Ketu Taurus 2",
         kAries,
         {"Vesi Yoga: Sun Venus Ketu", "Vosi Yoga: Sun Mars Saturn",
          "Ubhayachari Yoga: Sun Mars Venus Saturn Ketu"}},
        {"Sun Libra 3, Venus Leo 7", kAries, {"Neechabhanga Raja Yoga: Sun"}},
        // Mars is the Sun's exaltation lord and Saturn's dispositor.
        {"Saturn Aries 2, Sun Libra 8, Mars Leo 4, Venus Leo 5",
         kAries,
         {"Neechabhanga Raja Yoga: Sun", "Neechabhanga Raja Yoga: Saturn"}},
        {"Sun Libra 3, Venus Leo 5", kAries, {}},
        // Aries rising: Jupiter rules the 9th sign, Saturn the 10th.
        {"Jupiter Gemini 3, Saturn Gemini 4", kAries, {"Dharma-Karmadhipati Yoga: Jupiter Saturn"}},
        {"Jupiter Gemini 3, Saturn Sagittarius 9",
         kAries,
         {"Dharma-Karmadhipati Yoga: Jupiter Saturn"}},
        {"Jupiter Capricorn 2, Saturn Sagittarius 5",  // exchange
         kAries,
         {"Dharma-Karmadhipati Yoga: Jupiter Saturn"}},
        {"Jupiter Gemini 3, Saturn Leo 5", kAries, {}},
        {"Jupiter Gemini -, Saturn Gemini 4", kAries, {}},
        {"Jupiter Gemini 3, Saturn Gemini 3", 45.0, {}},  // Taurus: Saturn rules both
        // The stored ascendant is not reduced: 1e9 saturates to 255, i.e. Cancer rising
        // (Jupiter, Mars); NaN and negatives read as Aries.
        {"Mars Gemini 3, Jupiter Gemini 3", 1e9, {"Dharma-Karmadhipati Yoga: Jupiter Mars"}},
        {"Saturn Gemini 3, Jupiter Gemini 3",
         std::nan(""),
         {"Dharma-Karmadhipati Yoga: Jupiter Saturn"}},
        {"Saturn Gemini 3, Jupiter Gemini 3", -100.0, {"Dharma-Karmadhipati Yoga: Jupiter Saturn"}},
    };
    for (const Case& c : cases) EXPECT_EQ(summary(c.planets, c.ascendant), c.expected) << c.planets;
}

TEST(YogaEngine, CategoriesAndCitedDescriptions) {
    const auto yogas = detect_yogas(testing::planets("Moon Aries 1, Mars Aries 1, Jupiter Gemini "
                                                     "4, Saturn Gemini 4, Sun Libra 10, Venus "
                                                     "Gemini 9"),
                                    kAries);
    Lines categories;
    for (const YogaResult& y : yogas) categories.push_back(y.name + "/" + y.category);
    ASSERT_EQ(categories, (Lines{"Ruchaka Yoga/Mahapurusha", "Gajakesari Yoga/Raja",
                                 "Chandra-Mangala Yoga/Dhana", "Vosi Yoga/Other",
                                 "Neechabhanga Raja Yoga/Raja", "Dharma-Karmadhipati Yoga/Raja"}));
    EXPECT_EQ(yogas[4].description,
              "BPHS Ch. 34, v. 2\u20134: A debilitated planet's debilitation is cancelled because "
              "its dispositor (lord of debilitation sign) or exaltation lord is in a Kendra. The "
              "initial weakness transforms into a source of strength.");
    EXPECT_EQ(yogas[5].description,
              "BPHS Ch. 41, v. 1\u20132: Lords of the 9th and 10th houses are conjunct, in mutual "
              "aspect, or exchange signs. This is among the most powerful Raja Yogas \u2014 the "
              "native achieves great success, authority, and fulfills life purpose.");
}

}  // namespace
}  // namespace zk
