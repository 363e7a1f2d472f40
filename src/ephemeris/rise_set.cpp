#include "ephemeris/rise_set.hpp"

#include <swephexp.h>

#include <cmath>

#include "core/utf8.hpp"

namespace zk::ephemeris {
namespace {

// As in ephemeris.cpp: NaN or astronomically huge Julian days never reach the library.
bool is_usable_jd(double jd) {
    return std::isfinite(jd) && std::fabs(jd) <= 1e10;
}

int32 event_flags(SkyEvent event, DiscPoint disc) {
    switch (event) {
        case SkyEvent::UpperTransit:
            return SE_CALC_MTRANSIT;
        case SkyEvent::Rise:
        case SkyEvent::Set:
            break;
    }
    const int32 kind = event == SkyEvent::Rise ? SE_CALC_RISE : SE_CALC_SET;
    return disc == DiscPoint::CentreUnrefracted ? kind | SE_BIT_DISC_CENTER | SE_BIT_NO_REFRACTION
                                                : kind;
}

}  // namespace

Result<std::optional<double>> next_sky_event(double jd, SkyBody body, SkyEvent event,
                                             DiscPoint disc, const GeoLocation& place) {
    const char* name = body == SkyBody::Sun ? "Sun" : "Moon";
    if (!is_usable_jd(jd)) {
        return std::unexpected(
            ZodiakitError::invalid_parameter("Julian day outside the ephemeris"));
    }
    double geopos[3] = {place.longitude, place.latitude, place.altitude};
    double tret[10] = {0};
    char serr[AS_MAXCH] = {0};
    const int32 rc = swe_rise_trans(jd, body == SkyBody::Sun ? SE_SUN : SE_MOON, nullptr, 0,
                                    event_flags(event, disc), geopos, 0.0, 0.0, tret, serr);
    // -2: the body stays above or below the horizon (circumpolar) over the search.
    if (rc == -2) return std::optional<double>();
    if (rc < 0)
        return std::unexpected(ZodiakitError::swe(name, valid_utf8_prefix(serr, sizeof serr)));
    if (!std::isfinite(tret[0])) return std::optional<double>();
    return std::optional<double>(tret[0]);
}

}  // namespace zk::ephemeris
