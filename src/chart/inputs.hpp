// Charts, dignities and one planet's longitude from the values a caller types: date-time
// fields or texts, a Julian day (UT), a Bikram Sambat date, a place (degrees, metres) and
// the option texts. Each function checks its inputs in the order it states and returns the
// first failure: InvalidInput for a refused text or date, InvalidParameter for the place (the
// texts of validate_geo), DateTimeError for a Bikram Sambat date the calendar lacks, then
// whatever the computation returns. A chart records how it was asked for in
// metadata.input_mode and metadata.timezone.
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "chart/chart.hpp"
#include "core/error.hpp"
#include "core/records.hpp"
#include "core/vocab.hpp"

namespace zk {

// The options of a chart, parsed.
struct ChartOptions {
    AyanamsaMode ayanamsa;
    HouseSystem house_system = HouseSystem::Equal;
    bool true_nodes = true;
};

// The ayanamsa text, then the house-system text, each refused with its parse message.
Result<ChartOptions> parse_chart_options(std::string_view ayanamsa, std::string_view house_system,
                                         bool true_nodes);

// A local date text and time text ("2024-01-15", "10:30:00") in an IANA zone as UTC:
// "Invalid date; expected YYYY-MM-DD", "Invalid time; expected HH:MM:SS", then the zone and
// the local reading (tz::local_to_utc's texts).
Result<UtcDateTime> utc_of_local_texts(std::string_view date, std::string_view time,
                                       std::string_view zone);

// The chart of an instant at a checked place, recorded as asked for: input_mode ("utc",
// "local_civil", "julian_day_ut") and zone ("UTC" or the zone's name).
Result<Chart> recorded_chart(const UtcDateTime& utc, const GeoLocation& location,
                             const ChartOptions& options, std::string_view input_mode,
                             std::string_view zone);

// Date-time fields in UTC: "Invalid UTC date/time" when they name no instant, the place,
// the options, the chart. Recorded as input_mode "utc" in zone "UTC".
Result<Chart> chart_from_utc(int32_t year, uint32_t month, uint32_t day, uint32_t hour,
                             uint32_t minute, uint32_t second, double latitude, double longitude,
                             double altitude, std::string_view ayanamsa,
                             std::string_view house_system, bool true_nodes);

// A local date text and time text in an IANA zone: utc_of_local_texts, the place, the
// options, the chart. Recorded as input_mode "local_civil" in the zone as given.
Result<Chart> chart_from_local(std::string_view date, std::string_view time, std::string_view zone,
                               double latitude, double longitude, double altitude,
                               std::string_view ayanamsa, std::string_view house_system,
                               bool true_nodes);

// A Julian day (UT), rounded to the second: the ayanamsa text, "swe_revjul returned invalid
// date" when the day names no date (NaN, infinite, out of range), the place, the options,
// the chart. Recorded as input_mode "julian_day_ut" in zone "UTC".
Result<Chart> chart_from_julian_day(double jd_ut, double latitude, double longitude,
                                    double altitude, std::string_view ayanamsa,
                                    std::string_view house_system, bool true_nodes);

// A Bikram Sambat date with a clock time taken as UTC (a BS date names no zone): "Invalid
// time" for an hour over 23 or a minute or second over 59, the place, the options, the
// date (DateTimeError), the chart. Recorded as input_mode "utc" in zone "UTC".
Result<Chart> chart_from_bs(int32_t bs_year, uint32_t bs_month, uint32_t bs_day, uint32_t hour,
                            uint32_t minute, uint32_t second, double latitude, double longitude,
                            double altitude, std::string_view ayanamsa,
                            std::string_view house_system, bool true_nodes);

// The dignities of a planet and a sign named in any letter case: "Invalid planet" (Rahu and
// Ketu too, which have none), then "Invalid sign".
Result<Dignities> dignities_by_name(std::string_view planet, std::string_view sign,
                                    double longitude);

// Sidereal longitude in degrees of a planet named in any letter case at a Julian day (UT),
// Rahu the true node: "Invalid planet name", the ayanamsa text, then the ephemeris failure.
Result<double> sidereal_longitude(double jd_ut, std::string_view planet, std::string_view ayanamsa);

}  // namespace zk
