// The closed vocabularies: name and lord tables, longitude lookups, option-string parsers.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "core/vocab.hpp"

namespace zk {
namespace {

using K = AyanamsaMode::Kind;

TEST(Names, PlanetsInChartOrder) {
    const char* expected[] = {"Sun",     "Moon",  "Mars",   "Mercury", "Jupiter",
                              "Venus",   "Saturn", "Rahu",  "Ketu"};
    for (Planet p : kAllPlanets) {
        EXPECT_EQ(planet_name(p), expected[planet_index(p)]);
        EXPECT_EQ(planet_key(p), to_lower(expected[planet_index(p)]));
        EXPECT_EQ(planet_from_lower_name(planet_key(p)), p);
    }
    EXPECT_EQ(planet_from_lower_name("Sun"), std::nullopt);  // callers lower-case first
    EXPECT_EQ(planet_from_lower_name("pluto"), std::nullopt);
    EXPECT_EQ(planet_from_lower_name(""), std::nullopt);
}

TEST(Names, SignsAndTheirLords) {
    const char* names[] = {"Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
                           "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
    const Planet lords[] = {Planet::Mars,    Planet::Venus,  Planet::Mercury, Planet::Moon,
                            Planet::Sun,     Planet::Mercury, Planet::Venus,  Planet::Mars,
                            Planet::Jupiter, Planet::Saturn, Planet::Saturn,  Planet::Jupiter};
    for (unsigned n = 1; n <= 12; ++n) {
        const Sign s = sign_from_number(n);
        EXPECT_EQ(sign_name(s), names[n - 1]);
        EXPECT_EQ(sign_lord(s), lords[n - 1]) << names[n - 1];
        EXPECT_EQ(sign_from_lower_name(to_lower(names[n - 1])), s);
    }
    EXPECT_EQ(sign_from_lower_name("ophiuchus"), std::nullopt);
}

TEST(Names, NakshatrasTwoNameTablesAndLordCycle) {
    const Planet cycle[] = {Planet::Ketu, Planet::Venus,   Planet::Sun,
                            Planet::Moon, Planet::Mars,    Planet::Rahu,
                            Planet::Jupiter, Planet::Saturn, Planet::Mercury};
    for (unsigned n = 1; n <= 27; ++n) {
        const auto k = static_cast<Nakshatra>(n);
        EXPECT_EQ(nakshatra_lord(k), cycle[(n - 1) % 9]) << n;
        // The display name is the enumeration name with a blank before each inner capital.
        std::string spaced;
        for (char c : nakshatra_name(k)) {
            if (!spaced.empty() && std::isupper(static_cast<unsigned char>(c))) spaced += ' ';
            spaced += c;
        }
        EXPECT_EQ(nakshatra_display_name(k), spaced);
    }
    EXPECT_EQ(nakshatra_name(Nakshatra::Ashwini), "Ashwini");
    EXPECT_EQ(nakshatra_name(Nakshatra::PurvaPhalguni), "PurvaPhalguni");
    EXPECT_EQ(nakshatra_display_name(Nakshatra::UttaraBhadrapada), "Uttara Bhadrapada");
    EXPECT_EQ(nakshatra_name(Nakshatra::Dhanishta), "Dhanishta");
    EXPECT_EQ(nakshatra_name(Nakshatra::Revati), "Revati");
}

TEST(Names, DashaCycleIsTheNakshatraLordCycleFromTheSun) {
    // Krittika (3) is the first nakshatra ruled by the Sun.
    for (unsigned i = 0; i < 9; ++i) {
        EXPECT_EQ(kDashaCycle[i], nakshatra_lord(static_cast<Nakshatra>(3 + i)));
    }
}

TEST(Names, HouseSystemsKarakasAyanamsas) {
    EXPECT_EQ(house_system_name(HouseSystem::Equal), "Equal");
    EXPECT_EQ(house_system_name(HouseSystem::WholeSign), "WholeSign");
    const char letters[] = {'E', 'P', 'K', 'W'};
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(house_system_letter(static_cast<HouseSystem>(i)), letters[i]);
    }
    EXPECT_EQ(karaka_name(Karaka::Atmakaraka), "Atmakaraka");
    EXPECT_EQ(karaka_name(Karaka::Jnatikaraka), "Jnatikaraka");
    EXPECT_EQ(karaka_name(Karaka::Darakaraka), "Darakaraka");
    EXPECT_EQ(ayanamsa_name({K::Lahiri, 0.0}), "Lahiri");
    EXPECT_EQ(ayanamsa_name({K::TrueChitra, 0.0}), "TrueChitra");
    EXPECT_EQ(ayanamsa_name({K::TruePushya, 0.0}), "TruePushya");
    EXPECT_EQ(ayanamsa_name({K::Custom, 24.0}), "Custom(24.0)");
    EXPECT_EQ(ayanamsa_name({K::Custom, -1.0}), "Custom(-1.0)");
    EXPECT_EQ(ayanamsa_name({K::Custom, 23.5}), "Custom(23.5)");
}

TEST(LongitudeLookup, BoundariesOfSignsAndNakshatras) {
    EXPECT_EQ(sign_from_longitude(0.0), Sign::Aries);
    EXPECT_EQ(nakshatra_from_longitude(0.0), Nakshatra::Ashwini);
    EXPECT_EQ(sign_from_longitude(359.9999), Sign::Pisces);
    EXPECT_EQ(nakshatra_from_longitude(359.9999), Nakshatra::Revati);
    EXPECT_EQ(sign_from_longitude(std::nextafter(360.0, 0.0)), Sign::Pisces);
    EXPECT_EQ(nakshatra_from_longitude(std::nextafter(360.0, 0.0)), Nakshatra::Revati);
    EXPECT_EQ(sign_from_longitude(30.0), Sign::Taurus);
    EXPECT_EQ(sign_from_longitude(std::nextafter(30.0, 0.0)), Sign::Aries);
    EXPECT_EQ(nakshatra_from_longitude(kNakshatraSpanDeg), Nakshatra::Bharani);
    EXPECT_EQ(nakshatra_from_longitude(std::nextafter(kNakshatraSpanDeg, 0.0)),
              Nakshatra::Ashwini);
    // Out-of-range input never yields a value outside the enumeration.
    EXPECT_EQ(sign_from_longitude(720.0), Sign::Pisces);
    EXPECT_EQ(sign_from_longitude(-5.0), Sign::Aries);
    EXPECT_EQ(sign_from_longitude(NAN), Sign::Aries);
    EXPECT_EQ(nakshatra_from_longitude(INFINITY), Nakshatra::Revati);
    EXPECT_EQ(nakshatra_from_longitude(NAN), Nakshatra::Ashwini);
}

TEST(LongitudeLookup, AgreesWithTheDefinitionOnAFineGrid) {
    for (int i = 0; i < 360 * 64; ++i) {
        const double lon = i / 64.0;
        EXPECT_EQ(sign_number(sign_from_longitude(lon)), static_cast<unsigned>(lon / 30.0) + 1);
        const unsigned n = static_cast<unsigned>(nakshatra_from_longitude(lon));
        ASSERT_GE(n, 1u);
        ASSERT_LE(n, 27u);
        EXPECT_LE((n - 1) * kNakshatraSpanDeg, lon + 1e-9) << lon;
        EXPECT_GT(n * kNakshatraSpanDeg, lon - 1e-9) << lon;
    }
}

TEST(LongitudeLookup, NormalizeDegrees) {
    EXPECT_EQ(normalize_degrees(0.0), 0.0);
    EXPECT_EQ(normalize_degrees(360.0), 0.0);
    EXPECT_EQ(normalize_degrees(-30.0), 330.0);
    EXPECT_EQ(normalize_degrees(725.0), 5.0);
    const double r = normalize_degrees(-1e-300);
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 360.0);
}

TEST(ParseAyanamsa, AcceptedSpellings) {
    struct Case {
        const char* text;
        AyanamsaMode expected;
    };
    const Case cases[] = {
        {"lahiri", {K::Lahiri, 0.0}},
        {"Lahiri", {K::Lahiri, 0.0}},
        {"LAHIRI", {K::Lahiri, 0.0}},
        {"raman", {K::Raman, 0.0}},
        {"KP", {K::Krishnamurti, 0.0}},
        {"kp", {K::Krishnamurti, 0.0}},
        {"Krishnamurti", {K::Krishnamurti, 0.0}},
        {"kRiShNaMuRtI", {K::Krishnamurti, 0.0}},
        {"TRUE_CHITRA", {K::TrueChitra, 0.0}},
        {"true_pushya", {K::TruePushya, 0.0}},
        {"custom:23.5", {K::Custom, 23.5}},
        {"Custom:-1", {K::Custom, -1.0}},
        {"CUSTOM:400", {K::Custom, 400.0}},  // not range-checked
        {"custom:1e1", {K::Custom, 10.0}},
    };
    for (const Case& c : cases) {
        auto parsed = parse_ayanamsa(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text << ": " << parsed.error();
        EXPECT_EQ(*parsed, c.expected) << c.text;
    }
    EXPECT_EQ(ayanamsa_name(*parse_ayanamsa("Custom:-1")), "Custom(-1.0)");
}

TEST(ParseAyanamsa, RejectedSpellingsQuoteTheLoweredText) {
    const std::string format = "Invalid custom ayanamsa format. Use 'custom:23.5'";
    for (const char* text : {"custom:", "custom:abc", "CUSTOM:", "custom: 23.5", "custom:23.5 "}) {
        EXPECT_EQ(parse_ayanamsa(text).error(), format) << text;
    }
    const auto unknown = [](const std::string& lowered) {
        return "Unknown ayanamsa '" + lowered +
               "'. Valid options: lahiri, raman, kp, true_chitra, true_pushya, custom:<offset>";
    };
    EXPECT_EQ(parse_ayanamsa("custom").error(), unknown("custom"));
    EXPECT_EQ(parse_ayanamsa(" lahiri").error(), unknown(" lahiri"));
    EXPECT_EQ(parse_ayanamsa("Lahiri ").error(), unknown("lahiri "));
    EXPECT_EQ(parse_ayanamsa("TRUE CHITRA").error(), unknown("true chitra"));
    EXPECT_EQ(parse_ayanamsa("").error(), unknown(""));
    EXPECT_EQ(parse_ayanamsa("Ñ").error(), unknown("ñ"));
    EXPECT_EQ(parse_ayanamsa(std::string("lahiri\0x", 8)).error(),
              unknown(std::string("lahiri\0x", 8)));
}

TEST(ParseHouseSystem, AcceptedAndRejected) {
    EXPECT_EQ(parse_house_system("equal"), HouseSystem::Equal);
    EXPECT_EQ(parse_house_system("Placidus"), HouseSystem::Placidus);
    EXPECT_EQ(parse_house_system("KOCH"), HouseSystem::Koch);
    EXPECT_EQ(parse_house_system("Whole_Sign"), HouseSystem::WholeSign);
    const auto unknown = [](const std::string& lowered) {
        return "Unknown house_system '" + lowered +
               "'. Valid options: equal, placidus, koch, whole_sign";
    };
    EXPECT_EQ(parse_house_system("whole sign").error(), unknown("whole sign"));
    EXPECT_EQ(parse_house_system("PLACIDUSX").error(), unknown("placidusx"));
    EXPECT_EQ(parse_house_system("wholesign").error(), unknown("wholesign"));
    EXPECT_EQ(parse_house_system("").error(), unknown(""));
}

TEST(ToLower, UnicodeLetters) {
    EXPECT_EQ(to_lower("ABC xyz 123_:"), "abc xyz 123_:");
    EXPECT_EQ(to_lower("ÀÉÎÕÜ"), "àéîõü");
    EXPECT_EQ(to_lower("×"), "×");  // the multiplication sign has no case
    EXPECT_EQ(to_lower("ΣΑΤΥΡΝ"), "σατυρν");
    EXPECT_EQ(to_lower("ЛУНА"), "луна");
    EXPECT_EQ(to_lower("ŸŹ"), "ÿź");
    EXPECT_EQ(to_lower("ＫＰ"), "ｋｐ");
    EXPECT_EQ(to_lower("日本🌙"), "日本🌙");
    EXPECT_EQ(to_lower("ȺƁǅ"), "ⱥɓǆ");
    EXPECT_EQ(to_lower("ԱՐԵՒ"), "արեւ");       // Armenian
    EXPECT_EQ(to_lower("ᏣᎳᎩ"), "ꮳꮃꭹ");         // Cherokee maps to a later block
    EXPECT_EQ(to_lower("𐐀𐐁"), "𐐨𐐩");           // Deseret, four bytes each
    EXPECT_EQ(to_lower("İ"), "i\u0307");
    EXPECT_EQ(to_lower("\u212A" "P"), "kp");  // the Kelvin sign is a capital K
}

TEST(ToLower, MalformedBytesPassThroughWithoutSwallowingLetters) {
    // A lead byte followed by an ASCII letter is not a character: both bytes stay, the
    // letter lower-cased.
    EXPECT_EQ(to_lower("\xC3" "A"), "\xC3" "a");
    EXPECT_EQ(to_lower("\xE2" "AB"), "\xE2" "ab");
    EXPECT_EQ(to_lower("\xE2\x82"), "\xE2\x82");  // truncated at the end
    EXPECT_EQ(to_lower("\x80K"), "\x80k");
    EXPECT_EQ(to_lower("\xC1\x81"), "\xC1\x81");           // an overlong "A"
    EXPECT_EQ(to_lower("\xED\xA0\x80"), "\xED\xA0\x80");   // a surrogate
    EXPECT_EQ(to_lower("\xF0\x90\x90"), "\xF0\x90\x90");   // four-byte form cut short
}

}  // namespace
}  // namespace zk
