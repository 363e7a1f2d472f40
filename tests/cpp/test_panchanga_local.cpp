// The local-day panchanga against the real sky and its own rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "calc/panchanga/panchanga.hpp"
#include "core/datetime.hpp"

namespace zk {
namespace {

constexpr AyanamsaMode kLahiri{};
const GeoLocation kDelhi{28.6139, 77.2090, 0.0};

Panchanga compute(const UtcDateTime& utc, const std::string& zone = "UTC",
                  PanchangaMode mode = PanchangaMode::CivilDay,
                  const GeoLocation& at = kDelhi, const AyanamsaMode& ayanamsa = kLahiri) {
    auto p = compute_panchanga_local(utc, at, zone, mode, ayanamsa, true);
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
constexpr Phase kFullMoons2024[] = {
    {1, 25, 17, 54}, {2, 24, 12, 30}, {3, 25, 7, 0},  {4, 23, 23, 49},
    {5, 23, 13, 53}, {6, 22, 1, 8},   {7, 21, 10, 17}, {8, 19, 18, 26},
    {9, 18, 2, 34},  {10, 17, 11, 26}, {11, 15, 21, 28}, {12, 15, 9, 2}};
constexpr Phase kNewMoons2024[] = {
    {1, 11, 11, 57}, {2, 9, 22, 59}, {3, 10, 9, 0},  {4, 8, 18, 21},  {5, 8, 3, 22},
    {6, 6, 12, 38},  {7, 5, 22, 57}, {8, 4, 11, 13}, {9, 3, 1, 55},   {10, 2, 18, 49},
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

TEST(PanchangaAstronomy, EveryElementBracketsTheInstantAndTheHalvesMatchTheTithi) {
    for (int64_t day = 0; day < 400; day += 37) {
        const UtcDateTime t = *from_unix_seconds(1704067200 + day * 86400 + day * 997);
        const Panchanga p = compute(t);
        const int64_t now = to_unix_seconds(t);
        auto check = [&](const auto& info, double max_hours, const char* what) {
            const int64_t start = to_unix_seconds(info.start_time_utc);
            const int64_t end = to_unix_seconds(info.end_time_utc);
            EXPECT_LE(start, now) << what << " at " << format_rfc3339_utc(t);
            EXPECT_GE(end, now) << what << " at " << format_rfc3339_utc(t);
            EXPECT_LT(end - start, max_hours * 3600) << what << " at " << format_rfc3339_utc(t);
        };
        // The slowest Moon (about 11.8 degrees a day) needs 27.1 hours for a nakshatra.
        check(p.tithi, 28, "tithi");
        check(p.nakshatra, 28, "nakshatra");
        check(p.yoga, 28, "yoga");
        check(p.karana, 14, "karana");
        // A tithi's first karana begins with it; its second ends with it.
        if (p.karana.index == 2 * p.tithi.index - 1) {
            EXPECT_LE(
                std::llabs(seconds_between(p.karana.start_time_utc, p.tithi.start_time_utc)), 1);
        } else {
            EXPECT_EQ(p.karana.index, 2 * p.tithi.index);
            EXPECT_LE(std::llabs(seconds_between(p.karana.end_time_utc, p.tithi.end_time_utc)), 1);
        }
    }
}

TEST(PanchangaAstronomy, OnlyYogaAndNakshatraDependOnTheAyanamsa) {
    const UtcDateTime t = utc(2024, 3, 1, 12, 0);
    const Panchanga lahiri = compute(t);
    const Panchanga custom =
        compute(t, "UTC", PanchangaMode::CivilDay, kDelhi, {AyanamsaMode::Kind::Custom, 10.0});
    EXPECT_EQ(lahiri.tithi.index, custom.tithi.index);
    EXPECT_EQ(lahiri.tithi.end_time_utc, custom.tithi.end_time_utc);
    EXPECT_EQ(lahiri.karana.index, custom.karana.index);
    EXPECT_NE(lahiri.nakshatra.index, custom.nakshatra.index);  // about 14 degrees apart
    EXPECT_EQ(custom.metadata.ayanamsa, "Custom(10.0)");
}

TEST(PanchangaLocalDay, SunriseDayBeforeSunriseIsStillThePreviousDay) {
    // 03:00 in Delhi on Monday 2024-01-15 is 21:30 UTC on Sunday; sunrise is near 07:15.
    const UtcDateTime t = utc(2024, 1, 14, 21, 30);
    const Panchanga civil = compute(t, "Asia/Kolkata", PanchangaMode::CivilDay);
    const Panchanga sunrise = compute(t, "Asia/Kolkata", PanchangaMode::SunriseDay);
    EXPECT_EQ(civil.vara.name, "Monday");
    EXPECT_EQ(civil.vara.index, 1u);
    EXPECT_EQ(sunrise.vara.name, "Sunday");
    EXPECT_EQ(sunrise.vara.index, 0u);
    EXPECT_EQ(sunrise.metadata.mode, "sunrise_day");
    EXPECT_EQ(civil.tithi.end_time_utc, sunrise.tithi.end_time_utc);
    // After sunrise both agree.
    const UtcDateTime later = utc(2024, 1, 15, 4, 30);
    EXPECT_EQ(compute(later, "Asia/Kolkata", PanchangaMode::SunriseDay).vara.name, "Monday");
}

TEST(PanchangaLocalDay, PolarDayHasNoSunriseDay) {
    const GeoLocation svalbard{78.22, 15.65, 0.0};
    const UtcDateTime t = utc(2024, 6, 21, 12, 0);
    auto sunrise = compute_panchanga_local(t, svalbard, "Arctic/Longyearbyen",
                                           PanchangaMode::SunriseDay, kLahiri, true);
    ASSERT_FALSE(sunrise);
    EXPECT_EQ(sunrise.error().display(), "Invalid parameter: Sun always up?");
    auto civil = compute_panchanga_local(t, svalbard, "Arctic/Longyearbyen",
                                         PanchangaMode::CivilDay, kLahiri, true);
    ASSERT_TRUE(civil);
    EXPECT_EQ(civil->vara.name, "Friday");
}

TEST(PanchangaLocalDay, LocalTextsAndMetadata) {
    const Panchanga p = compute(utc(2024, 1, 15, 0, 30), "Asia/Kolkata");
    EXPECT_EQ(p.metadata.local_datetime, "2024-01-15T06:00:00");
    EXPECT_EQ(p.metadata.utc_datetime, "2024-01-15T00:30:00+00:00");
    EXPECT_EQ(p.metadata.timezone, "Asia/Kolkata");
    EXPECT_EQ(p.metadata.mode, "civil_day");
    EXPECT_EQ(p.metadata.ayanamsa, "Lahiri");
    EXPECT_EQ(p.metadata.calculation_version, "1.0.0");
    ASSERT_EQ(p.warnings.size(), 1u);
    EXPECT_EQ(p.warnings[0],
              "Panchanga end times are computed in UT; local times follow the provided IANA "
              "timezone.");
    // The local text is the UTC instant moved by +05:30.
    const UtcDateTime shifted =
        *from_unix_seconds(to_unix_seconds(p.tithi.end_time_utc) + 5 * 3600 + 1800);
    EXPECT_EQ(p.tithi.end_time_local, format_iso_naive(shifted) + "+05:30");

    const Panchanga in_utc = compute(utc(2024, 1, 15, 0, 30));
    EXPECT_EQ(in_utc.karana.start_time_local, format_rfc3339_utc(in_utc.karana.start_time_utc));
}

TEST(PanchangaLocalDay, FailuresInCheckOrder) {
    const UtcDateTime t = utc(2024, 1, 15, 0, 0);
    auto message = [&](GeoLocation at, const std::string& zone) {
        auto p = compute_panchanga_local(t, at, zone, PanchangaMode::CivilDay, kLahiri, true);
        return p ? std::string("ok") : p.error().display();
    };
    EXPECT_EQ(message({91.0, 200.0, 0.0}, "Nowhere/Else"),
              "Invalid parameter: Invalid latitude 91: expected -90..90");
    EXPECT_EQ(message({0.0, 180.5, 0.0}, "Nowhere/Else"),
              "Invalid parameter: Invalid longitude 180.5: expected -180..180");
    EXPECT_EQ(message({0.0, 0.0, 10001.0}, "Nowhere/Else"),
              "Invalid parameter: Invalid altitude 10001: expected -500..10000 meters");
    EXPECT_EQ(message(kDelhi, "asia/kolkata"), "Invalid parameter: Unknown timezone: asia/kolkata");
}

}  // namespace
}  // namespace zk
