// The closed vocabularies every computation rests on: grahas, signs, nakshatras,
// house systems, ayanamsas and chara karakas, with their names and lord tables.
// Longitudes become signs and nakshatras in core/zodiac.hpp. Name and lord lookups take
// valid enumeration values and never fail; lookups by name give nothing for an unknown
// name, and the option parsers give the user-facing message.
#pragma once

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "core/error.hpp"

namespace zk {

// Planet order is also the order of planets in every chart.
enum class Planet : uint8_t { Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Rahu, Ketu };
inline constexpr std::array<Planet, 9> kAllPlanets = {
    Planet::Sun,   Planet::Moon,   Planet::Mars, Planet::Mercury, Planet::Jupiter,
    Planet::Venus, Planet::Saturn, Planet::Rahu, Planet::Ketu};
inline constexpr std::array<Planet, 7> kClassicalPlanets = {
    Planet::Sun,     Planet::Moon,  Planet::Mars,  Planet::Mercury,
    Planet::Jupiter, Planet::Venus, Planet::Saturn};

// Signs are numbered 1 (Aries) ... 12 (Pisces); there is no sign 0.
enum class Sign : uint8_t {
    Aries = 1,
    Taurus,
    Gemini,
    Cancer,
    Leo,
    Virgo,
    Libra,
    Scorpio,
    Sagittarius,
    Capricorn,
    Aquarius,
    Pisces
};

// Nakshatras are numbered 1 (Ashwini) ... 27 (Revati); 0 never names one.
enum class Nakshatra : uint8_t {
    Ashwini = 1,
    Bharani,
    Krittika,
    Rohini,
    Mrigashirsha,
    Ardra,
    Punarvasu,
    Pushya,
    Ashlesha,
    Magha,
    PurvaPhalguni,
    UttaraPhalguni,
    Hasta,
    Chitra,
    Swati,
    Vishakha,
    Anuradha,
    Jyeshtha,
    Mula,
    PurvaAshadha,
    UttaraAshadha,
    Shravana,
    Dhanishta,
    Shatabhisha,
    PurvaBhadrapada,
    UttaraBhadrapada,
    Revati
};

enum class HouseSystem : uint8_t { Equal, Placidus, Koch, WholeSign };

enum class Karaka : uint8_t {
    Atmakaraka,
    Amatyakaraka,
    Bhratrikaraka,
    Matrikaraka,
    Putrakaraka,
    Jnatikaraka,
    Darakaraka
};

// An ayanamsa choice; only the custom kind carries a value (degrees at J2000.0).
struct AyanamsaMode {
    enum class Kind : uint8_t { Lahiri, Raman, Krishnamurti, TrueChitra, TruePushya, Custom };
    Kind kind = Kind::Lahiri;
    double custom_deg = 0.0;

    friend bool operator==(const AyanamsaMode&, const AyanamsaMode&) = default;
};

std::string_view planet_name(Planet p);                // "Sun" ... "Ketu"
std::string_view planet_key(Planet p);                 // "sun" ... "ketu"
std::string_view sign_name(Sign s);                    // "Aries" ... "Pisces"
std::string_view nakshatra_name(Nakshatra n);          // "PurvaPhalguni" (no spaces)
std::string_view nakshatra_display_name(Nakshatra n);  // "Purva Phalguni"
std::string_view house_system_name(HouseSystem h);     // "Equal", "WholeSign", ...
char house_system_letter(HouseSystem h);               // 'E', 'P', 'K', 'W'
std::string_view karaka_name(Karaka k);
// "Lahiri", ..., or "Custom(24.0)".
std::string ayanamsa_name(const AyanamsaMode& mode);

Planet sign_lord(Sign s);
Planet nakshatra_lord(Nakshatra n);
// The lord cycle walked by the Vimshottari dasha, starting from the Sun.
inline constexpr std::array<Planet, 9> kDashaCycle = {
    Planet::Sun,    Planet::Moon,    Planet::Mars, Planet::Rahu, Planet::Jupiter,
    Planet::Saturn, Planet::Mercury, Planet::Ketu, Planet::Venus};

// Sign number 1..12 as a Sign; the caller guarantees the range.
inline Sign sign_from_number(unsigned n) {
    return static_cast<Sign>(n);
}
inline unsigned sign_number(Sign s) {
    return static_cast<unsigned>(s);
}
inline unsigned planet_index(Planet p) {
    return static_cast<unsigned>(p);
}

// Option strings as the user writes them, in any letter case; an InvalidInput error carries
// the exact user-facing message ("Unknown ayanamsa 'x'. Valid options: ...").
// A custom offset must be a finite number of degrees within +-36000 ("custom:23.5").
Result<AyanamsaMode> parse_ayanamsa(std::string_view text);
Result<HouseSystem> parse_house_system(std::string_view text);

// Lower-cases a UTF-8 text by the Unicode lower-case mappings ("İ" becomes "i" and a
// combining dot). A capital sigma always becomes "σ": the word-final form is not chosen.
// Malformed bytes are kept as they are.
std::string to_lower(std::string_view text);

// Looks up a planet or sign by its lower-cased English name.
std::optional<Planet> planet_from_lower_name(std::string_view lower);
std::optional<Sign> sign_from_lower_name(std::string_view lower);

}  // namespace zk
