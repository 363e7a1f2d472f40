#include "chart/shadbala.hpp"

#include <algorithm>
#include <cmath>

#include "core/format.hpp"

namespace zk {
namespace {

enum class Relation : uint8_t { Friend, Neutral, Enemy };
enum class DayNight : uint8_t { Day, Night, Always };

struct StrengthRow {
    double naisargika;
    double required;
    unsigned strong_house;  // dik bala is full here
    DayNight day_night;
    // Natural relationship to each lord Sun..Saturn; a planet counts as neutral to itself.
    std::array<Relation, 7> relation;
};

constexpr Relation F = Relation::Friend, N = Relation::Neutral, E = Relation::Enemy;

// Sun..Saturn.
constexpr std::array<StrengthRow, 7> kStrength = {{
    //                                 Sun Moon Mars Merc Jup Ven Sat
    {60.0, 390.0, 1, DayNight::Day, {N, F, F, N, F, E, E}},
    {51.43, 360.0, 4, DayNight::Night, {F, N, N, F, N, N, N}},
    {17.14, 300.0, 10, DayNight::Night, {F, F, N, E, F, N, N}},
    {25.71, 420.0, 1, DayNight::Always, {F, E, N, N, N, F, N}},
    {34.29, 390.0, 1, DayNight::Day, {F, F, F, E, N, E, N}},
    {42.86, 330.0, 4, DayNight::Day, {E, E, N, F, N, N, F}},
    {8.57, 300.0, 7, DayNight::Night, {E, E, E, F, N, F, N}},
}};

// A full component, in virupas (kala bala adds up several of them).
constexpr double kFullBala = 60.0;
constexpr double kHalfBala = kFullBala / 2;

constexpr std::array<double, 3> kRelationBala = {22.5, 11.25, 3.75};  // friend, neutral, enemy

// Chaldean order; each weekday's first hora is at the position given by the weekday.
constexpr std::array<Planet, 7> kHoraOrder = {Planet::Sun,  Planet::Venus,  Planet::Mercury,
                                              Planet::Moon, Planet::Saturn, Planet::Jupiter,
                                              Planet::Mars};
constexpr std::array<unsigned, 7> kFirstHora = {0, 3, 6, 2, 5, 1, 4};  // Sunday..Saturday

// Tribhaga, masa and abda bala are not computed; each contributes this fixed value.
constexpr double kSimplifiedKala = 10.0;

bool is_benefic(Planet p) {
    return p == Planet::Moon || p == Planet::Mercury || p == Planet::Jupiter || p == Planet::Venus;
}

double sthana_bala(const PlanetPosition& p, const StrengthRow& row) {
    if (p.is_exalted) return kFullBala;
    if (p.is_moolatrikona || p.is_own_sign) return 45.0;
    if (p.is_debilitated) return 0.0;
    const Planet lord = p.sign ? sign_lord(*p.sign) : Planet::Mars;
    return kRelationBala[static_cast<size_t>(row.relation[planet_index(lord)])];
}

double dik_bala(const PlanetPosition& p, const StrengthRow& row) {
    const int house = p.house ? *p.house : 1;
    int distance = std::abs(house - static_cast<int>(row.strong_house));
    if (distance > 6) distance = 12 - distance;
    return (6 - distance) * 10.0;
}

double nathonnatha_bala(const StrengthRow& row, bool day_birth) {
    switch (row.day_night) {
        case DayNight::Day:
            return day_birth ? kFullBala : 0.0;
        case DayNight::Night:
            return day_birth ? 0.0 : kFullBala;
        case DayNight::Always:
            return kHalfBala;
    }
    return 0.0;
}

double chesta_bala(const PlanetPosition& p) {
    if (p.is_retrograde) return kFullBala;
    return std::min(kHalfBala / (std::fabs(p.speed) + 1.0), kFullBala);
}

double drik_bala(const PlanetPosition& p, const std::vector<Aspect>& aspects) {
    if (!p.house || *p.house == 0) return 0.0;
    double drik = 0.0;
    for (const Aspect& a : aspects) {
        if (a.to_house != *p.house) continue;
        drik += is_benefic(a.from_planet) ? 15.0 * a.strength : -15.0 * a.strength;
    }
    return std::clamp(drik, 0.0, kFullBala);
}

}  // namespace

Planet hora_lord(const UtcDateTime& datetime) {
    const unsigned first = kFirstHora[weekday(datetime.year, datetime.month, datetime.day)];
    return kHoraOrder[(first + datetime.hour) % 7];
}

double paksha_share(Planet planet, double sun_longitude, double moon_longitude) {
    const unsigned tithi = tithi_number(moon_longitude, sun_longitude) - 1;  // 0..29
    const bool benefic = is_benefic(planet);
    if (tithi < 15) {
        const double r = (tithi + 1) / 15.0;
        return benefic ? r : 1.0 - r;
    }
    const double r = (29 - tithi) / 15.0;
    return benefic ? 1.0 - r : r;
}

void apply_shadbala(std::vector<PlanetPosition>& planets, const std::vector<Aspect>& aspects,
                    const UtcDateTime& datetime) {
    const PlanetPosition* sun = find_planet(planets, Planet::Sun);
    const PlanetPosition* moon = find_planet(planets, Planet::Moon);
    const bool day_birth = sun && sun->house && *sun->house > 6;
    const double sun_longitude = sun ? sun->longitude : 0.0;
    const double moon_longitude = moon ? moon->longitude : 0.0;
    const Planet hora = hora_lord(datetime);

    for (PlanetPosition& p : planets) {
        if (planet_index(p.planet) >= kStrength.size()) continue;
        const StrengthRow& row = kStrength[planet_index(p.planet)];
        ShadbalaScore s;
        s.sthana_bala = sthana_bala(p, row);
        s.dik_bala = dik_bala(p, row);
        s.kala_bala = nathonnatha_bala(row, day_birth) +
                      kFullBala * paksha_share(p.planet, sun_longitude, moon_longitude) +
                      (hora == p.planet ? kFullBala : 0.0) + kSimplifiedKala + kSimplifiedKala +
                      kSimplifiedKala;
        s.chesta_bala = chesta_bala(p);
        s.naisargika_bala = row.naisargika;
        s.drik_bala = drik_bala(p, aspects);
        s.total = s.sthana_bala + s.dik_bala + s.kala_bala + s.chesta_bala + s.naisargika_bala +
                  s.drik_bala;
        s.required = row.required;
        s.is_sufficient = s.total >= s.required;
        p.shadbala = s;
    }
}

}  // namespace zk
