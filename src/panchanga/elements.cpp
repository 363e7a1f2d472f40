#include "panchanga/elements.hpp"

#include <array>

#include "core/vocab.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/locale.hpp"

namespace zk {
namespace {

constexpr std::array<std::string_view, 16> kTithiNames = {
    "Pratipada",  "Dwitiya",     "Tritiya", "Chaturthi", "Panchami", "Shashthi",
    "Saptami",    "Ashtami",     "Navami",  "Dashami",   "Ekadashi", "Dwadashi",
    "Trayodashi", "Chaturdashi", "Purnima", "Amavasya"};

constexpr std::array<std::string_view, 27> kYogaNames = {
    "Vishkambha", "Preeti", "Ayushman",  "Saubhagya", "Shobhana", "Atiganda", "Sukarma",
    "Dhruti",     "Shoola", "Ganda",     "Vriddhi",   "Dhruva",   "Vyaghata", "Harshana",
    "Vajra",      "Siddhi", "Vyatipata", "Variyana",  "Parigha",  "Shiva",    "Siddha",
    "Sadhya",     "Shubha", "Shukla",    "Brahma",    "Indra",    "Vaidhriti"};

// Seven movable karanas rotate through the month; the last three are fixed.
constexpr std::array<std::string_view, 10> kKaranaNames = {
    "Bava",   "Balava", "Kaulava", "Taitila",     "Gara",
    "Vanija", "Vishti", "Shakuni", "Chatushpada", "Naga"};
constexpr size_t kMovableKaranas = 7;

constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

void require_in_cycle(uint32_t number, uint32_t count, const char* element) {
    if (number < 1 || number > count) {
        throw InvariantFailure(std::string(element) +
                               " number out of range: " + std::to_string(number));
    }
}

Result<double> longitude_at(double jd_ut, bool true_nodes, Planet planet) {
    auto pos = ephemeris::calc_ut(jd_ut, true_nodes, planet);
    if (!pos) return std::unexpected(pos.error());
    return pos->longitude;
}

// The locale's entry at `index`, or `english` when the locale has none.
std::string_view localized(const LocaleData* locale,
                           const std::vector<std::string> LocaleData::*names, size_t index,
                           std::string_view english) {
    if (!locale) return english;
    const std::vector<std::string>& list = locale->*names;
    return index < list.size() ? std::string_view(list[index]) : english;
}

}  // namespace

Result<Luminaries> luminaries_at(double jd_ut, bool true_nodes) {
    auto moon = longitude_at(jd_ut, true_nodes, Planet::Moon);
    if (!moon) return std::unexpected(moon.error());
    auto sun = longitude_at(jd_ut, true_nodes, Planet::Sun);
    if (!sun) return std::unexpected(sun.error());
    return Luminaries{*moon, *sun};
}

Result<uint32_t> tithi_at(double jd_ut, bool true_nodes) {
    auto l = luminaries_at(jd_ut, true_nodes);
    if (!l) return std::unexpected(l.error());
    return tithi_number(l->moon_deg, l->sun_deg);
}

Result<uint32_t> nakshatra_at(double jd_ut, bool true_nodes) {
    auto moon = longitude_at(jd_ut, true_nodes, Planet::Moon);
    if (!moon) return std::unexpected(moon.error());
    return nakshatra_number(*moon);
}

Result<uint32_t> yoga_at(double jd_ut, bool true_nodes) {
    auto l = luminaries_at(jd_ut, true_nodes);
    if (!l) return std::unexpected(l.error());
    return yoga_number(l->moon_deg, l->sun_deg);
}

Result<uint32_t> karana_at(double jd_ut, bool true_nodes) {
    auto l = luminaries_at(jd_ut, true_nodes);
    if (!l) return std::unexpected(l.error());
    return karana_number(l->moon_deg, l->sun_deg);
}

namespace {

struct Moving {
    PlanetPosition moon;
    PlanetPosition sun;
};

Result<Moving> moving_luminaries(double jd_ut, bool true_nodes) {
    ZK_TRY(moon, ephemeris::calc_ut(jd_ut, true_nodes, Planet::Moon));
    ZK_TRY(sun, ephemeris::calc_ut(jd_ut, true_nodes, Planet::Sun));
    return Moving{moon, sun};
}

ElementSample tithi_of(const Moving& l) {
    return ElementSample{tithi_number(l.moon.longitude, l.sun.longitude),
                         {l.moon.longitude - l.sun.longitude, l.moon.speed - l.sun.speed}};
}

ElementSample yoga_of(const Moving& l) {
    return ElementSample{yoga_number(l.moon.longitude, l.sun.longitude),
                         {l.sun.longitude + l.moon.longitude, l.moon.speed + l.sun.speed}};
}

ElementSample karana_of(const Moving& l) {
    return ElementSample{karana_number(l.moon.longitude, l.sun.longitude),
                         {l.moon.longitude - l.sun.longitude, l.moon.speed - l.sun.speed}};
}

ElementSample nakshatra_of(const PlanetPosition& moon) {
    return ElementSample{nakshatra_number(moon.longitude), {moon.longitude, moon.speed}};
}

}  // namespace

Result<ElementSample> tithi_sample(double jd_ut, bool true_nodes) {
    ZK_TRY(l, moving_luminaries(jd_ut, true_nodes));
    return tithi_of(l);
}

Result<ElementSample> nakshatra_sample(double jd_ut, bool true_nodes) {
    ZK_TRY(moon, ephemeris::calc_ut(jd_ut, true_nodes, Planet::Moon));
    return nakshatra_of(moon);
}

Result<ElementSample> yoga_sample(double jd_ut, bool true_nodes) {
    ZK_TRY(l, moving_luminaries(jd_ut, true_nodes));
    return yoga_of(l);
}

Result<ElementSample> karana_sample(double jd_ut, bool true_nodes) {
    ZK_TRY(l, moving_luminaries(jd_ut, true_nodes));
    return karana_of(l);
}

Result<ElementSamples> element_samples(double jd_ut, bool true_nodes) {
    ZK_TRY(l, moving_luminaries(jd_ut, true_nodes));
    return ElementSamples{{l.moon.longitude, l.sun.longitude},
                          tithi_of(l),
                          nakshatra_of(l.moon),
                          yoga_of(l),
                          karana_of(l)};
}

size_t tithi_name_index(uint32_t tithi) {
    require_in_cycle(tithi, 30, "tithi");
    const uint32_t t = tithi - 1;
    if (t == 29) return 15;
    return t < 15 ? t : t - 15;
}

std::string_view tithi_name(uint32_t tithi) {
    return kTithiNames[tithi_name_index(tithi)];
}

std::string_view paksha_name(uint32_t tithi) {
    require_in_cycle(tithi, 30, "tithi");
    return tithi <= 15 ? "Shukla" : "Krishna";
}

std::string_view panchanga_nakshatra_name(uint32_t nakshatra) {
    require_in_cycle(nakshatra, 27, "nakshatra");
    return nakshatra_display_name(static_cast<Nakshatra>(nakshatra));
}

std::string_view tithi_name(uint32_t tithi, const LocaleData* locale) {
    const size_t index = tithi_name_index(tithi);
    return localized(locale, &LocaleData::tithi_names, index, kTithiNames[index]);
}

std::string_view panchanga_nakshatra_name(uint32_t nakshatra, const LocaleData* locale) {
    return localized(locale, &LocaleData::nakshatra_names, nakshatra - 1,
                     panchanga_nakshatra_name(nakshatra));
}

std::string_view yoga_name(uint32_t yoga) {
    require_in_cycle(yoga, 27, "yoga");
    return kYogaNames[yoga - 1];
}

std::string_view karana_name(uint32_t karana) {
    require_in_cycle(karana, 60, "karana");
    if (karana == 1) return "Kimstughna";
    if (karana <= 57) return kKaranaNames[(karana - 2) % kMovableKaranas];
    return kKaranaNames[kMovableKaranas + (karana - 58)];
}

Vara vara_from_local_date(int64_t year, uint32_t month, uint32_t day) {
    const unsigned index = weekday(year, month, day);
    return Vara{std::string(kWeekdayNames[index]), index};
}

}  // namespace zk
