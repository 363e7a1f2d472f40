// Risings, settings and meridian transits of the Sun and the Moon at a place. Instants are
// Julian days in Universal Time. A body that does not rise or set within the asked window
// is "no event", never an error: polar days and nights and moonless days are ordinary.
//
// How they are found: the body's apparent geocentric position (true equator of date) and
// the apparent sidereal time are read from the Swiss Ephemeris at fixed instants of a
// global grid (the Sun and sidereal time each whole Julian day, the Moon each half day),
// interpolated between them (cubic Hermite over positions and velocities; the error is
// below 0.001" for the Sun and at most 0.2" for the Moon), moved to the observer on the
// reference ellipsoid with diurnal aberration, and the crossing is solved on a grid of
// half-hour cells to about a microsecond. Grid samples are kept per thread, so that
// neighbouring days share them, and every answer depends only on the cell it lies in:
// the same event found from any starting instant is the same double.
#pragma once

#include <optional>

#include "core/error.hpp"
#include "core/records.hpp"

namespace zk::ephemeris {

enum class SkyBody { Sun, Moon };

enum class SkyEvent { Rise, Set, UpperTransit };

// Which point of the disc meets the horizon (the place's altitude sets the pressure).
// UpperLimbRefracted: the topocentric centre at -(R + s), R Sinclair's refraction at the
// horizon for the standard pressure at that altitude and 0 degrees C (36.74' at sea level),
// s the disc's apparent radius (Sun 696,000 km, Moon 1,738.15 km over the topocentric
// distance). CentreUnrefracted: the topocentric centre at geometric altitude 0. A transit is
// the topocentric hour angle passing 0 and ignores it.
enum class DiscPoint { UpperLimbRefracted, CentreUnrefracted };

// The first event of the kind at or after `from` and before `until` (at most a few days
// later), topocentric at the place. Errors: an instant that is not finite or is absurdly
// far (InvalidParameter "Julian day outside the ephemeris"), or the library's own failure
// (SweCalculation for "Sun" or "Moon" with its message).
Result<std::optional<double>> first_sky_event(double from, double until, SkyBody body,
                                              SkyEvent event, DiscPoint disc,
                                              const GeoLocation& place);

}  // namespace zk::ephemeris
