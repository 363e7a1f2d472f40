// The local-day panchanga against the real sky, and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "calc/panchanga/panchanga.hpp"
#include "core/datetime.hpp"

namespace zk {
namespace {

constexpr AyanamsaMode kLahiri{};
const GeoLocation kDelhi{28.6139, 77.2090, 0.0};

Panchanga compute(const UtcDateTime& utc, const AyanamsaMode& ayanamsa = kLahiri) {
    auto p = compute_panchanga_local(utc, kDelhi, "UTC", PanchangaMode::CivilDay, ayanamsa, true);
    if (!p) ADD_FAILURE() << p.error().display();
    return p.value_or(Panchanga{});
}

UtcDateTime utc(int32_t y, uint32_t mo, uint32_t d, uint32_t h, uint32_t mi, uint32_t s = 0) {
    return *make_utc(y, mo, d, h, mi, s);
}

int64_t seconds_between(const UtcDateTime& a, const UtcDateTime& b) {
    return to_unix_seconds(a) - to_unix_seconds(b);
}

// U.S. Naval Observatory, "Phases of the Moon" for 2024, times in UTC to the minute.
struct Phase {
    uint32_t month, day, hour, minute;
};
constexpr Phase kFullMoons2024[] = {{1, 25, 17, 54},  {2, 24, 12, 30},  {3, 25, 7, 0},
                                    {4, 23, 23, 49},  {5, 23, 13, 53},  {6, 22, 1, 8},
                                    {7, 21, 10, 17},  {8, 19, 18, 26},  {9, 18, 2, 34},
                                    {10, 17, 11, 26}, {11, 15, 21, 28}, {12, 15, 9, 2}};
constexpr Phase kNewMoons2024[] = {
    {1, 11, 11, 57}, {2, 9, 22, 59}, {3, 10, 9, 0},   {4, 8, 18, 21}, {5, 8, 3, 22},
    {6, 6, 12, 38},  {7, 5, 22, 57}, {8, 4, 11, 13},  {9, 3, 1, 55},  {10, 2, 18, 49},
    {11, 1, 12, 47}, {12, 1, 6, 21}, {12, 30, 22, 27}};
constexpr int64_t kPhaseToleranceSeconds = 120;

// A few hours before each phase the tithi that it ends is current: Purnima ends at the
// full moon and Amavasya at the new moon.
int64_t worst_phase_error(const Phase* phases, size_t count, uint32_t tithi) {
    int64_t worst = 0;
    for (size_t i = 0; i < count; ++i) {
        const Phase& ph = phases[i];
        const UtcDateTime published = utc(2024, ph.month, ph.day, ph.hour, ph.minute);
        const auto before = from_unix_seconds(to_unix_seconds(published) - 5 * 3600);
        const Panchanga p = compute(*before);
        EXPECT_EQ(p.tithi.index, tithi) << format_rfc3339_utc(published);
        const int64_t error = std::llabs(seconds_between(p.tithi.end_time_utc, published));
        EXPECT_LE(error, kPhaseToleranceSeconds)
            << "tithi " << tithi << " ends at " << format_rfc3339_utc(p.tithi.end_time_utc)
            << ", published " << format_rfc3339_utc(published);
        worst = std::max(worst, error);
    }
    return worst;
}

TEST(PanchangaAstronomy, TithisEndAtThePublishedMoonPhasesOf2024) {
    const int64_t full = worst_phase_error(kFullMoons2024, std::size(kFullMoons2024), 15);
    const int64_t fresh = worst_phase_error(kNewMoons2024, std::size(kNewMoons2024), 30);
    std::printf("moon phases 2024: worst error %lld s (full moons %lld s, new moons %lld s)\n",
                static_cast<long long>(std::max(full, fresh)), static_cast<long long>(full),
                static_cast<long long>(fresh));
}

TEST(PanchangaAstronomy, OnlyYogaAndNakshatraDependOnTheAyanamsa) {
    const UtcDateTime t = utc(2024, 3, 1, 12, 0);
    const Panchanga lahiri = compute(t);
    const Panchanga custom = compute(t, {AyanamsaMode::Kind::Custom, 10.0});
    EXPECT_EQ(lahiri.tithi.index, custom.tithi.index);
    EXPECT_EQ(lahiri.tithi.end_time_utc, custom.tithi.end_time_utc);
    EXPECT_EQ(lahiri.karana.index, custom.karana.index);
    EXPECT_NE(lahiri.nakshatra.index, custom.nakshatra.index);  // about 14 degrees apart
    EXPECT_EQ(custom.metadata.ayanamsa, "Custom(10.0)");
}

TEST(PanchangaLocalDay, FailuresInCheckOrder) {
    const UtcDateTime t = utc(2024, 1, 15, 0, 0);
    auto message = [&](GeoLocation at, const std::string& zone) {
        auto p = compute_panchanga_local(t, at, zone, PanchangaMode::CivilDay, kLahiri, true);
        return p ? std::string("ok") : p.error().display();
    };
    EXPECT_EQ(message({91.0, 200.0, 0.0}, "Nowhere/Else"),
              "Invalid parameter: Invalid latitude 91: expected -90..90");
    EXPECT_EQ(message(kDelhi, "asia/kolkata"), "Invalid parameter: Unknown timezone: asia/kolkata");
}

}  // namespace
}  // namespace zk
