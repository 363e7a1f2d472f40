// The chart's JSON document, on hand-built records.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "render/chart_json.hpp"
#include "render/json_writer.hpp"

// Records below are built with designated initialisers that leave the other members default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zk {
namespace {

using Json = nlohmann::ordered_json;

// Every kind of nested record present once, with the optional parts left unset.
Chart full_chart() {
    Chart c;
    c.datetime = *make_utc(2000, 1, 1, 12, 0, 0);
    c.ayanamsa = {AyanamsaMode::Kind::Custom, 24.0};
    c.ascendant = 95.0;
    c.planets = {{.longitude = 256.25, .shadbala = ShadbalaScore{}},
                 {.planet = Planet::Moon, .longitude = 45.75}};
    c.ascendant_divisional_signs = {{9, Sign::Libra}, {2, Sign::Cancer}};
    c.houses = {{1, 95.0}};
    const int64_t start = to_unix_seconds(c.datetime);
    c.dasha["vimshottari"] = {{Planet::Sun, start, start + 1, {{Planet::Sun, start, start, {}}}}};
    c.divisional_charts[9] = {{Planet::Moon, 45.75, 9, Sign::Leo, 5, std::nullopt, {}}};
    c.aspects = {{Planet::Saturn, 3, {}, 0.75, true}};
    c.yogas = {{"Gajakesari", "Raja", "in a kendra \u2013 \"strong\"", {}, true}};
    c.metadata.timezone.reset();
    return c;
}

TEST(ChartJson, ValuesAreWrittenByNameWithNullsForMissingParts) {
    const std::string text = chart_to_json(full_chart());
    EXPECT_EQ(Json::parse(text).dump(), text);  // compact
    EXPECT_TRUE(text.ends_with(R"(],"ascendant_divisional_signs":{"9":"Libra","2":"Cancer"}})"));
    for (const char* part : {"\u2013 \\\"strong\\\"", R"("house":null,)", R"("shadbala":null})",
                             R"("display_longitude":null,)", R"("to_planet":null,)",
                             R"("timezone":null,)", R"("start":"2000-01-01T12:00:00Z",)"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
}

// The text the generic writer makes of the same events.
std::string through_writer(const Chart& c) {
    JsonWriter w;
    write_chart(w, c);
    return w.take();
}

TEST(ChartJson, TextIsWhatTheWriterMakesOfTheSameEvents) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<Chart> charts(4, full_chart());
    charts[1].ayanamsa = {AyanamsaMode::Kind::Raman, 0.0};
    charts[1].datetime = {-5, 2, 29, 23, 59, 59};
    charts[1].planets[0].longitude = nan;
    charts[1].planets[1].latitude = -inf;
    charts[1].planets[1].speed = -0.0;
    charts[1].planets[1].sign = Sign::Pisces;
    charts[1].planets[1].nakshatra = Nakshatra::Revati;
    charts[1].planets[1].house = 12;
    charts[1].planets[1].divisional_signs = {{9, Sign::Leo}, {60, Sign::Aries}};
    charts[1].metadata.input_mode = std::string("tab\there \"q\" back\\slash \x01\x1f\x7f", 27);
    charts[1].warnings = {"", "\u0917\u091c \u2013 \u2014", std::string("nul\0inside", 10)};
    charts[2].datetime = {12000, 12, 31, 0, 0, 0};
    charts[2].ascendant = 1e-7;
    charts[2].location = {-1e16, 123456789012345.0, 1e300};
    charts[2].karakas = {{Planet::Moon, Karaka::Darakaraka}, {Planet::Sun, Karaka::Atmakaraka}};
    charts[2].ashtakavarga.binna["sun"] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 255};
    charts[2].divisional_charts[60] = {
        {Planet::Ketu, 359.99999999999994, 60, Sign::Pisces, 1, 0.5, {"a \"warning\""}}};
    charts[2].yogas.push_back({"", "", "", {Planet::Rahu, Planet::Ketu}, false});
    charts[3] = Chart{};                              // nothing but defaults and empty containers
    charts[3].datetime = {2000, 13, 32, 24, 75, 99};  // fields written as they are
    std::string buffer = "left from before";
    for (const Chart& c : charts) {
        const std::string expected = through_writer(c);
        EXPECT_EQ(chart_to_json(c), expected);
        write_chart_text(buffer, c);  // the buffer of the previous document, reused
        EXPECT_EQ(buffer, expected);
    }
}

// Dasha instants are formatted by their own calendar arithmetic: every day of the years
// -1 to 10000, at a second of the day that moves by 3607 s a day, against the calendar's.
TEST(ChartJson, DashaInstantsOfEveryDayAgreeWithTheCalendar) {
    const int64_t first = to_unix_seconds(*make_utc(-1, 12, 31, 0, 0, 0));
    const int64_t last = to_unix_seconds(*make_utc(10000, 1, 2, 0, 0, 0));
    Chart c;
    std::vector<DashaPeriod>& periods = c.dasha["vimshottari"];
    int64_t at = first;
    while (at < last) {
        periods.clear();
        for (int i = 0; i < 200000 && at < last; ++i, at += 86400 + 3607) {
            periods.push_back({Planet::Moon, at, at + 43200 + i % 86400, {}});
        }
        ASSERT_EQ(chart_to_json(c), through_writer(c)) << "from " << periods.front().start;
    }
}

}  // namespace
}  // namespace zk
