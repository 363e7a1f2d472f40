// Planetary dignities: the one table of the exaltation, debilitation and moolatrikona signs
// of the seven classical planets, and the own signs each of them rules. Rahu and Ketu have
// no dignities. Moolatrikona ranges are degrees within the sign, [0, 30). Nothing here
// fails; a longitude outside [0, 360) still gives its degree as fmod(L, 30).
#pragma once

#include "core/vocab.hpp"

namespace zk {

struct DignityRow {
    Sign exaltation;
    Sign debilitation;
    Sign moolatrikona;
    double moolatrikona_from_deg;  // degree within the sign, inclusive
    double moolatrikona_to_deg;    // exclusive
};

// The row of Sun..Saturn; nullptr for Rahu and Ketu.
const DignityRow* dignity_row(Planet planet);

// A sign the planet rules (Mars: Aries and Scorpio). The nodes rule none.
inline bool is_own_sign(Planet planet, Sign sign) {
    return sign_lord(sign) == planet;
}

// The planet's own signs and its sign of exaltation: Jupiter in Cancer, Sagittarius or
// Pisces. Never true for Rahu and Ketu.
bool is_own_or_exalted(Planet planet, Sign sign);

// The planet's dignities in a sign; the longitude gives only the degree within the sign.
struct Dignities {
    bool is_exalted = false;
    bool is_debilitated = false;
    bool is_own_sign = false;
    bool is_moolatrikona = false;
};
Dignities compute_dignities(Planet planet, Sign sign, double longitude);

}  // namespace zk
