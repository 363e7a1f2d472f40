// The ephemeris calls of the searches, counted by the ephemeris layer itself (this program
// links its counting build): calls per panchanga, per ingress, house calls per window
// sample. Prints one JSON object.
#include <cstdio>

#include "chart/divisional.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/local_day.hpp"
#include "search/time_windows.hpp"
#include "search/transits.hpp"

int main() {
    using namespace zk;
    const GeoLocation kathmandu{27.7172, 85.3240, 0.0};

    // 200 instants 17.3 hours apart from 2024-01-01, as bench_panchanga.py times them: the
    // elements, then the day apart (sun and moon times, kalams, lunar month).
    const int64_t base = to_unix_seconds({2024, 1, 1, 0, 0, 0});
    int panchangas = 0;
    ephemeris::CallCounts p, d;
    for (int i = 0; i < 200; ++i) {
        const auto at = from_unix_seconds(base + static_cast<int64_t>(i * 17.3 * 3600));
        ephemeris::reset_call_counts();
        auto elements = compute_panchanga_elements(*at, kathmandu, "UTC", PanchangaMode::CivilDay,
                                                   AyanamsaMode{}, false);
        const auto counted = ephemeris::call_counts();
        p.positions += counted.positions;
        p.sunrises += counted.sunrises;
        if (!elements) continue;
        ephemeris::reset_call_counts();
        if (compute_panchanga_day(elements->panchanga, elements->day)) ++panchangas;
        const auto day = ephemeris::call_counts();
        d.positions += day.positions;
        d.sunrises += day.sunrises;
        d.sky_samples += day.sky_samples;
    }

    ephemeris::reset_call_counts();
    const auto ingresses = get_transits({1950, 1, 1}, {2050, 1, 1}, AyanamsaMode{}, true, {});
    const auto t = ephemeris::call_counts();

    ephemeris::reset_call_counts();
    const int32_t minutes = 24 * 60;
    const auto windows =
        find_time_windows({2024, 1, 15, 6, 0, 0}, minutes, 9, "leo", kathmandu, AyanamsaMode{}, {});
    const auto w = ephemeris::call_counts();
    // The instants that search evaluates: the same scan, its condition counting itself.
    uint64_t instants = 0;
    InterruptPoll never;
    const int64_t middle = to_unix_seconds({2024, 1, 15, 6, 0, 0});
    const auto holds = [&](int64_t seconds) {
        ++instants;
        const auto asc = ephemeris::ascendant(ephemeris::julian_day(*from_unix_seconds(seconds)),
                                              kathmandu.latitude, kathmandu.longitude);
        return asc && divisional_sign(9, *asc) == 5;
    };
    (void)scan_windows(middle - minutes * 30, middle + minutes * 30, holds, never);
    const double samples = minutes * 60 / kWindowSampleSeconds + 1;
    const double changes = windows ? 2.0 * static_cast<double>(windows->size()) : 0.0;

    std::printf(
        "{\"calls_per_panchanga\": %.2f, \"day_calls_per_panchanga\": %.2f, "
        "\"day_sky_samples_per_panchanga\": %.2f, "
        "\"calls_per_ingress\": %.2f, \"ingresses\": %zu, "
        "\"house_calls_per_window_sample\": %.3f, "
        "\"house_calls_per_window_instant\": %.3f, \"window_position_calls\": %llu, "
        "\"window_samples\": %.0f, \"window_edges\": %.0f}\n",
        static_cast<double>(p.positions + p.sunrises) / panchangas,
        static_cast<double>(d.positions + d.sunrises) / panchangas,
        static_cast<double>(d.sky_samples) / panchangas,
        ingresses ? static_cast<double>(t.positions) / static_cast<double>(ingresses->size()) : 0.0,
        ingresses ? ingresses->size() : size_t{0}, static_cast<double>(w.houses) / samples,
        static_cast<double>(w.houses) / static_cast<double>(instants),
        static_cast<unsigned long long>(w.positions), samples, changes);
    return 0;
}
