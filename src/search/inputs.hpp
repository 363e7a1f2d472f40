// Long computations from the values a caller types: transits between two date texts, time
// windows around one, and a batch of charts. Each function checks its inputs in the order
// it states and returns the first failure: InvalidInput for a refused text or date,
// InvalidParameter for a place (the texts of validate_geo), then whatever the computation
// returns. Each asks `interrupted` now and then, and when it answers true stops with an
// Interrupted error.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/error.hpp"
#include "core/records.hpp"
#include "render/table.hpp"
#include "search/parallel.hpp"
#include "search/scan.hpp"
#include "search/time_windows.hpp"
#include "search/transits.hpp"

namespace zk {

// The sign ingresses between two date texts (parse_instant_text's forms): the ayanamsa text,
// the `from` text, the `to` text (parse_instant_text's messages), the ingresses.
Result<std::vector<Ingress>> transits_between(std::string_view from, std::string_view to,
                                              std::string_view ayanamsa, bool true_nodes,
                                              const Interrupted& interrupted);

// The windows around a date text in which the varga ascendant stands in `target_sign`: the
// ayanamsa text, the place (refused as InvalidInput "ValueError: " + validate_geo's display text),
// the base text, the windows. `true_nodes` is accepted for a uniform call; the ascendant
// does not depend on the nodes.
Result<std::vector<TimeWindow>> time_windows_near(std::string_view base, int32_t window_minutes,
                                                  uint32_t varga, std::string_view target_sign,
                                                  double latitude, double longitude,
                                                  double altitude, std::string_view ayanamsa,
                                                  bool true_nodes, const Interrupted& interrupted);

// One chart of a batch: UTC date-time fields and a place.
struct ChartRow {
    int32_t year = 0;
    uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    double latitude = 0.0, longitude = 0.0, altitude = 0.0;
};

// The charts of many rows with the same options, in row order: the option texts, then for
// each row its place, "Invalid date/time" when its fields name no instant, and its chart.
// The first failure ends the batch. Recorded as input_mode "utc" in zone "UTC".
Result<std::vector<Chart>> charts_from_rows(const std::vector<ChartRow>& rows,
                                            std::string_view ayanamsa,
                                            std::string_view house_system, bool true_nodes,
                                            const Interrupted& interrupted);

// The same batch computed by `workers` threads, with the same result: the charts in row
// order, or the failure of the lowest failing row (the option texts first), and nothing
// partial. One worker computes in the calling thread, exactly as charts_from_rows. Only the
// calling thread asks `interrupted`, every few milliseconds while the workers compute.
Result<std::vector<Chart>> charts_from_rows_on(const std::vector<ChartRow>& rows,
                                               std::string_view ayanamsa,
                                               std::string_view house_system, bool true_nodes,
                                               Workers workers, const Interrupted& interrupted);

// The same charts as a table (render/table.hpp), one row per input row, with the same
// failures. The charts are computed a few thousand at a time, so a table of a million rows
// never holds a million charts.
Result<ChartTable> table_from_rows(const std::vector<ChartRow>& rows, std::string_view ayanamsa,
                                   std::string_view house_system, bool true_nodes, Workers workers,
                                   const Interrupted& interrupted);

}  // namespace zk
