#include "ephemeris/rise_set.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "core/hermite.hpp"
#include "ephemeris/ephemeris.hpp"

namespace zk::ephemeris {
namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kKmPerAu = 149597870.7;
constexpr double kLightKmPerDay = 299792.458 * 86400.0;
// The library's reference ellipsoid (IERS 2003).
constexpr double kEquatorKm = 6378.1366;
constexpr double kFlattening = 1.0 / 298.25642;
constexpr double kSunRadiusKm = 696000.0;
constexpr double kMoonRadiusKm = 1738.15;
// Mean sidereal rotation in degrees per day; the sampled sidereal time corrects it.
constexpr double kSiderealDegPerDay = 360.98564736629;

// Node spacing in days: whole days for the Sun and sidereal time, half days for the Moon.
constexpr double kSunStep = 1.0;
constexpr double kMoonStep = 0.5;
// The crossing search walks half-hour cells of a grid fixed in time.
constexpr double kCellsPerDay = 48.0;
// Neither function below changes faster than this (radians of sine per day): the Earth
// turns 6.30, and the topocentric Moon moves at most about 0.5 more.
constexpr double kFastestChange = 7.5;
constexpr double kRootDays = 1e-11;  // about a microsecond

// The samples of the grid, kept per thread (a sample depends only on its instant, so a
// forked child's copies stay right). Consecutive days and the events of one day reuse them.
struct Node {
    EquatorialState state;  // the Sun or the Moon
    double sidereal_deg = 0.0;
};
enum class NodeKind : int { Sun, Moon, SiderealTime };

// One small table per kind, indexed by the node's number: a search reads neighbouring nodes
// of each kind, which never share a slot.
struct NodeCache {
    struct Entry {
        bool filled = false;
        int64_t index = 0;
        Node node;
    };
    std::array<std::array<Entry, 16>, 3> by_kind;
};
thread_local NodeCache t_nodes;

Result<Node> cached_node(NodeKind kind, int64_t index, double step) {
    auto& table = t_nodes.by_kind[static_cast<size_t>(kind)];
    auto& entry = table[static_cast<uint64_t>(index) % table.size()];
    if (entry.filled && entry.index == index) return entry.node;
    const double jd = static_cast<double>(index) * step;
    Node node;
    if (kind == NodeKind::SiderealTime) {
        ZK_TRY(degrees, apparent_sidereal_time(jd));
        node.sidereal_deg = degrees;
    } else {
        ZK_TRY(state, equatorial_state(jd, kind == NodeKind::Sun ? Planet::Sun : Planet::Moon));
        node.state = state;
    }
    entry = {true, index, node};
    return node;
}

struct Vec {
    double x = 0, y = 0, z = 0;
};
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(double k, Vec a) {
    return {k * a.x, k * a.y, k * a.z};
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct Motion {
    Vec pos;  // km
    Vec vel;  // km per day
};

Result<Motion> body_at(double t, SkyBody body) {
    const double step = body == SkyBody::Sun ? kSunStep : kMoonStep;
    const double k = std::floor(t / step);
    const NodeKind kind = body == SkyBody::Sun ? NodeKind::Sun : NodeKind::Moon;
    ZK_TRY(first, cached_node(kind, static_cast<int64_t>(k), step));
    ZK_TRY(second, cached_node(kind, static_cast<int64_t>(k) + 1, step));
    const EquatorialState& a = first.state;
    const EquatorialState& b = second.state;
    const CubicHermite w(t / step - k, step);
    const auto pos = [&](size_t i) { return w.value(a.pos[i], a.vel[i], b.pos[i], b.vel[i]); };
    const auto vel = [&](size_t i) { return w.rate(a.pos[i], a.vel[i], b.pos[i], b.vel[i]); };
    return Motion{kKmPerAu * Vec{pos(0), pos(1), pos(2)}, kKmPerAu * Vec{vel(0), vel(1), vel(2)}};
}

// Apparent Greenwich sidereal time (radians) and its rate (radians per day) at t: the mean
// rotation from the last whole-day node, plus the rest spread evenly to the next node.
Result<std::pair<double, double>> sidereal_at(double t) {
    const double k = std::floor(t / kSunStep);
    ZK_TRY(first, cached_node(NodeKind::SiderealTime, static_cast<int64_t>(k), kSunStep));
    ZK_TRY(second, cached_node(NodeKind::SiderealTime, static_cast<int64_t>(k) + 1, kSunStep));
    const double a = first.sidereal_deg, b = second.sidereal_deg;
    const double rest = std::remainder(b - a - kSiderealDegPerDay * kSunStep, 360.0);
    const double rate = kSiderealDegPerDay + rest / kSunStep;
    return std::pair{(a + rate * (t - k * kSunStep)) * kDegToRad, rate * kDegToRad};
}

// What is asked, with the place's fixed geometry.
struct Query {
    SkyBody body;
    SkyEvent event;
    DiscPoint disc;
    double east_rad;  // longitude
    double cos_lat, sin_lat;
    double axis_km;    // the observer's distance from the Earth's axis
    double height_km;  // and from the equator's plane
    double refraction_rad;
};

// Sinclair's refraction at apparent altitude 0 for the standard pressure at the altitude
// (metres) and 0 degrees C, as the library computes it for its risings.
double horizon_refraction_rad(double altitude_m) {
    const double pressure = 1013.25 * std::pow(1.0 - 0.0065 * altitude_m / 288.0, 5.255);
    constexpr double kArcmin = 34.46;
    const double arcmin =
        (pressure - 80.0) / 930.0 / (1.0 + 0.00008 * (kArcmin + 39.0) * (0.0 - 10.0)) * kArcmin;
    return arcmin / 60.0 * kDegToRad;
}

Query make_query(SkyBody body, SkyEvent event, DiscPoint disc, const GeoLocation& place) {
    const double lat = place.latitude * kDegToRad;
    const double e2 = kFlattening * (2.0 - kFlattening);
    const double n = kEquatorKm / std::sqrt(1.0 - e2 * std::sin(lat) * std::sin(lat));
    const double h = place.altitude / 1000.0;
    return Query{body,
                 event,
                 body == SkyBody::Moon ? DiscPoint::UpperLimbRefracted : disc,
                 place.longitude * kDegToRad,
                 std::cos(lat),
                 std::sin(lat),
                 (n + h) * std::cos(lat),
                 (n * (1.0 - e2) + h) * std::sin(lat),
                 horizon_refraction_rad(place.altitude)};
}

// A function that passes 0 upwards at a rising or an upper transit and downwards at a
// setting, with its rate: the sine of the altitude less that of the altitude of the event,
// or the sine of the hour angle.
struct Sample {
    double value = 0;
    double slope = 0;
};

Result<Sample> sample_at(double t, const Query& q) {
    ZK_TRY(body, body_at(t, q.body));
    ZK_TRY(turn, sidereal_at(t));
    const double theta = turn.first + q.east_rad, spin = turn.second;
    const double c = std::cos(theta), s = std::sin(theta);
    const Vec observer{q.axis_km * c, q.axis_km * s, q.height_km};
    const Vec observer_vel{-spin * q.axis_km * s, spin * q.axis_km * c, 0.0};
    const Vec v = body.pos - observer;
    const Vec dv = body.vel - observer_vel;
    const double distance = std::sqrt(dot(v, v));
    Vec u = (1.0 / distance) * v;
    const Vec du = (1.0 / distance) * (dv - dot(u, dv) * u);
    const Vec aberrated = u + (1.0 / kLightKmPerDay) * observer_vel;  // diurnal aberration
    u = (1.0 / std::sqrt(dot(aberrated, aberrated))) * aberrated;
    if (q.event == SkyEvent::UpperTransit) {
        const double across = u.x * u.x + u.y * u.y;
        const double norm = std::sqrt(across);
        const double sin_h = (s * u.x - c * u.y) / norm, cos_h = (c * u.x + s * u.y) / norm;
        const double ra_rate = (u.x * du.y - u.y * du.x) / across;
        return Sample{sin_h, cos_h * (spin - ra_rate)};
    }
    const Vec up{q.cos_lat * c, q.cos_lat * s, q.sin_lat};
    const Vec up_rate{-spin * q.cos_lat * s, spin * q.cos_lat * c, 0.0};
    double target = 0.0;
    if (q.disc == DiscPoint::UpperLimbRefracted) {
        const double radius = q.body == SkyBody::Sun ? kSunRadiusKm : kMoonRadiusKm;
        target = -(q.refraction_rad + std::asin(radius / distance));
    }
    return Sample{dot(u, up) - std::sin(target), dot(du, up) + dot(u, up_rate)};
}

// The zero in [lo, hi], whose ends have values of opposite signs (lo's negative when
// `upward`): Newton steps kept inside the shrinking bracket, halving when one leaves it.
Result<double> zero_between(double lo, double hi, Sample at_lo, Sample at_hi, bool upward,
                            const Query& q) {
    double t = lo + at_lo.value / (at_lo.value - at_hi.value) * (hi - lo);
    for (int i = 0; i < 100 && hi - lo > kRootDays; ++i) {
        ZK_TRY(now, sample_at(t, q));
        if ((now.value < 0.0) == upward) {
            lo = t;
        } else {
            hi = t;
        }
        double next = now.slope != 0.0 ? t - now.value / now.slope : lo;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - t) < kRootDays) return next;
        t = next;
    }
    return 0.5 * (lo + hi);
}

// The instant in [lo, hi] where the slope changes sign (a culmination), by halving.
Result<std::pair<double, Sample>> turning_point(double lo, double hi, Sample at_lo,
                                                const Query& q) {
    Sample mid = at_lo;
    double t = lo;
    for (int i = 0; i < 40; ++i) {
        t = 0.5 * (lo + hi);
        ZK_TRY(now, sample_at(t, q));
        mid = now;
        if ((now.slope > 0.0) == (at_lo.slope > 0.0)) {
            lo = t;
        } else {
            hi = t;
        }
    }
    return std::pair{t, mid};
}

// The first zero of the event's direction in the cell [a, b] at or after `from`.
Result<std::optional<double>> zero_in_cell(double a, double b, Sample at_a, Sample at_b,
                                           const Query& q, double from) {
    const bool upward = q.event != SkyEvent::Set;
    const auto crossing = [&](double lo, double hi, Sample l,
                              Sample h) -> Result<std::optional<double>> {
        if ((l.value < 0.0) == (h.value < 0.0) || (l.value < 0.0) != upward) {
            return std::optional<double>();
        }
        ZK_TRY(t, zero_between(lo, hi, l, h, upward, q));
        return t >= from ? std::optional<double>(t) : std::optional<double>();
    };
    if ((at_a.value < 0.0) != (at_b.value < 0.0)) return crossing(a, b, at_a, at_b);
    if ((at_a.slope > 0.0) == (at_b.slope > 0.0)) return std::optional<double>();
    // A culmination inside the cell may dip across the horizon and back.
    ZK_TRY(turn, turning_point(a, b, at_a, q));
    ZK_TRY(first, crossing(a, turn.first, at_a, turn.second));
    if (first) return first;
    return crossing(turn.first, b, turn.second, at_b);
}

}  // namespace

Result<std::optional<double>> first_sky_event(double from, double until, SkyBody body,
                                              SkyEvent event, DiscPoint disc,
                                              const GeoLocation& place) {
    if (!is_usable_jd(from) || !is_usable_jd(until)) {
        return std::unexpected(
            ZodiakitError::invalid_parameter("Julian day outside the ephemeris"));
    }
    const Query q = make_query(body, event, disc, place);
    constexpr double kCell = 1.0 / kCellsPerDay;
    auto cell = static_cast<int64_t>(std::floor(from * kCellsPerDay));
    ZK_TRY(at, sample_at(static_cast<double>(cell) / kCellsPerDay, q));
    while (static_cast<double>(cell) / kCellsPerDay < until) {
        // Far from a crossing, whole cells are passed over: none can hold one.
        const double reach = std::fabs(at.value) / (kFastestChange * kCell);
        if (reach > 1.0) {
            cell += static_cast<int64_t>(reach);
            ZK_TRY(next, sample_at(static_cast<double>(cell) / kCellsPerDay, q));
            at = next;
            continue;
        }
        const double a = static_cast<double>(cell) / kCellsPerDay;
        const double b = static_cast<double>(cell + 1) / kCellsPerDay;
        ZK_TRY(at_b, sample_at(b, q));
        ZK_TRY(found, zero_in_cell(a, b, at, at_b, q, from));
        if (found) return *found < until ? found : std::optional<double>();
        ++cell;
        at = at_b;
    }
    return std::optional<double>();
}

}  // namespace zk::ephemeris
