#include "core/dignity.hpp"

#include <array>

#include "core/zodiac.hpp"

namespace zk {
namespace {

// Sun..Saturn.
constexpr std::array<DignityRow, 7> kDignities = {{
    {Sign::Aries, Sign::Libra, Sign::Leo, 0.0, 20.0},
    {Sign::Taurus, Sign::Scorpio, Sign::Taurus, 4.0, kSignSpanDeg},
    {Sign::Capricorn, Sign::Cancer, Sign::Aries, 0.0, 12.0},
    {Sign::Virgo, Sign::Pisces, Sign::Virgo, 16.0, 20.0},
    {Sign::Cancer, Sign::Capricorn, Sign::Sagittarius, 0.0, 10.0},
    {Sign::Pisces, Sign::Virgo, Sign::Libra, 0.0, 15.0},
    {Sign::Libra, Sign::Aries, Sign::Aquarius, 0.0, 20.0},
}};

}  // namespace

const DignityRow* dignity_row(Planet planet) {
    const unsigned index = planet_index(planet);
    return index < kDignities.size() ? &kDignities[index] : nullptr;
}

bool is_own_or_exalted(Planet planet, Sign sign) {
    const DignityRow* row = dignity_row(planet);
    return row && (sign == row->exaltation || is_own_sign(planet, sign));
}

Dignities compute_dignities(Planet planet, Sign sign, double longitude) {
    const DignityRow* row = dignity_row(planet);
    if (!row) return {};
    const double degree = degree_in_sign(longitude);
    Dignities d;
    d.is_exalted = sign == row->exaltation;
    d.is_debilitated = sign == row->debilitation;
    d.is_own_sign = is_own_sign(planet, sign);
    d.is_moolatrikona = sign == row->moolatrikona && degree >= row->moolatrikona_from_deg &&
                        degree < row->moolatrikona_to_deg;
    return d;
}

}  // namespace zk
