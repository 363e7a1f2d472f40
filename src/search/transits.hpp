// Sign ingresses of the nine grahas between two instants, in the selected sidereal mode.
// Instants are UTC date-times (Julian days UT inside); ingress times are whole seconds.
// Errors: Kind::Interrupted when the caller's interrupt check asked to stop. A failed
// ephemeris call counts as longitude 0 (Aries) and fails nothing.
#pragma once

#include <vector>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/vocab.hpp"
#include "search/scan.hpp"

namespace zk {

struct Ingress {
    UtcDateTime ingress_time;  // whole seconds
    Sign from_sign;
    Sign to_sign;
    Planet planet;
    bool is_retrograde;  // the planet's speed at the ingress is negative
};

// The sign of the planet's sidereal longitude at `jd` (UT) in the selected sidereal mode.
// A failed ephemeris call is its error, which a transit search passes on to its caller.
Result<Sign> get_planet_sign(double jd, Planet planet, bool true_nodes);

// Every sign change of every planet in [from, to), sorted by time; ties keep planet order.
// Each planet is sampled once a day; a changed sample is halved 20 times over the whole
// day before it, so a sign entered and left again between two samples goes unseen.
// Empty when `from` is not before `to`.
Result<std::vector<Ingress>> get_transits(const UtcDateTime& from, const UtcDateTime& to,
                                          const AyanamsaMode& ayanamsa, bool true_nodes,
                                          const Interrupted& interrupted);

}  // namespace zk
