// Panchangas from the values a caller types: UTC date-time fields or local date and time
// texts, a place (degrees, metres) and the option texts. Each function checks its inputs in
// the order it states and returns the first failure: InvalidInput for a refused text or date,
// InvalidParameter for the place (the texts of validate_geo), then whatever
// compute_panchanga_local returns.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/error.hpp"
#include "panchanga/calendar.hpp"
#include "panchanga/local_day.hpp"
#include "search/scan.hpp"

namespace zk {

// The civil-day panchanga of UTC date-time fields, in zone "UTC": the place, the ayanamsa
// text, "Invalid date/time" when the fields name no instant, the panchanga. Its tithi and
// nakshatra names are those of `locale` (see localize_names). The sunrise text
// ("upper_limb", "disc_center") is checked after the ayanamsa text.
Result<Panchanga> panchanga_from_utc(int32_t year, uint32_t month, uint32_t day, uint32_t hour,
                                     uint32_t minute, uint32_t second, double latitude,
                                     double longitude, double altitude, std::string_view ayanamsa,
                                     bool true_nodes, std::string_view locale,
                                     std::string_view sunrise);

// The panchanga of a local date text and time text ("2024-01-15", "10:30:00") in an IANA
// zone: the place, utc_of_local_texts (chart/inputs.hpp), the ayanamsa text, the mode text
// ("civil_day", "sunrise_day"), the sunrise text, the panchanga. Its names are English.
Result<Panchanga> panchanga_from_local(std::string_view date, std::string_view time,
                                       std::string_view zone, double latitude, double longitude,
                                       double altitude, std::string_view ayanamsa, bool true_nodes,
                                       std::string_view mode, std::string_view sunrise);

// The same checks and panchanga, its day left for compute_panchanga_day unless it may fail
// (panchanga_day_may_fail): then it is computed here and its error is this function's.
Result<PanchangaElements> panchanga_elements_from_local(
    std::string_view date, std::string_view time, std::string_view zone, double latitude,
    double longitude, double altitude, std::string_view ayanamsa, bool true_nodes,
    std::string_view mode, std::string_view sunrise);

// The printed panchanga of every local date from `start` to `end` (date texts, both
// included) in an IANA zone: the place, the start text, the end text ("Invalid date;
// expected YYYY-MM-DD"), the ayanamsa text, the sunrise text, then what
// compute_panchanga_calendar returns (on up to `workers` threads). Names are those of
// `locale`.
Result<std::vector<PanchangaDay>> panchanga_calendar_between(
    std::string_view start, std::string_view end, std::string_view zone, double latitude,
    double longitude, double altitude, std::string_view ayanamsa, bool true_nodes,
    std::string_view locale, std::string_view sunrise, Workers workers,
    const Interrupted& interrupted);

// Gives the tithi, the nakshatra, the lunar months, year, season, ayana and signs the names
// of a locale ("hi_IN", "ne_NP"). "en", and any code that names no locale, keeps the
// English names, as does a name the locale lacks.
void localize_names(Panchanga& panchanga, std::string_view locale);

}  // namespace zk
