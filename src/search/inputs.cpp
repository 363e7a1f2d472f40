#include "search/inputs.hpp"

#include "chart/chart.hpp"
#include "chart/inputs.hpp"
#include "time/instant_text.hpp"

namespace zk {
namespace {

// A batch of a million charts runs for minutes; the caller is asked every 256 charts.
constexpr size_t kChartsPerPoll = 256;

}  // namespace

Result<std::vector<Ingress>> transits_between(std::string_view from_text, std::string_view to_text,
                                              std::string_view ayanamsa_text, bool true_nodes,
                                              const Interrupted& interrupted) {
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    auto from = parse_instant_text(from_text);
    if (!from) return std::unexpected(std::move(from.error()));
    auto to = parse_instant_text(to_text);
    if (!to) return std::unexpected(std::move(to.error()));
    return get_transits(*from, *to, *ayanamsa, true_nodes, interrupted);
}

Result<std::vector<TimeWindow>> time_windows_near(std::string_view base_text,
                                                  int32_t window_minutes, uint32_t varga,
                                                  std::string_view target_sign, double latitude,
                                                  double longitude, double altitude,
                                                  std::string_view ayanamsa_text,
                                                  [[maybe_unused]] bool true_nodes,
                                                  const Interrupted& interrupted) {
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return std::unexpected(std::move(ayanamsa.error()));
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return std::unexpected(
            ZodiakitError::invalid_input("ValueError: " + valid.error().display()));
    }
    auto base = parse_instant_text(base_text);
    if (!base) return std::unexpected(std::move(base.error()));
    return find_time_windows(*base, window_minutes, varga, target_sign,
                             GeoLocation{latitude, longitude, altitude}, *ayanamsa, interrupted);
}

namespace {

// One row's chart, or its failure: the place, then the instant, then the chart.
Result<Chart> chart_of_row(const ChartRow& row, const ChartOptions& options) {
    if (auto valid = validate_geo(row.latitude, row.longitude, row.altitude); !valid) {
        return std::unexpected(std::move(valid.error()));
    }
    auto utc = make_utc(row.year, row.month, row.day, row.hour, row.minute, row.second);
    if (!utc) return std::unexpected(ZodiakitError::invalid_input("Invalid date/time"));
    return recorded_chart(*utc, GeoLocation{row.latitude, row.longitude, row.altitude}, options,
                          "utc", "UTC");
}

Result<std::vector<Chart>> charts_in_order(const std::vector<ChartRow>& rows,
                                           const ChartOptions& options,
                                           const Interrupted& interrupted) {
    std::vector<Chart> charts;
    charts.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i % kChartsPerPoll == kChartsPerPoll - 1 && interrupted && interrupted()) {
            return std::unexpected(ZodiakitError::interrupted());
        }
        auto chart = chart_of_row(rows[i], options);
        if (!chart) return std::unexpected(std::move(chart.error()));
        charts.push_back(std::move(*chart));
    }
    return charts;
}

// Rows are handed out in runs of this many, in order, so that every row before the lowest
// failing one is computed and none far beyond it.
constexpr size_t kRowsPerClaim = 16;

}  // namespace

Result<std::vector<Chart>> charts_from_rows(const std::vector<ChartRow>& rows,
                                            std::string_view ayanamsa,
                                            std::string_view house_system, bool true_nodes,
                                            const Interrupted& interrupted) {
    return charts_from_rows_on(rows, ayanamsa, house_system, true_nodes, Workers{1}, interrupted);
}

Result<std::vector<Chart>> charts_from_rows_on(const std::vector<ChartRow>& rows,
                                               std::string_view ayanamsa,
                                               std::string_view house_system, bool true_nodes,
                                               Workers workers, const Interrupted& interrupted) {
    auto options = parse_chart_options(ayanamsa, house_system, true_nodes);
    if (!options) return std::unexpected(std::move(options.error()));
    const size_t claims = (rows.size() + kRowsPerClaim - 1) / kRowsPerClaim;
    const size_t threads = threads_for(workers, claims);
    if (threads <= 1) return charts_in_order(rows, *options, interrupted);
    return compute_on_threads<Chart>(
        rows.size(), kRowsPerClaim, threads,
        [&](size_t i, const Interrupted&) { return chart_of_row(rows[i], *options); }, interrupted);
}

Result<ChartTable> table_from_rows(const std::vector<ChartRow>& rows, std::string_view ayanamsa,
                                   std::string_view house_system, bool true_nodes, Workers workers,
                                   const Interrupted& interrupted) {
    constexpr size_t kRowsPerPart = 4096;
    if (auto options = parse_chart_options(ayanamsa, house_system, true_nodes); !options) {
        return std::unexpected(std::move(options.error()));
    }
    ChartTable table = empty_chart_table();
    for (size_t start = 0; start < rows.size(); start += kRowsPerPart) {
        const std::vector<ChartRow> part(
            rows.begin() + static_cast<ptrdiff_t>(start),
            rows.begin() + static_cast<ptrdiff_t>(std::min(start + kRowsPerPart, rows.size())));
        auto charts =
            charts_from_rows_on(part, ayanamsa, house_system, true_nodes, workers, interrupted);
        if (!charts) return std::unexpected(std::move(charts.error()));
        append_charts(table, *charts);
    }
    return table;
}

}  // namespace zk
