// The printed panchanga of local civil days: for one date, or for every date of a span at
// one place and zone.
//
// Each day has a reference instant: its sunrise in the chosen convention, rounded to the
// second, or its first instant (local midnight) on a day without sunrise. The day's
// panchanga is the one compute_panchanga_local gives at that instant in civil_day mode (the
// lunar month, year and signs of that instant, the sky times and divisions of the date). Tithi
// marks compare the tithi at consecutive reference instants:
// - skipped_tithis (kshaya): the tithis that begin after this day's reference and end before
//   the next day's, so that no day's sunrise sees them;
// - repeated_tithi (vriddhi): the tithi at this day's reference was also at the previous
//   day's;
// - is_ekadashi, is_purnima, is_amavasya: Ekadashi (11 or 26), Purnima (15) or Amavasya (30)
//   is the reference tithi or is skipped during the day;
// - sankranti: the Sun's sidereal ingress into a sign during the civil date, if any.
//
// A calendar day equals the single-day computation of its date: the span only shares work
// (the element boundaries are read from one table of the Moon and the Sun over the span, each
// sunrise is computed once for the day it begins and the day before it, and the new moons
// once for all days). A long span is cut into consecutive parts computed on worker threads,
// each part sharing its own work; the days are the same.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.hpp"
#include "core/error.hpp"
#include "core/records.hpp"
#include "core/vocab.hpp"
#include "panchanga/local_day.hpp"
#include "search/parallel.hpp"
#include "search/scan.hpp"

namespace zk {

struct Sankranti {
    uint32_t sign = 1;  // the sign entered, 1 Mesha ... 12 Meena
    std::string name;   // its rashi name
    DayTime time;
};

struct TithiDay {
    uint32_t tithi_at_sunrise = 1;  // at the reference instant (sunrise, else midnight)
    std::vector<uint32_t> skipped_tithis;
    bool repeated_tithi = false;
    bool is_ekadashi = false;
    bool is_purnima = false;
    bool is_amavasya = false;
    std::optional<Sankranti> sankranti;
};

struct PanchangaDay {
    CivilDate date{1970, 1, 1};
    std::string reference;  // "sunrise" or "midnight"
    Panchanga panchanga;    // at the reference instant, civil_day mode
    TithiDay tithi_day;
};

// Validates the place as the chart does and looks the zone up by its exact name
// (InvalidParameter "Unknown timezone: <name>"); a date that does not exist is
// DateTimeError. Selects the sidereal mode itself.
Result<PanchangaDay> compute_panchanga_day(const CivilDate& date, const GeoLocation& location,
                                           const std::string& zone_name,
                                           SunriseConvention convention,
                                           const AyanamsaMode& ayanamsa, bool true_nodes);

inline constexpr int64_t kMaxCalendarDays = 36525;  // 100 years

// Every date from `from` to `to`, both included, on up to `workers` threads (one for every
// month or so of the span at most). Besides the single-day errors: InvalidParameter "Calendar
// end date is before its start date" and "Calendar span exceeds 100 years (36525 days)", and
// Interrupted when `interrupted` asked to stop; where several parts fail, the earliest part's
// failure.
Result<std::vector<PanchangaDay>> compute_panchanga_calendar(
    const CivilDate& from, const CivilDate& to, const GeoLocation& location,
    const std::string& zone_name, SunriseConvention convention, const AyanamsaMode& ayanamsa,
    bool true_nodes, Workers workers, const Interrupted& interrupted);

}  // namespace zk
