#include "panchanga/calendar.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "chart/chart.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/calendar_names.hpp"
#include "panchanga/element_edges.hpp"
#include "panchanga/interval.hpp"
#include "panchanga/luminary_table.hpp"
#include "time/timezone.hpp"

namespace zk {
namespace {

// A part of a calendar computed on its own thread repeats about a millisecond of work (the
// first day, the lunations around it, the table's margins): worth it for a month of days.
constexpr int64_t kDaysPerPartAtLeast = 32;
// About a few milliseconds of ephemeris work between two questions to the caller.
constexpr uint32_t kCallsPerPoll = 2048;
// A day's sky (a few samples of the Sun and the Moon, and the searches over them) costs
// about as much as ten position calls.
constexpr uint32_t kCallsPerSkyDay = 10;
// Building a day from the shared work costs about as much as two.
constexpr uint32_t kCallsPerDayBuilt = 2;
// The element containing a reference instant began at most this long before it.
constexpr double kEdgeMarginDays = 2.0;
// Edges read from the table lie within 1.3 ms of those the single-day search finds (the
// largest seen): one this close to a half second may round either way, and is moved onto the
// library's own readings by Newton steps.
constexpr double kTableRoundingMarginSeconds = 4e-3;
// An edge so moved lies within a fraction of a millisecond of the single-day search's (the
// library's readings are not smooth below that); one this close to a half second still, and
// its element is searched again from the day's instant, exactly as the single-day
// computation does.
constexpr double kRoundingMarginSeconds = 2e-3;
// An edge read from the table is moved onto the library's readings within this far of it
// (about 86 ms).
constexpr double kEdgeBracketDays = 1e-6;
constexpr double kUnixEpochJd = 2440587.5;
// The table of the luminaries reaches this far beyond the span's dates in UTC: past the day
// before the first and the day after the last, in any zone, and the edge margin around them.
constexpr double kTableMarginDays = 4.0;
// Fifty times the table's largest error: numbers read from it this far from a boundary are
// those the library's own readings give.
constexpr double kTableBoundaryMarginDeg = 1e-5;
// The table's Sun lies within 4e-8 degrees of the library's, which the Sun crosses in under
// five milliseconds: an ingress is bisected from this far either side of the table's.
constexpr double kIngressBracketDays = 1e-5;
// More than the Sun moves in a civil day: its sidereal motion stays below 1.02 degrees a
// day, and a civil day lasts at most 25 hours.
constexpr double kSunDegreesInADayAtMost = 1.5;
constexpr double kSecondsPerDay = 86400.0;

// One civil date with its window, its sunrise and its reference instant.
struct DayFrame {
    CivilDate date{1970, 1, 1};
    DayWindow window;
    std::optional<double> sunrise;
    UtcDateTime reference;
    double reference_jd = 0.0;
};

// The zone of a valid place; the chart's geographic errors, or "Unknown timezone: <name>".
Result<cctz::time_zone> check_place(const GeoLocation& location, const std::string& zone_name) {
    if (auto valid = validate_geo(location.latitude, location.longitude, location.altitude);
        !valid) {
        return std::unexpected(valid.error());
    }
    const auto zone = tz::lookup(zone_name);
    if (!zone) {
        return std::unexpected(ZodiakitError::invalid_parameter("Unknown timezone: " + zone_name));
    }
    return *zone;
}

UtcDateTime utc_of(double jd) {
    const auto utc = ephemeris::from_julian_day(jd);
    if (!utc) throw InvariantFailure("swe_revjul returned invalid date");
    return *utc;
}

Result<DayFrame> frame_of(const CivilDate& date, const GeoLocation& place,
                          const cctz::time_zone& zone, SunriseConvention convention) {
    const auto window = civil_day_window(date, zone);
    if (!window) return std::unexpected(ZodiakitError::date_time());
    auto sunrise = first_sunrise(*window, place, convention);
    if (!sunrise) return std::unexpected(sunrise.error());
    DayFrame f{date, *window, *sunrise, {}, 0.0};
    f.reference = utc_of(*sunrise ? **sunrise : window->start_jd);
    f.reference_jd = ephemeris::julian_day(f.reference);
    return f;
}

// A Julian day whose second lies within a margin of a half second.
bool rounds_unclearly(double jd, double margin_seconds = kRoundingMarginSeconds) {
    const double seconds = (jd - kUnixEpochJd) * kSecondsPerDay;
    return std::fabs(seconds - std::floor(seconds) - 0.5) < margin_seconds;
}

// The Sun's ingress during a window whose ends show different signs, bisected onto
// adjacent Julian days: within a few milliseconds of where the table has it when there is
// one, else over the whole window. Both find the same instant wherever it rounds clearly.
Result<std::optional<Sankranti>> sankranti_in(const DayWindow& w, uint32_t sign_at_start,
                                              uint32_t sign_at_end, bool true_nodes,
                                              const cctz::time_zone& zone,
                                              const LuminaryTable* table) {
    if (sign_at_start == sign_at_end) return std::optional<Sankranti>();
    const auto before_ingress = [&](double jd) -> Result<bool> {
        ZK_TRY(sign, sun_sign_at(jd, true_nodes));
        return sign == sign_at_start;
    };
    const auto found = [&](double jd) {
        return Sankranti{sign_at_end, std::string(rashi_name(sign_at_end)), day_time(jd, zone)};
    };
    if (table && table->covers(w.start_jd) && table->covers(w.end_jd)) {
        const double from = table->continuous(w.start_jd).sun_deg;
        const double entered = (sign_at_end - 1) * kSignSpanDeg;
        const double boundary = from + normalize_degrees(entered - normalize_degrees(from));
        const double near = table->crossing([](const Luminaries& l) { return l.sun_deg; }, boundary,
                                            w.start_jd, w.end_jd);
        const double lo = std::max(w.start_jd, near - kIngressBracketDays);
        const double hi = std::min(w.end_jd, near + kIngressBracketDays);
        ZK_TRY(lo_before, before_ingress(lo));
        ZK_TRY(hi_before, before_ingress(hi));
        if (lo_before && !hi_before) {
            ZK_TRY(jd, halve_to_adjacent(before_ingress, lo, hi));
            if (!rounds_unclearly(jd)) return found(jd);
        }
    }
    ZK_TRY(jd, halve_to_adjacent(before_ingress, w.start_jd, w.end_jd));
    return found(jd);
}

TithiDay tithi_day(uint32_t previous, uint32_t today, uint32_t next,
                   std::optional<Sankranti> sankranti) {
    TithiDay d;
    d.tithi_at_sunrise = today;
    // The tithi only advances, by less than a whole cycle between two sunrises.
    for (uint32_t t = today % 30 + 1; next != today && t != next; t = t % 30 + 1) {
        d.skipped_tithis.push_back(t);
    }
    d.repeated_tithi = previous == today;
    const auto marks = [&](uint32_t tithi) {
        return today == tithi ||
               std::ranges::find(d.skipped_tithis, tithi) != d.skipped_tithis.end();
    };
    d.is_ekadashi = marks(11) || marks(26);
    d.is_purnima = marks(15);
    d.is_amavasya = marks(30);
    d.sankranti = std::move(sankranti);
    return d;
}

PanchangaDay day_of(const DayFrame& f, Panchanga&& panchanga, TithiDay&& tithis) {
    return PanchangaDay{f.date, f.sunrise ? "sunrise" : "midnight", std::move(panchanga),
                        std::move(tithis)};
}

// Whether the luminaries lie further than the margin from every boundary that the numbers read
// from them at an instant depend on: the Moon's nakshatra quarters (which include its signs),
// the Sun's signs, the karanas of Moon - Sun (which include the tithis and the fortnights) and
// the yogas of Moon + Sun.
bool clear_of_boundaries(const Luminaries& l) {
    const auto clear = [](double degrees, double spacing) {
        const double r = std::fmod(normalize_degrees(degrees), spacing);
        return std::min(r, spacing - r) > kTableBoundaryMarginDeg;
    };
    return clear(l.moon_deg, kNakshatraSpanDeg / 4.0) && clear(l.sun_deg, kSignSpanDeg) &&
           clear(l.moon_deg - l.sun_deg, kKaranaSpanDeg) &&
           clear(l.moon_deg + l.sun_deg, kNakshatraSpanDeg);
}

// An edge read from the table moved onto the library's own readings: the Newton search of the
// element's angle towards the boundary nearest to it there, kept within a bracket far wider
// than the table's error.
Result<double> edge_on_readings(PanchangaElement element, double edge, bool true_nodes) {
    const double span = element_span_deg(element);
    const auto angle_at = [&](double t) -> Result<AngleSample> {
        ZK_TRY(sample, element_sample(element, t, true_nodes));
        return sample.angle;
    };
    ZK_TRY(now, angle_at(edge));
    InterruptPoll uncounted;
    return find_angle_crossing(angle_at, std::round(now.deg / span) * span, true, edge, now,
                               edge - kEdgeBracketDays, edge + kEdgeBracketDays, uncounted);
}

// The element's interval around jd from the shared edges, or searched again from jd as the
// single-day computation searches it when the edges are not clearly those it would find.
Result<ElementInterval> element_interval(PanchangaElement element, const std::vector<double>& edges,
                                         double jd, bool true_nodes) {
    constexpr double kClearanceDays = 1e-8;
    const auto found = interval_between_edges(edges, jd);
    if (found && jd - found->start_jd > kClearanceDays && found->end_jd - jd > kClearanceDays) {
        const auto exact = [&](double edge) -> Result<double> {
            if (!rounds_unclearly(edge, kTableRoundingMarginSeconds)) return edge;
            return edge_on_readings(element, edge, true_nodes);
        };
        ZK_TRY(start, exact(found->start_jd));
        ZK_TRY(end, exact(found->end_jd));
        if (!rounds_unclearly(start) && !rounds_unclearly(end)) return ElementInterval{start, end};
    }
    return find_element_interval([&](double t) { return element_sample(element, t, true_nodes); },
                                 element_span_deg(element), jd);
}

template <typename Info>
Result<std::monostate> set_bounds(Info& info, PanchangaElement element, const ElementEdges& edges,
                                  double jd, bool true_nodes, const cctz::time_zone& zone) {
    auto interval =
        element_interval(element, edges.edges[static_cast<size_t>(element)], jd, true_nodes);
    if (!interval) return std::unexpected(interval.error());
    info.start_time_utc = utc_of(interval->start_jd);
    info.end_time_utc = utc_of(interval->end_jd);
    info.start_time_local = tz::format_local(info.start_time_utc, zone);
    info.end_time_local = tz::format_local(info.end_time_utc, zone);
    return std::monostate{};
}

// The record compute_panchanga_local gives at the frame's reference instant (civil_day
// mode), built from shared edges; metadata and warnings other than the instant come from
// a record that function made for the same place, zone and settings.
Result<Panchanga> panchanga_from_edges(const Panchanga& model, const DayFrame& f,
                                       const Luminaries& now, const ElementEdges& edges,
                                       SkyTimes&& sky, LunarCalendar&& lunar, bool true_nodes,
                                       const cctz::time_zone& zone) {
    Panchanga p = model;
    p.divisions =
        compute_day_divisions(weekday(f.date.year, f.date.month, f.date.day), sky.solar, zone);
    p.sky = std::move(sky);
    p.lunar = std::move(lunar);
    const UtcDateTime local = tz::to_local(f.reference, zone).civil;
    p.metadata.local_datetime = format_iso_naive(local);
    p.metadata.utc_datetime = format_rfc3339_utc(f.reference);
    p.vara = vara_from_local_date(local.year, local.month, local.day);
    p.tithi.index = tithi_number(now.moon_deg, now.sun_deg);
    p.tithi.name = tithi_name(p.tithi.index);
    p.tithi.paksha = paksha_name(p.tithi.index);
    p.nakshatra.index = nakshatra_number(now.moon_deg);
    p.nakshatra.pada = nakshatra_pada(now.moon_deg);
    p.nakshatra.name = panchanga_nakshatra_name(p.nakshatra.index);
    p.yoga.index = yoga_number(now.moon_deg, now.sun_deg);
    p.yoga.name = yoga_name(p.yoga.index);
    p.karana.index = karana_number(now.moon_deg, now.sun_deg);
    p.karana.name = karana_name(p.karana.index);
    const double jd = f.reference_jd;
    for (auto done :
         {set_bounds(p.tithi, PanchangaElement::Tithi, edges, jd, true_nodes, zone),
          set_bounds(p.nakshatra, PanchangaElement::Nakshatra, edges, jd, true_nodes, zone),
          set_bounds(p.yoga, PanchangaElement::Yoga, edges, jd, true_nodes, zone),
          set_bounds(p.karana, PanchangaElement::Karana, edges, jd, true_nodes, zone)}) {
        if (!done) return std::unexpected(done.error());
    }
    return p;
}

// The lunation containing an instant and its successor, walked forward day by day.
using LunationWalk = Lunations;

Result<std::monostate> walk_to(LunationWalk& walk, double jd, bool true_nodes) {
    while (jd >= walk.current.end_jd) {
        auto next = next_lunation(walk.next, true_nodes);
        if (!next) return std::unexpected(next.error());
        walk.current = walk.next;
        walk.next = *next;
    }
    return std::monostate{};
}

// The shared work of a calendar: a frame for every date from the day before the first to
// the day after the last (frames[i + 1] is day i), the luminaries at every reference
// instant, the Sun's sign at every day's first instant, the element edges over the whole
// span and one walk over the lunations.
struct Span {
    CivilDate from;
    size_t days;
    const GeoLocation& location;
    const std::string& zone_name;
    const cctz::time_zone& zone;
    SunriseConvention convention;
    const AyanamsaMode& ayanamsa;
    bool true_nodes;

    // Over every day's frame and the edges around it, when there is more than one day.
    std::optional<LuminaryTable> table;
    std::vector<DayFrame> frames;
    std::vector<Luminaries> at_reference;  // by frame
    std::vector<uint32_t> sun_sign;        // by frame, at its first instant (frame 0 unused)
    // By day, from day 1 (day 0 is the single-day record): found as soon as the next day's
    // frame is known, while the samples of the sky both read are still kept.
    std::vector<SkyTimes> skies;

    // The Sun's sign at the frame's first instant: that of its reference instant (its sunrise,
    // within the same civil day) when the Sun had then gone further into that sign than it
    // goes in a day, else looked up.
    Result<uint32_t> sign_at_start(const DayFrame& frame, const Luminaries& at_reference) const {
        const double into_sign = std::fmod(normalize_degrees(at_reference.sun_deg), kSignSpanDeg);
        if (into_sign > kSunDegreesInADayAtMost) {
            return sign_number(sign_from_longitude(normalize_degrees(at_reference.sun_deg)));
        }
        return sun_sign_at(frame.window.start_jd, true_nodes);
    }

    // The luminaries at an instant: from the table unless they lie so near a boundary of an
    // element, a nakshatra quarter or a sign that the table's error could cross it.
    Result<Luminaries> luminaries_near(double jd) const {
        if (table && table->covers(jd)) {
            const Luminaries l = table->at(jd);
            if (clear_of_boundaries(l)) return l;
        }
        return luminaries_at(jd, true_nodes);
    }

    // Interrupted when the poll says stop.
    Result<void> prepare(InterruptPoll& poll) {
        for (size_t k = 0; k < days + 2; ++k) {
            auto frame =
                frame_of(add_days(from, static_cast<int64_t>(k) - 1), location, zone, convention);
            if (!frame) return std::unexpected(frame.error());
            frames.push_back(*frame);
            auto now = luminaries_near(frame->reference_jd);
            if (!now) return std::unexpected(now.error());
            at_reference.push_back(*now);
            auto sign = k == 0 ? Result<uint32_t>(0) : sign_at_start(*frame, *now);
            if (!sign) return std::unexpected(sign.error());
            sun_sign.push_back(*sign);
            if (k >= 3) {
                const DayFrame& day = frames[k - 1];
                ZK_TRY(sky, sky_times_of_day(day.window, frame->window, day.sunrise, frame->sunrise,
                                             location, convention, zone));
                skies.push_back(std::move(sky));
            }
            poll.count(kCallsPerSkyDay);
            ZK_TRY_VOID(poll.check());
        }
        return {};
    }

    Result<PanchangaDay> day(size_t i, const Panchanga& model, const ElementEdges& edges,
                             LunationWalk& walk) {
        const DayFrame& f = frames[i + 1];
        const Luminaries& now = at_reference[i + 1];
        Result<Panchanga> panchanga = model;
        if (i > 0) {
            ZK_TRY_VOID(walk_to(walk, f.reference_jd, true_nodes));
            panchanga = panchanga_from_edges(model, f, now, edges, std::move(skies[i - 1]),
                                             lunar_calendar_from(walk.current, walk.next, now),
                                             true_nodes, zone);
            if (!panchanga) return std::unexpected(panchanga.error());
        }
        ZK_TRY(sankranti, sankranti_in(f.window, sun_sign[i + 1], sun_sign[i + 2], true_nodes, zone,
                                       table ? &*table : nullptr));
        const Luminaries& before = at_reference[i];
        const Luminaries& after = at_reference[i + 2];
        TithiDay tithis =
            tithi_day(tithi_number(before.moon_deg, before.sun_deg), panchanga->tithi.index,
                      tithi_number(after.moon_deg, after.sun_deg), std::move(sankranti));
        return day_of(f, std::move(*panchanga), std::move(tithis));
    }

    Result<std::vector<PanchangaDay>> compute(InterruptPoll& poll) {
        // The first day is the single-day record itself, and the model of the others: a
        // calendar of one day shares nothing.
        if (days > 1) {
            const double first_jd = ephemeris::julian_day(
                UtcDateTime{static_cast<int32_t>(from.year), from.month, from.day, 0, 0, 0});
            ZK_TRY(read,
                   LuminaryTable::read(first_jd - kTableMarginDays,
                                       first_jd + static_cast<double>(days) + kTableMarginDays,
                                       true_nodes, poll));
            table = std::move(read);
        }
        ZK_TRY_VOID(prepare(poll));
        auto model =
            compute_panchanga_local(frames[1].reference, location, zone_name,
                                    PanchangaMode::CivilDay, ayanamsa, true_nodes, convention);
        if (!model) return std::unexpected(model.error());
        ElementEdges edges;
        LunationWalk walk;
        if (days > 1) {
            edges = element_edges(*table, frames[1].reference_jd - kEdgeMarginDays,
                                  frames[days].reference_jd + kEdgeMarginDays);
            ZK_TRY(around, lunations_around(frames[1].reference_jd, true_nodes));
            walk = around;
        }
        std::vector<PanchangaDay> out;
        out.reserve(days);
        for (size_t i = 0; i < days; ++i) {
            auto d = day(i, *model, edges, walk);
            if (!d) return std::unexpected(d.error());
            out.push_back(std::move(*d));
            poll.count(kCallsPerDayBuilt);
            ZK_TRY_VOID(poll.check());
        }
        return out;
    }
};

}  // namespace

Result<PanchangaDay> compute_panchanga_day(const CivilDate& date, const GeoLocation& location,
                                           const std::string& zone_name,
                                           SunriseConvention convention,
                                           const AyanamsaMode& ayanamsa, bool true_nodes) {
    const auto zone = check_place(location, zone_name);
    if (!zone) return std::unexpected(zone.error());
    if (!is_valid_date(date.year, date.month, date.day)) {
        return std::unexpected(ZodiakitError::date_time());
    }
    ephemeris::select_sidereal_mode(ayanamsa);
    std::vector<DayFrame> f;
    for (int64_t offset : {-1, 0, 1}) {
        auto frame = frame_of(add_days(date, offset), location, *zone, convention);
        if (!frame) return std::unexpected(frame.error());
        f.push_back(*frame);
    }
    ZK_TRY(panchanga,
           compute_panchanga_local(f[1].reference, location, zone_name, PanchangaMode::CivilDay,
                                   ayanamsa, true_nodes, convention));
    auto previous = tithi_at(f[0].reference_jd, true_nodes);
    auto next = tithi_at(f[2].reference_jd, true_nodes);
    auto sign_at_start = sun_sign_at(f[1].window.start_jd, true_nodes);
    auto sign_at_end = sun_sign_at(f[1].window.end_jd, true_nodes);
    for (const auto* r : {&previous, &next, &sign_at_start, &sign_at_end}) {
        if (!*r) return std::unexpected(r->error());
    }
    auto sankranti =
        sankranti_in(f[1].window, *sign_at_start, *sign_at_end, true_nodes, *zone, nullptr);
    if (!sankranti) return std::unexpected(sankranti.error());
    TithiDay tithis = tithi_day(*previous, panchanga.tithi.index, *next, std::move(*sankranti));
    return day_of(f[1], std::move(panchanga), std::move(tithis));
}

Result<std::vector<PanchangaDay>> compute_panchanga_calendar(
    const CivilDate& from, const CivilDate& to, const GeoLocation& location,
    const std::string& zone_name, SunriseConvention convention, const AyanamsaMode& ayanamsa,
    bool true_nodes, Workers workers, const Interrupted& interrupted) {
    const auto zone = check_place(location, zone_name);
    if (!zone) return std::unexpected(zone.error());
    if (!is_valid_date(from.year, from.month, from.day) ||
        !is_valid_date(to.year, to.month, to.day)) {
        return std::unexpected(ZodiakitError::date_time());
    }
    const int64_t days = days_from_civil(to.year, to.month, to.day) -
                         days_from_civil(from.year, from.month, from.day) + 1;
    if (days < 1) {
        return std::unexpected(
            ZodiakitError::invalid_parameter("Calendar end date is before its start date"));
    }
    if (days > kMaxCalendarDays) {
        return std::unexpected(
            ZodiakitError::invalid_parameter("Calendar span exceeds 100 years (36525 days)"));
    }
    // Part k holds the days from k * days / parts up to the next part's first.
    const size_t parts =
        std::max<size_t>(1, threads_for(workers, static_cast<size_t>(days) / kDaysPerPartAtLeast));
    const auto part = [&](size_t k, const Interrupted& stop) {
        const auto first = static_cast<int64_t>(k) * days / static_cast<int64_t>(parts);
        const auto next = static_cast<int64_t>(k + 1) * days / static_cast<int64_t>(parts);
        ephemeris::select_sidereal_mode(ayanamsa);
        Span span{add_days(from, first),
                  static_cast<size_t>(next - first),
                  location,
                  zone_name,
                  *zone,
                  convention,
                  ayanamsa,
                  true_nodes,
                  {},
                  {},
                  {},
                  {},
                  {}};
        InterruptPoll poll(stop, kCallsPerPoll);
        return span.compute(poll);
    };
    if (parts == 1) return part(0, interrupted);
    ZK_TRY(computed,
           compute_on_threads<std::vector<PanchangaDay>>(parts, 1, parts, part, interrupted));
    std::vector<PanchangaDay> all;
    all.reserve(static_cast<size_t>(days));
    for (std::vector<PanchangaDay>& days_of_part : computed) {
        std::ranges::move(days_of_part, std::back_inserter(all));
    }
    return all;
}

}  // namespace zk
