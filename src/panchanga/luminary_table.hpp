// The sidereal Moon and Sun over a stretch of time, read from the ephemeris every half day
// of a fixed grid (whole and half Julian days) and interpolated between the readings by the
// polynomial through the eight around an instant. The library's own longitudes are not
// smooth below about 1e-7 degrees, and the polynomial follows them to within 2e-7 degrees
// for the Moon and 4e-8 for the Sun in every era measured. That puts an element boundary
// read from the table within about two milliseconds of the one the library's readings show.
// A calendar shares one table among its days, at two readings a day.
#pragma once

#include <cstddef>
#include <vector>

#include "core/error.hpp"
#include "panchanga/elements.hpp"
#include "search/scan.hpp"

namespace zk {

class LuminaryTable {
  public:
    // Covers [from_jd, to_jd]; counts its readings on `poll` and asks it as it goes
    // (Interrupted). The first ephemeris error ends the reading.
    static Result<LuminaryTable> read(double from_jd, double to_jd, bool true_nodes,
                                      InterruptPoll& poll);

    bool covers(double jd) const;
    // Longitudes in [0, 360) at an instant the table covers.
    Luminaries at(double jd) const;

    // The Moon and the Sun as continuous angles: their longitudes plus whole turns, counted
    // from the first reading, so that sums and differences of them (the angles the elements
    // divide) only grow. Equal to the longitudes modulo 360 degrees.
    Luminaries continuous(double jd) const;
    // The same at the k-th reading, exactly.
    Luminaries reading(size_t k) const { return turns_[k]; }

    // The instant in (lo, hi] at which `angle` of the continuous luminaries, which grows from
    // below `boundary` at lo to at least it at hi, reaches it: within ten microseconds of
    // where the table's polynomial does.
    template <typename Angle>
    double crossing(const Angle& angle, double boundary, double lo, double hi) const;

    // The instant of the first reading, and of the k-th.
    double first_jd() const { return first_jd_; }
    double reading_jd(size_t k) const { return first_jd_ + static_cast<double>(k) * kStepDays; }
    static constexpr double kStepDays = 0.5;

  private:
    double first_jd_ = 0.0;
    std::vector<Luminaries> turns_;  // the readings as continuous angles
};

namespace detail {
// The zero in (lo, hi] of an increasing `grown` that is negative at lo and not at hi: regula
// falsi with the Illinois correction, which keeps both ends moving.
double rising_zero(double (*grown)(const void*, double), const void* context, double lo, double hi,
                   double f_lo, double f_hi);
}  // namespace detail

template <typename Angle>
double LuminaryTable::crossing(const Angle& angle, double boundary, double lo, double hi) const {
    struct Context {
        const LuminaryTable* table;
        const Angle* angle;
        double boundary;
    } context{this, &angle, boundary};
    const auto grown = [](const void* c, double t) {
        const auto* k = static_cast<const Context*>(c);
        return (*k->angle)(k->table->continuous(t)) - k->boundary;
    };
    return detail::rising_zero(grown, &context, lo, hi, angle(continuous(lo)) - boundary,
                               angle(continuous(hi)) - boundary);
}

}  // namespace zk
