// The chart's JSON document and its short texts, on hand-built records.
#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "calc/chart_json.hpp"
#include "calc/chart_text.hpp"

namespace zk {
namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> keys_of(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

PlanetPosition planet(Planet p, double lon, std::optional<uint8_t> house) {
    PlanetPosition pos;
    pos.planet = p;
    pos.longitude = lon;
    pos.sign = sign_from_longitude(lon);
    pos.nakshatra = nakshatra_from_longitude(lon);
    pos.house = house;
    return pos;
}

// Every kind of nested record present once, with the optional parts both set and unset.
Chart full_chart() {
    Chart c;
    c.datetime = *make_utc(2000, 1, 1, 12, 0, 0);
    c.location = {27.7, 85.3, 1400.0};
    c.ayanamsa = {AyanamsaMode::Kind::Custom, 24.0};
    c.ascendant = 95.0;
    PlanetPosition sun = planet(Planet::Sun, 256.25, 6);
    sun.divisional_signs = {{9, Sign::Leo}, {10, Sign::Aries}, {2, Sign::Cancer}};
    sun.shadbala = ShadbalaScore{1.5, 2.0, 3.0, 4.0, 60.0, 0.0, 70.5, 390.0, false};
    sun.is_own_sign = true;
    c.planets = {sun, planet(Planet::Moon, 45.75, std::nullopt)};
    c.houses = {{1, 95.0}, {2, 125.0}};
    DashaPeriod inner{Planet::Venus, to_unix_seconds(*make_utc(2001, 2, 3, 4, 5, 6)),
                      to_unix_seconds(*make_utc(2002, 1, 1, 0, 0, 0)), {}};
    DashaPeriod outer{Planet::Sun, to_unix_seconds(c.datetime),
                      to_unix_seconds(*make_utc(2006, 1, 1, 0, 0, 0)), {inner}};
    c.dasha["vimshottari"] = {outer};
    VargaPosition v{Planet::Moon, 45.75, 9, Sign::Leo, 5, std::nullopt, {"no display"}};
    VargaPosition w{Planet::Sun, 256.25, 10, Sign::Aries, 1, 12.5, {}};
    c.divisional_charts = {{10, {w}}, {9, {v}}};
    c.karakas = {{Planet::Jupiter, Karaka::Atmakaraka}};
    c.aspects = {{Planet::Mars, 7, Planet::Venus, 1.0, false}, {Planet::Saturn, 3, {}, 0.75, true}};
    c.ashtakavarga.binna["sun"] = {1, 2, 3, 4, 5, 6, 7, 8, 0, 1, 2, 3};
    c.ashtakavarga.sarva = {28, 29, 30, 31, 32, 33, 34, 35, 36, 20, 21, 28};
    c.yogas = {{"Gajakesari", "Raja", "Jupiter in a kendra \u2013 from the Moon \"strong\"",
                {Planet::Jupiter, Planet::Moon}, true}};
    c.metadata.utc_datetime = "2000-01-01T12:00:00+00:00";
    c.metadata.timezone.reset();
    c.metadata.ayanamsa = "Custom(24.0)";
    c.metadata.house_system = "Equal";
    c.warnings = {"first", "second"};
    return c;
}

TEST(ChartJson, MembersAndNestedRecordsKeepTheirOrder) {
    const Json doc = Json::parse(chart_to_json(full_chart()));
    EXPECT_EQ(keys_of(doc),
              (std::vector<std::string>{"datetime", "location", "ayanamsa", "planets",
                                        "ascendant", "houses", "dasha", "divisional_charts",
                                        "karakas", "aspects", "ashtakavarga", "yogas",
                                        "metadata", "warnings"}));
    EXPECT_EQ(keys_of(doc["location"]),
              (std::vector<std::string>{"latitude", "longitude", "altitude"}));
    EXPECT_EQ(keys_of(doc["planets"][0]),
              (std::vector<std::string>{"planet", "longitude", "latitude", "speed",
                                        "is_retrograde", "sign", "nakshatra", "house",
                                        "divisional_signs", "is_exalted", "is_debilitated",
                                        "is_own_sign", "is_moolatrikona", "is_vargottama",
                                        "shadbala"}));
    EXPECT_EQ(keys_of(doc["planets"][0]["shadbala"]),
              (std::vector<std::string>{"sthana_bala", "dik_bala", "kala_bala", "chesta_bala",
                                        "naisargika_bala", "drik_bala", "total", "required",
                                        "is_sufficient"}));
    EXPECT_EQ(keys_of(doc["houses"][0]), (std::vector<std::string>{"house", "cusp"}));
    const std::vector<std::string> dasha_keys{"lord_name", "start", "end", "sub_periods"};
    EXPECT_EQ(keys_of(doc["dasha"]["vimshottari"][0]), dasha_keys);
    EXPECT_EQ(keys_of(doc["dasha"]["vimshottari"][0]["sub_periods"][0]), dasha_keys);
    EXPECT_EQ(keys_of(doc["divisional_charts"]["9"][0]),
              (std::vector<std::string>{"planet", "source_longitude", "varga", "varga_sign",
                                        "varga_index", "display_longitude", "warnings"}));
    EXPECT_EQ(keys_of(doc["aspects"][0]),
              (std::vector<std::string>{"from_planet", "to_house", "to_planet", "strength",
                                        "is_special"}));
    EXPECT_EQ(keys_of(doc["ashtakavarga"]), (std::vector<std::string>{"binna", "sarva"}));
    EXPECT_EQ(keys_of(doc["yogas"][0]),
              (std::vector<std::string>{"name", "category", "description", "planets_involved",
                                        "is_present"}));
    EXPECT_EQ(keys_of(doc["metadata"]),
              (std::vector<std::string>{"input_mode", "utc_datetime", "timezone", "latitude",
                                        "longitude", "altitude", "ayanamsa", "house_system",
                                        "true_nodes", "ephemeris", "longitude_type",
                                        "calculation_version"}));
}

TEST(ChartJson, ValuesAreWrittenByNameWithNullsForMissingParts) {
    const std::string text = chart_to_json(full_chart());
    // Compact: re-serialising the parsed document reproduces the text byte for byte.
    EXPECT_EQ(Json::parse(text).dump(), text);
    EXPECT_EQ(text.rfind("{\"datetime\":\"2000-01-01T12:00:00Z\",", 0), 0u);
    EXPECT_NE(text.find(R"("ayanamsa":{"Custom":24.0},)"), std::string::npos);
    EXPECT_NE(text.find(R"("ascendant":95.0,)"), std::string::npos);
    EXPECT_NE(text.find("\u2013 from the Moon \\\"strong\\\""), std::string::npos);

    const Json doc = Json::parse(text);
    const Json& sun = doc["planets"][0];
    EXPECT_EQ(sun["planet"], "Sun");
    EXPECT_EQ(sun["sign"], "Sagittarius");
    EXPECT_EQ(sun["nakshatra"], "PurvaAshadha");
    EXPECT_EQ(sun["house"], 6);
    // Map-derived members have no defined order.
    EXPECT_EQ(nlohmann::json::parse(sun["divisional_signs"].dump()),
              nlohmann::json::parse(R"({"2":"Cancer","9":"Leo","10":"Aries"})"));
    EXPECT_EQ(sun["is_own_sign"], true);
    EXPECT_EQ(sun["shadbala"]["total"], 70.5);
    EXPECT_EQ(sun["shadbala"]["is_sufficient"], false);
    const Json& moon = doc["planets"][1];
    EXPECT_TRUE(moon["house"].is_null());
    EXPECT_TRUE(moon["shadbala"].is_null());

    const Json& sub = doc["dasha"]["vimshottari"][0]["sub_periods"][0];
    EXPECT_EQ(sub["start"], "2001-02-03T04:05:06Z");
    EXPECT_EQ(sub["sub_periods"], Json::array());
    EXPECT_TRUE(doc["divisional_charts"]["9"][0]["display_longitude"].is_null());
    EXPECT_EQ(doc["divisional_charts"]["9"][0]["warnings"], Json::array({"no display"}));
    EXPECT_EQ(doc["divisional_charts"]["10"][0]["display_longitude"], 12.5);
    EXPECT_EQ(doc["karakas"], Json::parse(R"({"Jupiter":"Atmakaraka"})"));
    EXPECT_EQ(doc["aspects"][0]["to_planet"], "Venus");
    EXPECT_TRUE(doc["aspects"][1]["to_planet"].is_null());
    EXPECT_EQ(doc["ashtakavarga"]["binna"]["sun"][8], 0);
    EXPECT_EQ(doc["ashtakavarga"]["sarva"].size(), 12u);
    EXPECT_EQ(doc["yogas"][0]["planets_involved"], Json::array({"Jupiter", "Moon"}));
    EXPECT_TRUE(doc["metadata"]["timezone"].is_null());
    EXPECT_EQ(doc["warnings"], Json::array({"first", "second"}));
}

TEST(ChartJson, NamedAyanamsaAndEmptyParts) {
    Chart c;
    c.ayanamsa = {AyanamsaMode::Kind::TrueChitra, 0.0};
    c.ascendant = std::numeric_limits<double>::quiet_NaN();
    const Json doc = Json::parse(chart_to_json(c));
    EXPECT_EQ(doc["ayanamsa"], "TrueChitra");
    EXPECT_TRUE(doc["ascendant"].is_null());
    EXPECT_EQ(doc["planets"], Json::array());
    EXPECT_EQ(doc["dasha"], Json::object());
    EXPECT_EQ(doc["ashtakavarga"],
              Json::parse(R"({"binna":{},"sarva":[0,0,0,0,0,0,0,0,0,0,0,0]})"));
}

TEST(ChartText, SummaryLineRoundsHalfToEvenAndNamesTheAyanamsa) {
    Chart c = full_chart();
    c.ascendant = 82.125;  // an exact tie: half to even gives 82.12
    EXPECT_EQ(chart_summary(c), "<Chart asc=82.12\u00b0 Moon 45.8\u00b0 ayanamsa=Custom(24.0)>");
    c.planets.erase(c.planets.begin() + 1);
    c.ayanamsa = {AyanamsaMode::Kind::Lahiri, 0.0};
    EXPECT_EQ(chart_summary(c), "<Chart asc=82.12\u00b0  ayanamsa=Lahiri>");
}

TEST(ChartText, ListingHasOneLinePerPlanetAndNoTrailingNewline) {
    const Chart c = full_chart();
    EXPECT_EQ(chart_listing(c),
              "ZodiaKit Chart\nAscendant: 95.00\u00b0\nPlanets:\n"
              "  Sun: 256.2\u00b0 Sagittarius\n  Moon: 45.8\u00b0 Taurus");
    EXPECT_EQ(chart_listing(Chart{}), "ZodiaKit Chart\nAscendant: 0.00\u00b0\nPlanets:");
}

}  // namespace
}  // namespace zk
