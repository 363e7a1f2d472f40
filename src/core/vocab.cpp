#include "core/vocab.hpp"

#include <cmath>

#include "core/format.hpp"

namespace zk {
namespace {

constexpr std::array<std::string_view, 9> kPlanetNames = {
    "Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn", "Rahu", "Ketu"};
constexpr std::array<std::string_view, 9> kPlanetKeys = {
    "sun", "moon", "mars", "mercury", "jupiter", "venus", "saturn", "rahu", "ketu"};
constexpr std::array<std::string_view, 12> kSignNames = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
constexpr std::array<std::string_view, 27> kNakshatraNames = {
    "Ashwini",     "Bharani",        "Krittika",      "Rohini",         "Mrigashirsha",
    "Ardra",       "Punarvasu",      "Pushya",        "Ashlesha",       "Magha",
    "PurvaPhalguni", "UttaraPhalguni", "Hasta",       "Chitra",         "Swati",
    "Vishakha",    "Anuradha",       "Jyeshtha",      "Mula",           "PurvaAshadha",
    "UttaraAshadha", "Shravana",     "Dhanishta",     "Shatabhisha",    "PurvaBhadrapada",
    "UttaraBhadrapada", "Revati"};
constexpr std::array<std::string_view, 27> kNakshatraDisplayNames = {
    "Ashwini",      "Bharani",         "Krittika",       "Rohini",          "Mrigashirsha",
    "Ardra",        "Punarvasu",       "Pushya",         "Ashlesha",        "Magha",
    "Purva Phalguni", "Uttara Phalguni", "Hasta",        "Chitra",          "Swati",
    "Vishakha",     "Anuradha",        "Jyeshtha",       "Mula",            "Purva Ashadha",
    "Uttara Ashadha", "Shravana",      "Dhanishta",      "Shatabhisha",     "Purva Bhadrapada",
    "Uttara Bhadrapada", "Revati"};
constexpr std::array<std::string_view, 4> kHouseSystemNames = {"Equal", "Placidus", "Koch",
                                                               "WholeSign"};
constexpr std::array<char32_t, 4> kHouseSystemLetters = {U'E', U'P', U'K', U'W'};
constexpr std::array<std::string_view, 7> kKarakaNames = {
    "Atmakaraka", "Amatyakaraka", "Bhratrikaraka", "Matrikaraka",
    "Putrakaraka", "Jnatikaraka", "Darakaraka"};
constexpr std::array<std::string_view, 5> kNamedAyanamsas = {"Lahiri", "Raman", "Krishnamurti",
                                                             "TrueChitra", "TruePushya"};

constexpr std::array<Planet, 12> kSignLords = {
    Planet::Mars,    Planet::Venus,  Planet::Mercury, Planet::Moon,
    Planet::Sun,     Planet::Mercury, Planet::Venus,  Planet::Mars,
    Planet::Jupiter, Planet::Saturn, Planet::Saturn,  Planet::Jupiter};
constexpr std::array<Planet, 9> kNakshatraLordCycle = {
    Planet::Ketu, Planet::Venus,   Planet::Sun,    Planet::Moon,   Planet::Mars,
    Planet::Rahu, Planet::Jupiter, Planet::Saturn, Planet::Mercury};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Simple lower-case mapping for the cased scripts an option string may plausibly hold.
char32_t lower_code_point(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c < 0xC0) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c >= 0x100 && c <= 0x137 && c % 2 == 0) return c + 1;
    if (c >= 0x139 && c <= 0x148 && c % 2 == 1) return c + 1;
    if (c >= 0x14A && c <= 0x177 && c % 2 == 0) return c + 1;
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E && c % 2 == 1) return c + 1;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x460 && c <= 0x4FF && c % 2 == 0 && !(c >= 0x482 && c <= 0x489)) return c + 1;
    if (c >= 0x1E00 && c <= 0x1EFF && c % 2 == 0 && !(c >= 0x1E96 && c <= 0x1E9F)) return c + 1;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
    return c;
}

}  // namespace

std::string_view planet_name(Planet p) { return kPlanetNames[planet_index(p)]; }
std::string_view planet_key(Planet p) { return kPlanetKeys[planet_index(p)]; }
std::string_view sign_name(Sign s) { return kSignNames[sign_number(s) - 1]; }
std::string_view nakshatra_name(Nakshatra n) {
    return kNakshatraNames[static_cast<unsigned>(n) - 1];
}
std::string_view nakshatra_display_name(Nakshatra n) {
    return kNakshatraDisplayNames[static_cast<unsigned>(n) - 1];
}
std::string_view house_system_name(HouseSystem h) {
    return kHouseSystemNames[static_cast<unsigned>(h)];
}
char house_system_letter(HouseSystem h) {
    return static_cast<char>(kHouseSystemLetters[static_cast<unsigned>(h)]);
}
std::string_view karaka_name(Karaka k) { return kKarakaNames[static_cast<unsigned>(k)]; }

std::string ayanamsa_name(const AyanamsaMode& mode) {
    if (mode.kind == AyanamsaMode::Kind::Custom) {
        return "Custom(" + format_shortest(mode.custom_deg) + ")";
    }
    return std::string(kNamedAyanamsas[static_cast<unsigned>(mode.kind)]);
}

Planet sign_lord(Sign s) { return kSignLords[sign_number(s) - 1]; }
Planet nakshatra_lord(Nakshatra n) {
    return kNakshatraLordCycle[(static_cast<unsigned>(n) - 1) % 9];
}

double normalize_degrees(double deg) {
    double r = std::fmod(deg, 360.0);
    if (r < 0.0) r += 360.0;
    // A tiny negative remainder plus 360 rounds to 360 itself, which lies outside the range.
    return r >= 360.0 ? 0.0 : r;
}

Sign sign_from_longitude(double lon_deg) {
    unsigned index = saturating_u32(std::floor(lon_deg / 30.0));
    if (index > 11) index = 11;
    return sign_from_number(index + 1);
}

Nakshatra nakshatra_from_longitude(double lon_deg) {
    unsigned index = saturating_u32(std::floor(lon_deg / kNakshatraSpanDeg));
    if (index > 26) index = 26;
    return static_cast<Nakshatra>(index + 1);
}

std::string to_lower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        const auto continues = [&](size_t k) {
            return i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        };
        char32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if ((b >> 5) == 0x6 && continues(1)) {
            cp = ((b & 0x1F) << 6) | (text[i + 1] & 0x3F);
            len = 2;
        } else if ((b >> 4) == 0xE && continues(1) && continues(2)) {
            cp = ((b & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
            len = 3;
        } else {
            // Four-byte sequences (no case mappings we handle) and anything malformed pass through.
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        append_utf8(out, lower_code_point(cp));
        i += len;
    }
    return out;
}

std::expected<AyanamsaMode, std::string> parse_ayanamsa(std::string_view text) {
    const std::string lowered = to_lower(text);
    using K = AyanamsaMode::Kind;
    constexpr std::string_view kCustomPrefix = "custom:";
    if (lowered.size() >= kCustomPrefix.size() && lowered.starts_with(kCustomPrefix)) {
        auto value = parse_decimal(std::string_view(lowered).substr(kCustomPrefix.size()));
        if (!value) return std::unexpected("Invalid custom ayanamsa format. Use 'custom:23.5'");
        return AyanamsaMode{K::Custom, *value};
    }
    if (lowered == "lahiri") return AyanamsaMode{K::Lahiri, 0.0};
    if (lowered == "raman") return AyanamsaMode{K::Raman, 0.0};
    if (lowered == "kp" || lowered == "krishnamurti") return AyanamsaMode{K::Krishnamurti, 0.0};
    if (lowered == "true_chitra") return AyanamsaMode{K::TrueChitra, 0.0};
    if (lowered == "true_pushya") return AyanamsaMode{K::TruePushya, 0.0};
    return std::unexpected("Unknown ayanamsa '" + lowered +
                           "'. Valid options: lahiri, raman, kp, true_chitra, true_pushya, "
                           "custom:<offset>");
}

std::expected<HouseSystem, std::string> parse_house_system(std::string_view text) {
    const std::string lowered = to_lower(text);
    if (lowered == "equal") return HouseSystem::Equal;
    if (lowered == "placidus") return HouseSystem::Placidus;
    if (lowered == "koch") return HouseSystem::Koch;
    if (lowered == "whole_sign") return HouseSystem::WholeSign;
    return std::unexpected("Unknown house_system '" + lowered +
                           "'. Valid options: equal, placidus, koch, whole_sign");
}

std::optional<Planet> planet_from_lower_name(std::string_view lower) {
    for (Planet p : kAllPlanets) {
        if (planet_key(p) == lower) return p;
    }
    return std::nullopt;
}

std::optional<Sign> sign_from_lower_name(std::string_view lower) {
    for (unsigned n = 1; n <= 12; ++n) {
        if (to_lower(kSignNames[n - 1]) == lower) return sign_from_number(n);
    }
    return std::nullopt;
}

}  // namespace zk
