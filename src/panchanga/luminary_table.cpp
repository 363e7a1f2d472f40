#include "panchanga/luminary_table.hpp"

#include <array>
#include <cmath>

#include "core/zodiac.hpp"

namespace zk {
namespace {

// The polynomial through eight readings, three before the reading at or before an instant
// and four after it.
constexpr int kBefore = 3;
constexpr int kAfter = 4;
constexpr int kWindow = kBefore + kAfter + 1;
// Barycentric weights of eight equally spaced points: (-1)^j C(7, j).
constexpr std::array<double, kWindow> kWeights = {1, -7, 21, -35, 35, -21, 7, -1};

// A crossing is taken where the angle lies this close to its boundary (the angles cross at
// more than a degree a day, so within ten microseconds), or at the end of a bracket that
// cannot be split any more (a Julian day's last place is 40 microseconds).
constexpr double kCrossingToleranceDeg = 1e-10;
constexpr int kMostCrossingRounds = 60;

}  // namespace

Result<LuminaryTable> LuminaryTable::read(double from_jd, double to_jd, bool true_nodes,
                                          InterruptPoll& poll) {
    const double first = std::floor(from_jd / kStepDays) - kBefore;
    const double last = std::floor(to_jd / kStepDays) + kAfter + 1;
    LuminaryTable table;
    table.first_jd_ = first * kStepDays;
    Luminaries previous{};
    for (double k = first; k <= last; k += 1.0) {
        ZK_TRY(reading, luminaries_at(k * kStepDays, true_nodes));
        if (table.turns_.empty()) {
            table.turns_.push_back(reading);
        } else {
            // No body moves half a circle in half a day.
            const Luminaries& t = table.turns_.back();
            table.turns_.push_back({t.moon_deg + angle_offset(reading.moon_deg, previous.moon_deg),
                                    t.sun_deg + angle_offset(reading.sun_deg, previous.sun_deg)});
        }
        previous = reading;
        poll.count(2);
        ZK_TRY_VOID(poll.check());
    }
    return table;
}

bool LuminaryTable::covers(double jd) const {
    const double at = (jd - first_jd_) / kStepDays;
    return at >= kBefore && at <= static_cast<double>(turns_.size()) - kAfter - 1;
}

Luminaries LuminaryTable::continuous(double jd) const {
    const double at = (jd - first_jd_) / kStepDays;
    const auto origin = static_cast<size_t>(std::floor(at));
    const Luminaries* window = &turns_[origin - kBefore];
    const Luminaries& o = turns_[origin];
    const double x = at - static_cast<double>(origin) + kBefore;
    double moon = 0.0, sun = 0.0, den = 0.0;
    for (int j = 0; j < kWindow; ++j) {
        const double d = x - j;
        if (d == 0.0) return window[j];
        const double w = kWeights[j] / d;
        moon += w * (window[j].moon_deg - o.moon_deg);
        sun += w * (window[j].sun_deg - o.sun_deg);
        den += w;
    }
    return Luminaries{o.moon_deg + moon / den, o.sun_deg + sun / den};
}

double detail::rising_zero(double (*grown)(const void*, double), const void* context, double lo,
                           double hi, double f_lo, double f_hi) {
    int kept_side = 0;
    for (int round = 0; round < kMostCrossingRounds; ++round) {
        double t = hi - f_hi * (hi - lo) / (f_hi - f_lo);
        if (!(t > lo && t < hi)) t = lo + (hi - lo) * 0.5;
        if (!(t > lo && t < hi)) break;
        const double f = grown(context, t);
        if (std::fabs(f) < kCrossingToleranceDeg) return t;
        if (f < 0.0) {
            lo = t;
            f_lo = f;
            if (kept_side == 1) f_hi *= 0.5;
            kept_side = 1;
        } else {
            hi = t;
            f_hi = f;
            if (kept_side == -1) f_lo *= 0.5;
            kept_side = -1;
        }
    }
    return hi;
}

Luminaries LuminaryTable::at(double jd) const {
    const Luminaries c = continuous(jd);
    return Luminaries{normalize_degrees(c.moon_deg), normalize_degrees(c.sun_deg)};
}

}  // namespace zk
