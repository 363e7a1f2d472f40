// The chart's yoga list, detected on hand-built planet lists.
#include <gtest/gtest.h>

#include <tuple>

#include "chart/yoga_engine.hpp"
#include "hand_chart.hpp"

namespace zk {
namespace {

using Lines = std::vector<std::string>;

// "Name/Category: Planet Planet" per record, in list order.
Lines summary(const std::string& planet_text, double ascendant = 10.0) {
    Lines out;
    for (const YogaResult& y : detect_yogas(testing::planets(planet_text), ascendant)) {
        std::string line = y.name + "/" + y.category + ":";
        for (Planet p : y.planets_involved) line += " " + std::string(planet_name(p));
        out.push_back(line);
    }
    return out;
}

TEST(YogaEngine, EachCheckHoldingAndNot) {
    EXPECT_EQ(summary("Sun Aries 1, Mars Leo 5, Jupiter Gemini 3"), Lines{});  // no Moon
    EXPECT_EQ(summary("Saturn Libra 7, Venus Pisces 4, Jupiter Cancer 10, Mercury Virgo 1, "
                      "Mars Capricorn 1, Sun Libra 4"),
              (Lines{"Ruchaka Yoga/Mahapurusha: Mars", "Bhadra Yoga/Mahapurusha: Mercury",
                     "Hamsa Yoga/Mahapurusha: Jupiter", "Malavya Yoga/Mahapurusha: Venus",
                     "Shasha Yoga/Mahapurusha: Saturn", "Neechabhanga Raja Yoga/Raja: Sun"}));
    const std::pair<const char*, const char*> cases[] = {
        // planets, yoga or "" for none
        {"Mars Aries 5, Jupiter Leo 1, Venus - 4", ""},  // not kendra / not dignified
        {"Moon Leo 5, Jupiter Aries 2", "Gajakesari Yoga/Raja: Moon Jupiter"},
        {"Moon Leo 5, Jupiter Aries 6", ""},
        {"Sun Gemini 3, Mercury Gemini 5", "Budhaditya Yoga/Other: Sun Mercury"},
        {"Sun Gemini 3, Mercury Cancer 3", ""},  // same house is not enough
        {"Moon Aries 1, Mars Scorpio 8", "Chandra-Mangala Yoga/Dhana: Moon Mars"},
        {"Moon Aries 1, Mars Sagittarius 9", ""},
        {"Sun Aries 1, Rahu Taurus 2", "Vesi Yoga/Other: Sun Rahu"},
        {"Sun Aries 1, Moon Taurus 2", ""},
        {"Sun Libra 3, Venus Leo 5", ""},  // the dispositor out of kendra
        // Aries rising: Jupiter rules the 9th sign, Saturn the 10th.
        {"Jupiter Gemini 3, Saturn Gemini 4", "Dharma-Karmadhipati Yoga/Raja: Jupiter Saturn"},
        {"Jupiter Gemini 3, Saturn Sagittarius 9", "Dharma-Karmadhipati Yoga/Raja: Jupiter Saturn"},
        {"Jupiter Capricorn 2, Saturn Sagittarius 5",  // exchange
         "Dharma-Karmadhipati Yoga/Raja: Jupiter Saturn"},
        {"Jupiter Gemini 3, Saturn Leo 5", ""},
    };
    for (const auto& [planets, expected] : cases) {
        EXPECT_EQ(summary(planets), *expected ? Lines{expected} : Lines{}) << planets;
    }
    EXPECT_EQ(summary("Sun Aries 1, Mars Pisces 12, Venus Taurus 2, Saturn Pisces 12"),
              (Lines{"Vesi Yoga/Other: Sun Venus", "Vosi Yoga/Other: Sun Mars Saturn",
                     "Ubhayachari Yoga/Raja: Sun Mars Venus Saturn"}));
    // Taurus rising: Saturn rules both the 9th and the 10th, so nothing is formed.
    EXPECT_EQ(summary("Jupiter Gemini 3, Saturn Gemini 3", 45.0), Lines{});
}

}  // namespace
}  // namespace zk
