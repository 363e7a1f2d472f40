#include "panchanga/local_day.hpp"

#include <utility>

#include "chart/chart.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/interval.hpp"
#include "time/timezone.hpp"

namespace zk {

const char* const kPanchangaWarning =
    "Panchanga end times are computed in UT; local times follow the provided IANA timezone.";

namespace {

constexpr const char* kCalculationVersion = "1.0.0";

// The search's Julian days are always ordinary dates, so a failed conversion is a bug.
UtcDateTime utc_of(double jd_ut) {
    auto utc = ephemeris::from_julian_day(jd_ut);
    if (!utc) throw InvariantFailure("swe_revjul returned invalid date");
    return *utc;
}

// Fills the start and end of the element current at jd, in UTC and in the zone's local time.
// The tithi and the karana share their edges on Moon - Sun through `shared`.
template <typename Info>
Result<void> set_bounds(Info& info, Result<ElementSample> (*element_at)(double, bool),
                        double span_deg, const ElementSample& now, double jd, bool true_nodes,
                        const cctz::time_zone& zone, SharedEdges* shared = nullptr) {
    const ElementSampler sample = [&](double t) { return element_at(t, true_nodes); };
    ZK_TRY(interval, shared ? find_element_interval(sample, span_deg, jd, now, *shared)
                            : find_element_interval(sample, span_deg, jd, now));
    info.start_time_utc = utc_of(interval.start_jd);
    info.end_time_utc = utc_of(interval.end_jd);
    info.start_time_local = tz::format_local(info.start_time_utc, zone);
    info.end_time_local = tz::format_local(info.end_time_utc, zone);
    return {};
}

// The latest sunrise at or before jd. The first sunrise after jd - 1 day is either still to
// come (then the one after jd - 2 days is the day's) or it may be yesterday's, when today's
// sunrise came earlier in the clock than yesterday's: then the next one, if already past,
// is the day's. Consecutive sunrises lie well over half a day apart.
Result<double> latest_sunrise(double jd, const GeoLocation& at) {
    constexpr double kHalfDay = 0.5;
    auto rise = ephemeris::sunrise(jd - 1.0, at.latitude, at.longitude, at.altitude);
    if (!rise) return rise;
    if (*rise > jd) return ephemeris::sunrise(jd - 2.0, at.latitude, at.longitude, at.altitude);
    const auto next = ephemeris::sunrise(*rise + kHalfDay, at.latitude, at.longitude, at.altitude);
    return next && *next <= jd ? *next : *rise;
}

Result<Vara> vara_of(PanchangaMode mode, const UtcDateTime& instant, double jd,
                     const GeoLocation& location, const cctz::time_zone& zone) {
    UtcDateTime day_start = instant;
    if (mode == PanchangaMode::SunriseDay) {
        ZK_TRY(rise, latest_sunrise(jd, location));
        day_start = utc_of(rise);
    }
    const UtcDateTime local = tz::to_local(day_start, zone).civil;
    return vara_from_local_date(local.year, local.month, local.day);
}

}  // namespace

std::string_view panchanga_mode_name(PanchangaMode mode) {
    return mode == PanchangaMode::SunriseDay ? "sunrise_day" : "civil_day";
}

Result<PanchangaMode> parse_panchanga_mode(std::string_view text) {
    const std::string lower = to_lower(text);
    if (lower == "civil_day") return PanchangaMode::CivilDay;
    if (lower == "sunrise_day") return PanchangaMode::SunriseDay;
    return std::unexpected(ZodiakitError::invalid_input(
        "Unknown panchanga mode '" + lower + "'. Valid options: civil_day, sunrise_day"));
}

namespace {

// The metadata's account of the settings; the local time is set where it is computed.
void describe_settings(PanchangaMetadata& m, const UtcDateTime& instant,
                       const std::string& zone_name, PanchangaMode mode,
                       const AyanamsaMode& ayanamsa, bool true_nodes) {
    m.timezone = zone_name;
    m.mode = panchanga_mode_name(mode);
    m.utc_datetime = format_rfc3339_utc(instant);
    m.ayanamsa = ayanamsa_name(ayanamsa);
    m.true_nodes = true_nodes;
    m.calculation_version = kCalculationVersion;
}

}  // namespace

Result<PanchangaElements> compute_panchanga_elements(const UtcDateTime& instant,
                                                     const GeoLocation& location,
                                                     const std::string& zone_name,
                                                     PanchangaMode mode,
                                                     const AyanamsaMode& ayanamsa, bool true_nodes,
                                                     SunriseConvention convention) {
    ZK_TRY_VOID(validate_geo(location.latitude, location.longitude, location.altitude));
    const auto zone = tz::lookup(zone_name);
    if (!zone) {
        return std::unexpected(ZodiakitError::invalid_parameter("Unknown timezone: " + zone_name));
    }

    ephemeris::select_sidereal_mode(ayanamsa);
    const double jd = ephemeris::julian_day(instant);

    PanchangaElements out;
    Panchanga& p = out.panchanga;
    const UtcDateTime local = tz::to_local(instant, *zone).civil;
    p.metadata.local_datetime = format_iso_naive(local);
    ZK_TRY(vara, vara_of(mode, instant, jd, location, *zone));
    p.vara = std::move(vara);
    ZK_TRY(samples, element_samples(jd, true_nodes));
    const Luminaries& now = samples.luminaries;

    p.tithi.index = tithi_number(now.moon_deg, now.sun_deg);
    p.tithi.name = tithi_name(p.tithi.index);
    p.tithi.paksha = paksha_name(p.tithi.index);
    SharedEdges elongation_edges;
    ZK_TRY_VOID(set_bounds(p.tithi, &tithi_sample, kTithiSpanDeg, samples.tithi, jd, true_nodes,
                           *zone, &elongation_edges));

    p.nakshatra.index = nakshatra_number(now.moon_deg);
    p.nakshatra.pada = nakshatra_pada(now.moon_deg);
    p.nakshatra.name = panchanga_nakshatra_name(p.nakshatra.index);
    ZK_TRY_VOID(set_bounds(p.nakshatra, &nakshatra_sample, kNakshatraSpanDeg, samples.nakshatra, jd,
                           true_nodes, *zone));

    p.yoga.index = yoga_number(now.moon_deg, now.sun_deg);
    p.yoga.name = yoga_name(p.yoga.index);
    ZK_TRY_VOID(
        set_bounds(p.yoga, &yoga_sample, kNakshatraSpanDeg, samples.yoga, jd, true_nodes, *zone));

    p.karana.index = karana_number(now.moon_deg, now.sun_deg);
    p.karana.name = karana_name(p.karana.index);
    ZK_TRY_VOID(set_bounds(p.karana, &karana_sample, kKaranaSpanDeg, samples.karana, jd, true_nodes,
                           *zone, &elongation_edges));

    describe_settings(p.metadata, instant, zone_name, mode, ayanamsa, true_nodes);
    p.warnings.emplace_back(kPanchangaWarning);
    p.sunrise_convention = convention;

    out.day = PanchangaDayInputs{CivilDate{local.year, local.month, local.day},
                                 location,
                                 *zone,
                                 convention,
                                 ayanamsa,
                                 true_nodes,
                                 jd,
                                 now};
    return out;
}

Result<void> compute_panchanga_day(Panchanga& p, const PanchangaDayInputs& day) {
    const CivilDate& date = day.date;
    ZK_TRY(sky, compute_sky_times(date, day.location, day.zone, day.convention));
    p.divisions =
        compute_day_divisions(weekday(date.year, date.month, date.day), sky.solar, day.zone);
    p.sky = std::move(sky);
    // compute_lunar_calendar, with the luminaries the elements already read at the instant.
    ephemeris::select_sidereal_mode(day.ayanamsa);
    ZK_TRY(lunations, lunations_around(day.jd_ut, day.true_nodes));
    p.lunar = lunar_calendar_from(lunations.current, lunations.next, day.luminaries);
    return {};
}

bool panchanga_day_may_fail(const PanchangaDayInputs& day) {
    // The library's analytical ephemeris serves Julian days from 625000.5 (3001 BCE) to
    // 2818000.5 (3003 CE) whatever data files are found; the new moons the lunar calendar
    // needs lie within about 60 days after the instant and 30 before it, the day's sunrises
    // within 2.
    constexpr double kAnalyticalFirst = 625000.5;
    constexpr double kAnalyticalLast = 2818000.5;
    constexpr double kReachDays = 100.0;
    return !(day.jd_ut >= kAnalyticalFirst + kReachDays &&
             day.jd_ut < kAnalyticalLast - kReachDays);
}

Result<Panchanga> compute_panchanga_local(const UtcDateTime& instant, const GeoLocation& location,
                                          const std::string& zone_name, PanchangaMode mode,
                                          const AyanamsaMode& ayanamsa, bool true_nodes,
                                          SunriseConvention convention) {
    ZK_TRY(elements, compute_panchanga_elements(instant, location, zone_name, mode, ayanamsa,
                                                true_nodes, convention));
    ZK_TRY_VOID(compute_panchanga_day(elements.panchanga, elements.day));
    return std::move(elements.panchanga);
}

}  // namespace zk
