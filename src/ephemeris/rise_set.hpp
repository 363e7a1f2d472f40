// Risings, settings and meridian transits of the Sun and the Moon at a place, from the
// Swiss Ephemeris. Instants are Julian days in Universal Time. A body that does not rise
// or set within the library's search is "no event", never an error: polar days and nights
// and moonless days are ordinary.
#pragma once

#include <optional>

#include "core/error.hpp"
#include "core/records.hpp"

namespace zk::ephemeris {

enum class SkyBody { Sun, Moon };

enum class SkyEvent { Rise, Set, UpperTransit };

// Which point of the disc meets the horizon. UpperLimbRefracted is the library's default
// rising: the upper limb at apparent altitude 0, refraction for 1013.25 hPa and 0 degrees C
// (pressure 0 and temperature 0 passed to the library, as `sunrise` does).
// CentreUnrefracted is the centre of the disc at geometric altitude 0, without refraction
// (the library's disc-centre and no-refraction bits). Transits ignore it.
enum class DiscPoint { UpperLimbRefracted, CentreUnrefracted };

// The first event of the kind after jd (topocentric, at the place's altitude in metres).
// Nothing when the library finds none (a circumpolar body). Errors: a Julian day that is not
// finite or is absurdly far (InvalidParameter "Julian day outside the ephemeris"), or the
// library's own failure (SweCalculation for "Sun" or "Moon" with its message).
Result<std::optional<double>> next_sky_event(double jd, SkyBody body, SkyEvent event,
                                             DiscPoint disc, const GeoLocation& place);

}  // namespace zk::ephemeris
