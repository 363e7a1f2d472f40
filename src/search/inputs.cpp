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
        return std::unexpected(ZodiakitError::invalid_input("ValueError: " + valid.error().display()));
    }
    auto base = parse_instant_text(base_text);
    if (!base) return std::unexpected(std::move(base.error()));
    return find_time_windows(*base, window_minutes, varga, target_sign,
                             GeoLocation{latitude, longitude, altitude}, *ayanamsa, interrupted);
}

Result<std::vector<Chart>> charts_from_rows(const std::vector<ChartRow>& rows,
                                            std::string_view ayanamsa,
                                            std::string_view house_system, bool true_nodes,
                                            const Interrupted& interrupted) {
    auto options = parse_chart_options(ayanamsa, house_system, true_nodes);
    if (!options) return std::unexpected(std::move(options.error()));
    std::vector<Chart> charts;
    charts.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i % kChartsPerPoll == kChartsPerPoll - 1 && interrupted && interrupted()) {
            return std::unexpected(ZodiakitError::interrupted());
        }
        const ChartRow& row = rows[i];
        if (auto valid = validate_geo(row.latitude, row.longitude, row.altitude); !valid) {
            return std::unexpected(std::move(valid.error()));
        }
        auto utc = make_utc(row.year, row.month, row.day, row.hour, row.minute, row.second);
        if (!utc) return std::unexpected(ZodiakitError::invalid_input("Invalid date/time"));
        auto chart = recorded_chart(*utc, GeoLocation{row.latitude, row.longitude, row.altitude},
                                    *options, "utc", "UTC");
        if (!chart) return std::unexpected(std::move(chart.error()));
        charts.push_back(std::move(*chart));
    }
    return charts;
}

}  // namespace zk
