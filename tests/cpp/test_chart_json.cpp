// The chart's JSON document, on hand-built records.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "render/chart_json.hpp"

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

TEST(ChartJson, MembersAndNestedRecordsKeepTheirOrder) {
    const Json doc = Json::parse(chart_to_json(full_chart()));
    const std::pair<const char*, const char*> orders[] = {
        {"",
         "datetime,location,ayanamsa,planets,ascendant,houses,dasha,divisional_charts,"
         "karakas,aspects,ashtakavarga,yogas,metadata,warnings,ascendant_divisional_signs"},
        {"/location", "latitude,longitude,altitude"},
        {"/planets/0",
         "planet,longitude,latitude,speed,is_retrograde,sign,nakshatra,house,"
         "divisional_signs,is_exalted,is_debilitated,is_own_sign,is_moolatrikona,"
         "is_vargottama,shadbala"},
        {"/planets/0/shadbala",
         "sthana_bala,dik_bala,kala_bala,chesta_bala,naisargika_bala,"
         "drik_bala,total,required,is_sufficient"},
        {"/houses/0", "house,cusp"},
        {"/dasha/vimshottari/0", "lord_name,start,end,sub_periods"},
        {"/dasha/vimshottari/0/sub_periods/0", "lord_name,start,end,sub_periods"},
        {"/divisional_charts/9/0",
         "planet,source_longitude,varga,varga_sign,varga_index,"
         "display_longitude,warnings"},
        {"/aspects/0", "from_planet,to_house,to_planet,strength,is_special"},
        {"/ashtakavarga", "binna,sarva"},
        {"/yogas/0", "name,category,description,planets_involved,is_present"},
        {"/metadata",
         "input_mode,utc_datetime,timezone,latitude,longitude,altitude,ayanamsa,"
         "house_system,true_nodes,ephemeris,longitude_type,calculation_version"},
    };
    for (const auto& [path, expected] : orders) {
        std::string keys;
        for (const auto& item : doc.at(Json::json_pointer(path)).items()) keys += item.key() + ",";
        EXPECT_EQ(keys, std::string(expected) + ",") << path;
    }
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

}  // namespace
}  // namespace zk
