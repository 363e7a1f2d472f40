// The chart record and its parts. A record, once built, is never changed; Python objects
// copy what they expose. Longitudes and latitudes are degrees, altitudes metres, speeds
// degrees per day; plain data, so nothing here fails.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.hpp"
#include "core/vocab.hpp"
#include "core/zodiac.hpp"

namespace zk {

struct GeoLocation {
    double latitude = 0.0;   // degrees north
    double longitude = 0.0;  // degrees east
    double altitude = 0.0;   // metres
};

struct HouseCusp {
    uint8_t house = 1;  // 1..12
    double cusp = 0.0;  // sidereal longitude of the house's start, degrees
};

struct ShadbalaScore {
    double sthana_bala = 0.0;
    double dik_bala = 0.0;
    double kala_bala = 0.0;
    double chesta_bala = 0.0;
    double naisargika_bala = 0.0;
    double drik_bala = 0.0;  // clamped into [0, 60]
    double total = 0.0;      // sum of the six components
    double required = 0.0;
    bool is_sufficient = false;  // total >= required
};

// A planet's sign in each varga it has been placed in, in the order they were set. A flat
// list: a chart sets fifteen per planet, too few to be worth a tree of nodes.
class VargaSigns {
  public:
    using Entry = std::pair<uint32_t, Sign>;

    VargaSigns() = default;
    VargaSigns(std::initializer_list<Entry> entries) {
        for (const Entry& e : entries) set(e.first, e.second);
    }

    void set(uint32_t varga, Sign sign) {
        for (Entry& e : entries_) {
            if (e.first == varga) {
                e.second = sign;
                return;
            }
        }
        entries_.emplace_back(varga, sign);
    }
    std::optional<Sign> find(uint32_t varga) const {
        for (const Entry& e : entries_) {
            if (e.first == varga) return e.second;
        }
        return std::nullopt;
    }
    void reserve(size_t n) { entries_.reserve(n); }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

  private:
    std::vector<Entry> entries_;
};

struct PlanetPosition {
    Planet planet = Planet::Sun;
    double longitude = 0.0;  // sidereal degrees [0, 360)
    double latitude = 0.0;   // ecliptic degrees
    double speed = 0.0;      // degrees of longitude per day
    bool is_retrograde = false;
    std::optional<Sign> sign;
    std::optional<Nakshatra> nakshatra;
    std::optional<uint8_t> house;  // 1..12
    VargaSigns divisional_signs;   // varga number -> sign
    bool is_exalted = false;
    bool is_debilitated = false;
    bool is_own_sign = false;
    bool is_moolatrikona = false;
    bool is_vargottama = false;
    std::optional<ShadbalaScore> shadbala;  // Sun..Saturn only
};

struct VargaPosition {
    Planet planet = Planet::Sun;
    double source_longitude = 0.0;
    uint32_t varga = 0;
    Sign varga_sign = Sign::Aries;
    uint32_t varga_index = 0;
    std::optional<double> display_longitude;
    std::vector<std::string> warnings;
};

struct Aspect {
    Planet from_planet = Planet::Sun;
    uint8_t to_house = 1;
    std::optional<Planet> to_planet;
    double strength = 1.0;
    bool is_special = false;
};

struct Ashtakavarga {
    std::map<std::string, std::array<uint8_t, 12>> binna;  // "sun" ... "saturn"
    std::array<uint8_t, 12> sarva{};
};

// One Vimshottari period. Its bounds are whole seconds since 1970-01-01T00:00:00Z, always
// inside the representable calendar; a dasha tree has 819 of them, so they become
// date-times only when shown.
struct DashaPeriod {
    Planet lord = Planet::Sun;
    int64_t start = 0;
    int64_t end = 0;  // the start of the next period
    std::vector<DashaPeriod> sub_periods;

    std::string_view lord_name() const { return planet_name(lord); }
    UtcDateTime start_time() const { return from_unix_seconds(start).value(); }
    UtcDateTime end_time() const { return from_unix_seconds(end).value(); }

    friend bool operator==(const DashaPeriod&, const DashaPeriod&) = default;
};

struct YogaResult {
    std::string name;
    std::string category;
    std::string description;
    std::vector<Planet> planets_involved;
    bool is_present = true;
};

struct CalculationMetadata {
    std::string input_mode = "utc";
    std::string utc_datetime;
    std::optional<std::string> timezone = "UTC";
    double latitude = 0.0;
    double longitude = 0.0;
    double altitude = 0.0;
    std::string ayanamsa;
    std::string house_system;
    bool true_nodes = true;
    std::string ephemeris = "Swiss Ephemeris";
    std::string longitude_type = "sidereal";
    std::string calculation_version = "1.0.0";
};

struct Chart {
    UtcDateTime datetime;
    GeoLocation location;
    AyanamsaMode ayanamsa;
    std::vector<PlanetPosition> planets;  // Sun..Ketu
    double ascendant = 0.0;
    VargaSigns ascendant_divisional_signs;                  // varga number -> sign, as the planets'
    std::vector<HouseCusp> houses;                          // houses 1..12
    std::map<std::string, std::vector<DashaPeriod>> dasha;  // "vimshottari"
    std::map<uint32_t, std::vector<VargaPosition>> divisional_charts;
    std::map<Planet, Karaka> karakas;
    std::vector<Aspect> aspects;
    Ashtakavarga ashtakavarga;
    std::vector<YogaResult> yogas;
    CalculationMetadata metadata;
    std::vector<std::string> warnings;
};

// First record of `planet` in a planet list, or null.
inline const PlanetPosition* find_planet(const std::vector<PlanetPosition>& planets,
                                         Planet planet) {
    for (const auto& p : planets) {
        if (p.planet == planet) return &p;
    }
    return nullptr;
}

// A planet record with a house in a kendra; a null record or one without a house is not.
inline bool in_kendra(const PlanetPosition* p) {
    return p && p->house && is_kendra(*p->house);
}

}  // namespace zk
