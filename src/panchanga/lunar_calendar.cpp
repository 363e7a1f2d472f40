#include "panchanga/lunar_calendar.hpp"

#include <cmath>
#include <numbers>

#include "core/vocab.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/calendar_names.hpp"

namespace zk {
namespace {

constexpr double kSynodicMonthDays = 29.530588853;
constexpr double kMeanElongationPerDay = kFullCircleDeg / kSynodicMonthDays;
constexpr int kNewtonRounds = 12;
// A Newton step below this (about 0.9 s) leaves the new moon within 2e-11 days: the
// elongation accelerates by less than 3 degrees a day per day and grows by more than 10
// degrees a day, so the next step would be under 0.15 x this squared. The step is taken
// without another sample.
constexpr double kSettledStepDays = 1e-5;
// A synodic month lasts 29.27 to 29.83 days: a search for the next new moon that lands
// outside these bounds found another one.
constexpr double kShortestMonthDays = 29.0, kLongestMonthDays = 30.1;
// The first new moon of 2000 (Julian Ephemeris Day), number 0 of the count below.
constexpr double kNewMoonZero = 2451550.09766;
constexpr int64_t kShakaOffset = 78;  // Gregorian year - Shaka year, from Chaitra
constexpr int64_t kVikramAfterShaka = 135;

// The Moon's elongation from the Sun in (-180, 180] and its rate in degrees a day.
struct Elongation {
    double degrees = 0.0;
    double rate = 0.0;
};

Result<Elongation> elongation_at(double jd, bool true_nodes) {
    auto moon = ephemeris::calc_ut(jd, true_nodes, Planet::Moon);
    if (!moon) return std::unexpected(moon.error());
    auto sun = ephemeris::calc_ut(jd, true_nodes, Planet::Sun);
    if (!sun) return std::unexpected(sun.error());
    double e = normalize_degrees(moon->longitude - sun->longitude);
    if (e > 180.0) e -= kFullCircleDeg;
    return Elongation{e, moon->speed - sun->speed};
}

// The new moon numbered k (0 the first of 2000), estimated to within 0.001 days in 1000-2990
// and 0.01 days in 2900 BCE, as a Julian day (UT): the mean lunation with the chief
// periodic terms of the Moon's and the Sun's orbits (Meeus, Astronomical Algorithms, 49).
double estimated_new_moon(int64_t k) {
    const double n = static_cast<double>(k), t = n / 1236.85, t2 = t * t, t3 = t2 * t;
    const double jde = kNewMoonZero + 29.530588861 * n + 0.00015437 * t2 - 0.000000150 * t3 +
                       0.00000000073 * t2 * t2;
    const auto rad = [](double degrees) {
        return std::fmod(degrees, 360.0) * (std::numbers::pi / 180.0);
    };
    const double m = rad(2.5534 + 29.10535670 * n - 0.0000014 * t2 - 0.00000011 * t3);
    const double mp =
        rad(201.5643 + 385.81693528 * n + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t2 * t2);
    const double f =
        rad(160.7108 + 390.67050284 * n - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t2 * t2);
    const double node = rad(124.7746 - 1.56375588 * n + 0.0020672 * t2 + 0.00000215 * t3);
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    using std::sin;
    const double terms =
        -0.40720 * sin(mp) + 0.17241 * e * sin(m) + 0.01608 * sin(2 * mp) + 0.01039 * sin(2 * f) +
        0.00739 * e * sin(mp - m) - 0.00514 * e * sin(mp + m) + 0.00208 * e * e * sin(2 * m) -
        0.00111 * sin(mp - 2 * f) - 0.00057 * sin(mp + 2 * f) + 0.00056 * e * sin(2 * mp + m) -
        0.00042 * sin(3 * mp) + 0.00042 * e * sin(m + 2 * f) + 0.00038 * e * sin(m - 2 * f) -
        0.00024 * e * sin(2 * mp - m) - 0.00017 * sin(node);
    return jde + terms - ephemeris::delta_t(jde);
}

// More than estimated_new_moon is ever off by.
constexpr double kEstimateErrorDays = 0.05;

// The number of the last mean new moon at or before jd.
int64_t lunation_number(double jd) {
    return static_cast<int64_t>(std::floor((jd - kNewMoonZero) / kSynodicMonthDays));
}

// Newton's method on the elongation from a guess within a few days of a new moon.
Result<double> refine_new_moon(double guess, bool true_nodes) {
    double t = guess;
    for (int round = 0; round < kNewtonRounds; ++round) {
        auto e = elongation_at(t, true_nodes);
        if (!e) return std::unexpected(e.error());
        const double rate = e->rate > 1.0 ? e->rate : kMeanElongationPerDay;
        const double step = e->degrees / rate;
        t -= step;
        if (std::fabs(step) < kSettledStepDays) return t;
    }
    return std::unexpected(ZodiakitError::computation("new moon search did not converge"));
}

uint32_t next_in_cycle(uint32_t number, uint32_t length) {
    return number % length + 1;
}

LunarMonth month_named(uint32_t index, bool adhika, bool kshaya) {
    return LunarMonth{index, std::string(masa_name(index)), adhika, kshaya};
}

LunarMonth amanta_month(const Lunation& l) {
    const uint32_t sankrantis = count_from(l.end_sign, l.start_sign, 12) - 1;
    return month_named(next_in_cycle(l.start_sign, 12), sankrantis == 0, sankrantis == 2);
}

// The Gregorian year in which the lunar year containing the month began: Chaitra begins
// between mid-March and mid-April, so counting back whole lunations to it lands in the
// right year even when a leap or lost month makes the count one off.
int64_t year_of_chaitra(const Lunation& current, uint32_t masa) {
    const double chaitra = current.start_jd - (masa - 1) * kSynodicMonthDays;
    const auto when = ephemeris::from_julian_day(chaitra);
    if (!when) throw InvariantFailure("lunar year outside the calendar range");
    return when->year;
}

}  // namespace

Result<double> new_moon_at_or_before(double jd_ut, bool true_nodes) {
    // An instant the library refuses gives the error of its position call.
    if (!ephemeris::is_usable_jd(jd_ut))
        return std::unexpected(elongation_at(jd_ut, true_nodes).error());
    int64_t n = lunation_number(jd_ut) + 1;
    while (estimated_new_moon(n) > jd_ut) --n;
    // Only where an estimate lies within its error of the instant can the answer be another.
    if (estimated_new_moon(n + 1) - jd_ut < kEstimateErrorDays) {
        ZK_TRY(next, refine_new_moon(estimated_new_moon(n + 1), true_nodes));
        if (next <= jd_ut) return next;
    }
    ZK_TRY(found, refine_new_moon(estimated_new_moon(n), true_nodes));
    if (found <= jd_ut) return found;
    return refine_new_moon(estimated_new_moon(n - 1), true_nodes);
}

Result<double> new_moon_after(double jd_ut, bool true_nodes) {
    if (!ephemeris::is_usable_jd(jd_ut))
        return std::unexpected(elongation_at(jd_ut, true_nodes).error());
    int64_t n = lunation_number(jd_ut);
    while (estimated_new_moon(n) <= jd_ut) ++n;
    if (jd_ut - estimated_new_moon(n - 1) < kEstimateErrorDays) {
        ZK_TRY(previous, refine_new_moon(estimated_new_moon(n - 1), true_nodes));
        if (previous > jd_ut) return previous;
    }
    ZK_TRY(found, refine_new_moon(estimated_new_moon(n), true_nodes));
    if (found > jd_ut) return found;
    return refine_new_moon(estimated_new_moon(n + 1), true_nodes);
}

Result<uint32_t> sun_sign_at(double jd_ut, bool true_nodes) {
    auto sun = ephemeris::calc_ut(jd_ut, true_nodes, Planet::Sun);
    if (!sun) return std::unexpected(sun.error());
    return sign_number(sign_from_longitude(normalize_degrees(sun->longitude)));
}

namespace {

// The lunation beginning at a new moon whose Sun sign is known.
Result<Lunation> lunation_with_start_sign(double new_moon_jd, uint32_t start_sign,
                                          bool true_nodes) {
    const int64_t number = lunation_number(new_moon_jd + kSynodicMonthDays / 2);
    auto end = refine_new_moon(estimated_new_moon(number + 1), true_nodes);
    if (end &&
        !(*end > new_moon_jd + kShortestMonthDays && *end < new_moon_jd + kLongestMonthDays)) {
        end = new_moon_after(new_moon_jd, true_nodes);
    }
    if (!end) return std::unexpected(end.error());
    auto end_sign = sun_sign_at(*end, true_nodes);
    if (!end_sign) return std::unexpected(end_sign.error());
    return Lunation{new_moon_jd, *end, start_sign, *end_sign};
}

}  // namespace

Result<Lunation> lunation_from(double new_moon_jd, bool true_nodes) {
    auto start_sign = sun_sign_at(new_moon_jd, true_nodes);
    if (!start_sign) return std::unexpected(start_sign.error());
    return lunation_with_start_sign(new_moon_jd, *start_sign, true_nodes);
}

Result<Lunation> next_lunation(const Lunation& lunation, bool true_nodes) {
    return lunation_with_start_sign(lunation.end_jd, lunation.end_sign, true_nodes);
}

LunarCalendar lunar_calendar_from(const Lunation& current, const Lunation& next,
                                  const Luminaries& now) {
    LunarCalendar c;
    c.amanta = amanta_month(current);
    const bool krishna = tithi_number(now.moon_deg, now.sun_deg) > 15;
    if (!krishna || c.amanta.adhika) {
        c.purnimanta = c.amanta;
    } else {
        c.purnimanta = amanta_month(next);
        c.purnimanta.adhika = false;
    }
    c.shaka_year = year_of_chaitra(current, c.amanta.index) - kShakaOffset;
    c.vikram_year = c.shaka_year + kVikramAfterShaka;
    c.samvatsara = static_cast<uint32_t>(((c.shaka_year + 11) % 60 + 60) % 60) + 1;
    c.samvatsara_name = samvatsara_name(c.samvatsara);
    c.ritu = (c.amanta.index - 1) / 2 + 1;
    c.ritu_name = ritu_name(c.ritu);
    c.sun_sign = sign_number(sign_from_longitude(normalize_degrees(now.sun_deg)));
    c.sun_sign_name = rashi_name(c.sun_sign);
    c.moon_sign = sign_number(sign_from_longitude(normalize_degrees(now.moon_deg)));
    c.moon_sign_name = rashi_name(c.moon_sign);
    const bool northward = c.sun_sign >= 10 || c.sun_sign <= 3;
    c.ayana = northward ? 1 : 2;
    c.ayana_name = ayana_name(c.ayana);
    return c;
}

Result<Lunations> lunations_around(double jd_ut, bool true_nodes) {
    ZK_TRY(start, new_moon_at_or_before(jd_ut, true_nodes));
    ZK_TRY(current, lunation_from(start, true_nodes));
    ZK_TRY(next, next_lunation(current, true_nodes));
    return Lunations{current, next};
}

Result<LunarCalendar> compute_lunar_calendar(double jd_ut, bool true_nodes) {
    ZK_TRY(lunations, lunations_around(jd_ut, true_nodes));
    ZK_TRY(now, luminaries_at(jd_ut, true_nodes));
    return lunar_calendar_from(lunations.current, lunations.next, now);
}

}  // namespace zk
