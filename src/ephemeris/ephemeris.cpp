#include "ephemeris/ephemeris.hpp"

#include <pthread.h>
#include <swephexp.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "core/binary_folder.hpp"
#include "core/format.hpp"
#include "core/utf8.hpp"

namespace zk::ephemeris {
namespace {

constexpr int32 kPositionFlags = SEFLG_SPEED | SEFLG_SIDEREAL;
constexpr int32 kHouseFlags = SEFLG_SIDEREAL;
constexpr double kJ2000 = 2451545.0;

// The library's body of each planet from the Sun to Saturn, in Planet order.
constexpr int32 kBodies[] = {SE_SUN, SE_MOON, SE_MARS, SE_MERCURY, SE_JUPITER, SE_VENUS, SE_SATURN};
static_assert(std::size(kBodies) == kClassicalPlanets.size());

int32 body_of(Planet planet, bool true_nodes) {
    if (planet == Planet::Rahu || planet == Planet::Ketu) {
        return true_nodes ? SE_TRUE_NODE : SE_MEAN_NODE;
    }
    return kBodies[planet_index(planet)];
}

// The library's sidereal mode of each named ayanamsa, in AyanamsaMode::Kind order.
constexpr int32 kSiderealModes[] = {SE_SIDM_LAHIRI, SE_SIDM_RAMAN, SE_SIDM_KRISHNAMURTI,
                                    SE_SIDM_TRUE_CITRA, SE_SIDM_TRUE_PUSHYA};
static_assert(std::size(kSiderealModes) == static_cast<size_t>(AyanamsaMode::Kind::Custom));

#ifdef ZODIAKIT_COUNT_EPHEMERIS_CALLS
thread_local CallCounts t_counts;
#define ZK_COUNT_CALL(kind) (++t_counts.kind)
#else
#define ZK_COUNT_CALL(kind) ((void)0)
#endif

}  // namespace

// The library keeps file and cache state between calls, and a NaN or astronomically huge
// Julian day leaves that state corrupted, so that every later call in the process fails.
// Such instants never reach it. Ten billion days is far beyond any ephemeris.
bool is_usable_jd(double jd) {
    return std::isfinite(jd) && std::fabs(jd) <= 1e10;
}

double julian_day(const UtcDateTime& t) {
    const double hour = t.hour + t.minute / 60.0 + t.second / 3600.0;
    return swe_julday(t.year, static_cast<int>(t.month), static_cast<int>(t.day), hour,
                      SE_GREG_CAL);
}

std::optional<UtcDateTime> from_julian_day(double jd) {
    if (!is_usable_jd(jd)) return std::nullopt;
    int year = 0, month = 0, day = 0;
    double hour = 0.0;
    swe_revjul(jd, SE_GREG_CAL, &year, &month, &day, &hour);
    if (!is_valid_date(year, static_cast<uint32_t>(month), static_cast<uint32_t>(day)) ||
        !std::isfinite(hour)) {
        return std::nullopt;
    }
    const int64_t seconds = static_cast<int64_t>(std::llround(hour * 3600.0));
    UtcDateTime midnight{static_cast<int32_t>(year),
                         static_cast<uint32_t>(month),
                         static_cast<uint32_t>(day),
                         0,
                         0,
                         0};
    return from_unix_seconds(to_unix_seconds(midnight) + seconds);
}

namespace {
thread_local AyanamsaMode t_sidereal_mode{};
thread_local uint64_t t_analytical_positions = 0;
}  // namespace

uint64_t analytical_positions() {
    return t_analytical_positions;
}

AyanamsaMode selected_sidereal_mode() {
    return t_sidereal_mode;
}

void select_sidereal_mode(const AyanamsaMode& mode) {
    t_sidereal_mode = mode;
    if (mode.kind == AyanamsaMode::Kind::Custom) {
        swe_set_sid_mode(SE_SIDM_USER, kJ2000, mode.custom_deg);
    } else {
        swe_set_sid_mode(kSiderealModes[static_cast<size_t>(mode.kind)], 0, 0);
    }
}

Result<PlanetPosition> calc_ut(double jd, bool true_nodes, Planet planet) {
    const std::string name(planet_name(planet));
    if (!is_usable_jd(jd)) {
        return std::unexpected(ZodiakitError::swe(
            name, std::isnan(jd)
                      ? "NaN returned"
                      : "Julian day " + format_shortest(jd) + " is outside the ephemeris"));
    }
    double xx[6] = {0, 0, 0, 0, 0, 0};
    char serr[AS_MAXCH] = {0};
    use_data_path();
    ZK_COUNT_CALL(positions);
    const int32 rc = swe_calc_ut(jd, body_of(planet, true_nodes), kPositionFlags, xx, serr);
    if (rc < 0)
        return std::unexpected(ZodiakitError::swe(name, valid_utf8_prefix(serr, sizeof serr)));
    if (std::isnan(xx[0])) return std::unexpected(ZodiakitError::swe(name, "NaN returned"));
    if (rc & SEFLG_MOSEPH) ++t_analytical_positions;
    PlanetPosition pos;
    pos.planet = planet;
    pos.longitude = planet == Planet::Ketu ? std::fmod(xx[0] + 180.0, 360.0) : xx[0];
    pos.latitude = xx[1];
    pos.speed = xx[3];
    pos.is_retrograde = xx[3] < 0.0;
    return pos;
}

Result<double> sunrise(double jd, double latitude, double longitude, double altitude) {
    if (!is_usable_jd(jd)) {
        return std::unexpected(ZodiakitError::invalid_parameter("Sun always up?"));
    }
    double geopos[3] = {longitude, latitude, altitude};
    double tret[10] = {0};
    char serr[AS_MAXCH] = {0};
    use_data_path();
    ZK_COUNT_CALL(sunrises);
    const int32 rc =
        swe_rise_trans(jd, SE_SUN, nullptr, 0, SE_CALC_RISE, geopos, 0.0, 0.0, tret, serr);
    // -2 means the Sun does not rise at all there (polar day or night); -1 an error. A
    // non-finite instant (from a non-finite start or place) is no sunrise either.
    if (rc < 0 || !std::isfinite(tret[0])) {
        return std::unexpected(ZodiakitError::invalid_parameter("Sun always up?"));
    }
    return tret[0];
}

Result<EquatorialState> equatorial_state(double jd, Planet planet) {
    const std::string name(planet_name(planet));
    if (!is_usable_jd(jd)) {
        return std::unexpected(
            ZodiakitError::invalid_parameter("Julian day outside the ephemeris"));
    }
    double xx[6] = {0, 0, 0, 0, 0, 0};
    char serr[AS_MAXCH] = {0};
    use_data_path();
    ZK_COUNT_CALL(sky_samples);
    const int32 rc = swe_calc_ut(jd, body_of(planet, false),
                                 SEFLG_EQUATORIAL | SEFLG_XYZ | SEFLG_SPEED, xx, serr);
    if (rc < 0)
        return std::unexpected(ZodiakitError::swe(name, valid_utf8_prefix(serr, sizeof serr)));
    if (!std::isfinite(xx[0])) return std::unexpected(ZodiakitError::swe(name, "NaN returned"));
    return EquatorialState{{xx[0], xx[1], xx[2]}, {xx[3], xx[4], xx[5]}};
}

Result<double> apparent_sidereal_time(double jd) {
    if (!is_usable_jd(jd)) {
        return std::unexpected(
            ZodiakitError::invalid_parameter("Julian day outside the ephemeris"));
    }
    use_data_path();
    ZK_COUNT_CALL(sky_samples);
    return swe_sidtime(jd) * 15.0;
}

double delta_t(double jd) {
    use_data_path();
    return swe_deltat(jd);
}

std::optional<HouseResult> houses(double jd, double latitude, double longitude, char system) {
    HouseResult out;
    if (!is_usable_jd(jd)) return std::nullopt;
    use_data_path();
    ZK_COUNT_CALL(houses);
    if (swe_houses_ex(jd, kHouseFlags, latitude, longitude, system, out.cusps.data(),
                      out.angles.data()) < 0) {
        return std::nullopt;
    }
    return out;
}

std::optional<double> ascendant(double jd, double latitude, double longitude) {
    auto result = houses(jd, latitude, longitude, 'E');
    if (!result) return std::nullopt;
    return result->angles[0];
}

namespace {

constexpr const char* kSystemDataPath = "/usr/share/libswe/ephe";

// The library ignores a path longer than this and falls back to its default search, which
// starts in the working directory.
constexpr size_t kLongestPath = AS_MAXCH - 1 - 13;

std::string choose_data_path() {
    const char* chosen = std::getenv("ZODIAKIT_EPHE_PATH");
    if (chosen && *chosen && std::strlen(chosen) <= kLongestPath) return chosen;
    const std::string bundled = binary_folder().empty() ? "" : binary_folder() + "/ephe";
    if (bundled.size() <= kLongestPath && is_folder(bundled)) return bundled;
    return kSystemDataPath;
}

// The library keeps its settings and open data files per thread. A thread's files are
// closed when it ends; otherwise every finished thread would leave two descriptors open.
struct ThreadState {
    bool data_path_set = false;
    ~ThreadState() {
        if (data_path_set) swe_close();
    }
};
thread_local ThreadState t_state;

void set_data_path() {
    swe_set_ephe_path(data_path().c_str());
    t_state.data_path_set = true;
}

void close_files_in_forked_children() {
    // A forked child shares the parent's open data files, and with them their read offsets:
    // two processes reading at once corrupt each other's positions. The child closes its
    // copies; its first call reopens the files for itself.
    static const int registered = pthread_atfork(nullptr, nullptr, [] { swe_close(); });
    (void)registered;
}

}  // namespace

const std::string& data_path() {
    static const std::string path = choose_data_path();
    return path;
}

void use_data_path() {
    if (t_state.data_path_set) return;
    // Fork handlers run in the order they were registered: the child closes its inherited
    // files first, then sets the path again.
    close_files_in_forked_children();
    static const int registered = pthread_atfork(nullptr, nullptr, [] { set_data_path(); });
    (void)registered;
    set_data_path();
}

#ifdef ZODIAKIT_COUNT_EPHEMERIS_CALLS
CallCounts call_counts() {
    return t_counts;
}

void reset_call_counts() {
    t_counts = {};
}
#endif

}  // namespace zk::ephemeris
