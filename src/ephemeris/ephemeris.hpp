// The only gateway to the Swiss Ephemeris. Instants are Julian days in Universal Time,
// angles degrees, speeds degrees per day. The library's sidereal mode is process-wide:
// every computation selects it immediately before its position and house calls, under the
// Python interpreter lock. Errors: positions fail with SweCalculation (the library's own
// message) and sunrises with InvalidParameter; date and house conversions answer nothing
// and leave the message to their caller. A NaN or absurd Julian day never reaches the
// library.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/records.hpp"
#include "core/vocab.hpp"

namespace zk::ephemeris {

// Whether a Julian day may reach the library: finite, and within ten billion days. Every
// call below refuses any other.
bool is_usable_jd(double jd);

// Julian day (UT) of a UTC date-time; 2000-01-01 12:00:00 is 2451545.0.
double julian_day(const UtcDateTime& t);

// UTC date-time of a Julian day, rounded to the nearest second (halves away from zero).
// Nothing when the Julian day is not finite or yields no representable date.
std::optional<UtcDateTime> from_julian_day(double jd);

// Selects the sidereal mode of the ayanamsa. A custom ayanamsa of x degrees means x at
// J2000.0 (the user-defined mode with t0 = 2451545.0).
void select_sidereal_mode(const AyanamsaMode& mode);

// The mode this thread selected last (Lahiri before any selection). A scan that lets its
// caller run code (a signal handler may compute with another ayanamsa on this thread)
// selects its own mode again afterwards.
AyanamsaMode selected_sidereal_mode();

// Sidereal position of one planet; only planet, longitude, latitude, speed and
// is_retrograde are filled. Rahu is the true node when true_nodes is set, else the mean
// node; Ketu is Rahu + 180 degrees with Rahu's latitude and speed.
Result<PlanetPosition> calc_ut(double jd, bool true_nodes, Planet planet);

// How many of this thread's position calls the library's analytical fallback served, because
// the data files were missing or the instant lay outside them. A chart compares the count
// before and after its positions to say which ephemeris served it.
uint64_t analytical_positions();

// Julian day (UT) of the first sunrise after jd; InvalidParameter "Sun always up?" when the
// Sun does not rise (polar day or night).
Result<double> sunrise(double jd, double latitude, double longitude, double altitude);

// The apparent geocentric place of the Sun or the Moon in the true equator and equinox of
// date, rectangular in astronomical units, with its velocity per day; the rise and set
// search samples these. Errors as calc_ut's.
struct EquatorialState {
    std::array<double, 3> pos{};
    std::array<double, 3> vel{};
};
Result<EquatorialState> equatorial_state(double jd, Planet planet);

// Apparent sidereal time at Greenwich in degrees; InvalidParameter "Julian day outside the
// ephemeris" for an unusable jd.
Result<double> apparent_sidereal_time(double jd);

// Dynamical time minus Universal Time (delta T) at a Julian day, in days; jd must be usable.
double delta_t(double jd);

// Sidereal house cusps (element 0 unused) and angles (element 0 the ascendant) for a house
// system letter; false when the library refuses.
struct HouseResult {
    std::array<double, 13> cusps{};
    std::array<double, 10> angles{};
};
std::optional<HouseResult> houses(double jd, double latitude, double longitude, char system);

// The ascendant: the Equal-system call's ascendant slot. Charts and time windows share it.
std::optional<double> ascendant(double jd, double latitude, double longitude);

// The folder the library reads its data files from, chosen once per process: the
// ZODIAKIT_EPHE_PATH environment variable when set (a folder, or folders separated by ':'),
// else the data the package ships (the folder "ephe" beside the module), else Debian's
// /usr/share/libswe/ephe. The working directory is never searched. (The library's own
// SE_EPHE_PATH variable, read by the library itself, still overrides this choice.)
const std::string& data_path();

// Sets data_path() as the library's search path in the calling thread, the first time that
// thread calls it (the library keeps its settings per thread); a forked child sets it again
// after closing its inherited files. Called before every library call that may read a file.
void use_data_path();

#ifdef ZODIAKIT_COUNT_EPHEMERIS_CALLS
// Test builds only (the C++ suites and the benchmark's native program compile this file once
// more with the define): the calls that reached the library since the last reset.
struct CallCounts {
    uint64_t positions = 0;    // calc_ut
    uint64_t houses = 0;       // houses, and with them ascendant
    uint64_t sunrises = 0;     // sunrise
    uint64_t sky_samples = 0;  // equatorial_state and apparent_sidereal_time
};
CallCounts call_counts();
void reset_call_counts();
#endif

}  // namespace zk::ephemeris
