// The closed vocabularies: name lookups and option-string parsers.
#include <gtest/gtest.h>

#include <string>

#include "core/utf8.hpp"
#include "core/vocab.hpp"

namespace zk {
namespace {

using K = AyanamsaMode::Kind;

TEST(Names, PlanetKeysRoundTripAndDashaCycleFollowsNakshatraLords) {
    for (Planet p : kAllPlanets) EXPECT_EQ(planet_from_lower_name(planet_key(p)), p);
    EXPECT_EQ(planet_from_lower_name("Sun"), std::nullopt);  // callers lower-case first
    // Krittika (3) is the first nakshatra ruled by the Sun; the lords then repeat every nine.
    for (unsigned n = 3; n <= 27; ++n) {
        EXPECT_EQ(kDashaCycle[(n - 3) % 9], nakshatra_lord(static_cast<Nakshatra>(n))) << n;
    }
}

TEST(ParseOptions, AyanamsaAndHouseSystem) {
    for (const char* text : {"Lahiri", "LAHIRI"}) EXPECT_EQ(parse_ayanamsa(text)->kind, K::Lahiri);
    for (const char* text : {"KP", "Krishnamurti"}) {
        EXPECT_EQ(parse_ayanamsa(text)->kind, K::Krishnamurti) << text;
    }
    EXPECT_EQ(*parse_ayanamsa("custom:23.5"), (AyanamsaMode{K::Custom, 23.5}));
    EXPECT_EQ(ayanamsa_name(*parse_ayanamsa("Custom:-1")), "Custom(-1.0)");
    for (const char* text : {"custom:", "custom:abc", "custom: 23.5"}) {
        EXPECT_EQ(parse_ayanamsa(text).error().display(),
                  "Invalid custom ayanamsa format. Use 'custom:23.5'");
    }
    const std::string valid =
        "'. Valid options: lahiri, raman, kp, true_chitra, true_pushya, "
        "custom:<offset>";
    EXPECT_EQ(parse_ayanamsa("custom").error().display(), "Unknown ayanamsa 'custom" + valid);
    EXPECT_EQ(parse_ayanamsa(" Lahiri").error().display(), "Unknown ayanamsa ' lahiri" + valid);

    EXPECT_EQ(parse_house_system("Whole_Sign"), HouseSystem::WholeSign);
    const std::string houses = "'. Valid options: equal, placidus, koch, whole_sign";
    EXPECT_EQ(parse_house_system("whole sign").error().display(),
              "Unknown house_system 'whole sign" + houses);
    EXPECT_EQ(parse_house_system("PLACIDUSX").error().display(),
              "Unknown house_system 'placidusx" + houses);
}

TEST(ToLower, UnicodeLettersAndBrokenUtf8) {
    EXPECT_EQ(to_lower("ABC xyz_:"), "abc xyz_:");
    EXPECT_EQ(to_lower("ÀÉ×ΣЛ"), "àé×σл");
    EXPECT_EQ(to_lower("𐐀"), "𐐨");  // four bytes
    EXPECT_EQ(to_lower("\u212A"
                       "P"),
              "kp");  // the Kelvin sign is a capital K
    // Malformed bytes pass through without swallowing the letters after them.
    EXPECT_EQ(to_lower("\xC3"
                       "A"),
              "\xC3"
              "a");
    EXPECT_EQ(to_lower("\xE2\x82"), "\xE2\x82");
    EXPECT_EQ(to_lower("\xC1\x81"), "\xC1\x81");          // an overlong "A"
    EXPECT_EQ(to_lower("\xED\xA0\x80"), "\xED\xA0\x80");  // a surrogate
}

TEST(ValidUtf8Prefix, EveryMalformedByteBecomesAReplacementCharacter) {
    // Library messages quote data paths, which may hold any bytes; Python accepts only the
    // well-formed result. A surrogate and an overlong form are malformed too.
    const std::string fffd = "\xEF\xBF\xBD";
    const char path[] = "path /x\xED\xA0\x80y\xC1\x81 \u00e9\0tail";
    EXPECT_EQ(valid_utf8_prefix(path, sizeof path),
              "path /x" + fffd + fffd + fffd + "y" + fffd + fffd + " \u00e9");
    EXPECT_EQ(valid_utf8_prefix("abc", 2), "ab");  // never past the buffer
}

}  // namespace
}  // namespace zk
