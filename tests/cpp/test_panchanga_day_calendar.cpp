// The day panchanga and the calendar of a span: against drik-panchanga, published dates,
// and the single-day computation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "chart/chart.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/calendar.hpp"

namespace zk {
namespace {

constexpr GeoLocation kDelhi{28.6139, 77.2090, 0.0};
constexpr GeoLocation kTromso{69.6492, 18.9553, 0.0};

std::string text(const std::optional<DayTime>& t) {
    return t ? t->local + "/" + format_rfc3339_utc(t->utc) : "none";
}

std::string text(const std::optional<DaySpan>& s) {
    return s ? text(s->start) + "-" + text(s->end) : "none";
}

template <typename Info>
std::string element_text(const Info& e) {
    std::ostringstream o;
    o << e.index << " " << e.name << " " << format_rfc3339_utc(e.start_time_utc) << " "
      << format_rfc3339_utc(e.end_time_utc) << " " << e.start_time_local << " " << e.end_time_local;
    return o.str();
}

std::string text(const LunarMonth& m) {
    return std::to_string(m.index) + m.name + (m.adhika ? "+adhika" : "") +
           (m.kshaya ? "+kshaya" : "");
}

// Every field of a day, one per line, so that a difference shows where it is.
std::string describe(const PanchangaDay& d) {
    std::ostringstream o;
    const Panchanga& p = d.panchanga;
    o << d.date.year << "-" << d.date.month << "-" << d.date.day << " " << d.reference << "\n"
      << element_text(p.tithi) << " " << p.tithi.paksha << "\n"
      << element_text(p.nakshatra) << " pada " << p.nakshatra.pada << "\n"
      << element_text(p.yoga) << "\n"
      << element_text(p.karana) << "\n"
      << p.vara.index << p.vara.name << "\n";
    const PanchangaMetadata& m = p.metadata;
    o << m.timezone << m.mode << m.local_datetime << m.utc_datetime << m.ayanamsa << m.true_nodes
      << m.calculation_version << p.warnings.size() << p.warnings.front() << "\n";
    const SkyTimes& s = d.sky;
    for (const auto* t :
         {&s.sunrise, &s.sunset, &s.moonrise, &s.moonset, &s.solar_noon, &s.next_sunrise}) {
        o << text(*t) << "\n";
    }
    o << s.day_length_seconds.value_or(-1) << " " << s.night_length_seconds.value_or(-1) << "\n";
    const DayDivisions& v = d.divisions;
    for (const auto* span : {&v.rahu_kalam, &v.yamaganda, &v.gulika_kalam, &v.abhijit_muhurta}) {
        o << text(*span) << "\n";
    }
    if (v.dur_muhurtas) {
        for (const DaySpan& span : *v.dur_muhurtas) o << "dur " << text(span) << "\n";
    }
    const LunarCalendar& l = d.lunar;
    o << text(l.amanta) << " " << text(l.purnimanta) << " " << l.samvatsara << l.samvatsara_name
      << " " << l.shaka_year << " " << l.vikram_year << " " << l.ritu << l.ritu_name << " "
      << l.ayana << l.ayana_name << " " << l.sun_sign << l.sun_sign_name << " " << l.moon_sign
      << l.moon_sign_name << "\n";
    const TithiDay& t = d.tithi_day;
    o << t.tithi_at_sunrise << " skipped";
    for (uint32_t k : t.skipped_tithis) o << " " << k;
    o << " " << t.repeated_tithi << t.is_ekadashi << t.is_purnima << t.is_amavasya << " "
      << (t.sankranti ? t.sankranti->name + " " + text(t.sankranti->time) : "no sankranti");
    return o.str();
}

struct Span {
    const char* what;
    CivilDate from, to;
    GeoLocation place;
    const char* zone;
    SunriseConvention convention;
};

// Clock changes, a skipped midnight, Tromso's last sunrises before the midnight sun and its
// first polar nights (days referred to midnight), and ordinary Indian days.
TEST(PanchangaCalendar, EachDayEqualsItsSingleDayComputation) {
    const Span spans[] = {{"Delhi",
                           {2025, 1, 1},
                           {2025, 2, 15},
                           kDelhi,
                           "Asia/Kolkata",
                           SunriseConvention::UpperLimb},
                          {"Havana",
                           {2025, 3, 7},
                           {2025, 3, 11},
                           {23.1136, -82.3666, 0.0},
                           "America/Havana",
                           SunriseConvention::DiscCenter},
                          {"Tromso spring",
                           {2025, 3, 28},
                           {2025, 4, 1},
                           kTromso,
                           "Europe/Oslo",
                           SunriseConvention::UpperLimb},
                          {"Tromso May",
                           {2025, 5, 12},
                           {2025, 5, 24},
                           kTromso,
                           "Europe/Oslo",
                           SunriseConvention::DiscCenter},
                          {"Tromso November",
                           {2025, 11, 24},
                           {2025, 12, 2},
                           kTromso,
                           "Europe/Oslo",
                           SunriseConvention::UpperLimb}};
    size_t at_midnight = 0;
    for (const Span& s : spans) {
        const auto days = compute_panchanga_calendar(s.from, s.to, s.place, s.zone, s.convention,
                                                     AyanamsaMode{}, true, {});
        ASSERT_TRUE(days && *days) << s.what;
        const int64_t count = days_from_civil(s.to.year, s.to.month, s.to.day) -
                              days_from_civil(s.from.year, s.from.month, s.from.day) + 1;
        ASSERT_EQ((*days)->size(), static_cast<size_t>(count)) << s.what;
        for (const PanchangaDay& d : **days) {
            const auto single =
                compute_panchanga_day(d.date, s.place, s.zone, s.convention, AyanamsaMode{}, true);
            ASSERT_TRUE(single) << single.error().display();
            EXPECT_EQ(describe(d), describe(*single)) << s.what;
            at_midnight += d.reference == "midnight";
        }
    }
    EXPECT_GE(at_midnight, 5u);
}

// drik-panchanga 2.0.0 (Lahiri, Swiss Ephemeris 2.10.03 files) at Delhi, UTC+5:30, computed by
// tests/python/crosscheck_panchanga_day.py (cpp mode): every 23rd day of 2023-2026 and every
// day of 2025 with a skipped tithi.
struct DrikRow {
    int64_t year;
    uint32_t month, day;
    double sunrise;  // unix seconds
    uint32_t tithi, skipped;
    int amanta, purnimanta;  // negative: adhika
    uint32_t samvatsara, ritu;
};
// date (Delhi, disc_center), drik-panchanga's sunrise (unix seconds), tithi at
// sunrise, skipped tithi (0: none), amanta and purnimanta month (negative: adhika),
// samvatsara, ritu.
constexpr DrikRow kDrik[] = {
    {2023, 1, 1, 1672537682.188, 10, 0, 10, 10, 36, 5},
    {2023, 1, 24, 1674524826.719, 3, 0, 11, 11, 36, 6},
    {2023, 2, 16, 1676511177.030, 26, 0, 11, 12, 36, 6},
    {2023, 3, 11, 1678496989.034, 19, 0, 12, 1, 36, 6},
    {2023, 4, 3, 1680482603.921, 12, 0, 1, 1, 37, 1},
    {2023, 4, 26, 1682468358.098, 6, 0, 2, 2, 37, 1},
    {2023, 5, 19, 1684454558.887, 30, 0, 2, 3, 37, 1},
    {2023, 6, 11, 1686441419.827, 23, 0, 3, 4, 37, 2},
    {2023, 7, 4, 1688428929.777, 16, 0, 4, 5, 37, 2},
    {2023, 7, 27, 1690416819.208, 9, 0, -5, -5, 37, 3},
    {2023, 8, 19, 1692404773.502, 3, 0, 5, 5, 37, 3},
    {2023, 9, 11, 1694392662.213, 27, 0, 5, 6, 37, 3},
    {2023, 10, 4, 1696380553.195, 21, 0, 6, 7, 37, 3},
    {2023, 10, 27, 1698368591.117, 13, 14, 7, 7, 37, 4},
    {2023, 11, 19, 1700356834.973, 6, 7, 8, 8, 37, 4},
    {2023, 12, 12, 1702345091.749, 30, 0, 8, 9, 37, 4},
    {2024, 1, 4, 1704332920.252, 23, 0, 9, 10, 37, 5},
    {2024, 1, 27, 1706319964.141, 17, 0, 10, 11, 37, 5},
    {2024, 2, 19, 1708306233.656, 10, 0, 11, 11, 37, 6},
    {2024, 3, 13, 1710292003.170, 4, 0, 12, 12, 37, 6},
    {2024, 4, 5, 1712277616.253, 26, 0, 12, 1, 37, 6},
    {2024, 4, 28, 1714263408.280, 19, 0, 1, 2, 38, 1},
    {2024, 5, 21, 1716249680.631, 13, 0, 2, 2, 38, 1},
    {2024, 6, 13, 1718236626.059, 7, 0, 3, 3, 38, 2},
    {2024, 7, 6, 1720224198.492, 1, 0, 4, 4, 38, 2},
    {2024, 7, 29, 1722212109.275, 24, 0, 4, 5, 38, 2},
    {2024, 8, 21, 1724200058.864, 17, 0, 5, 6, 38, 3},
    {2024, 9, 13, 1726187942.697, 10, 0, 6, 6, 38, 3},
    {2024, 10, 6, 1728175843.566, 3, 0, 7, 7, 38, 4},
    {2024, 10, 29, 1730163905.331, 27, 0, 7, 8, 38, 4},
    {2024, 11, 21, 1732152166.803, 21, 0, 8, 9, 38, 4},
    {2024, 12, 14, 1734140399.260, 14, 0, 9, 9, 38, 5},
    {2025, 1, 6, 1736128146.974, 7, 0, 10, 10, 38, 5},
    {2025, 1, 11, 1736560163.163, 12, 13, 10, 10, 38, 5},
    {2025, 1, 29, 1738115089.286, 30, 0, 10, 11, 38, 5},
    {2025, 2, 2, 1738460561.713, 4, 5, 11, 11, 38, 6},
    {2025, 2, 21, 1740101280.895, 23, 0, 11, 12, 38, 6},
    {2025, 2, 27, 1740619328.713, 29, 30, 11, 12, 38, 6},
    {2025, 3, 16, 1742087013.658, 17, 0, 12, 1, 38, 6},
    {2025, 3, 31, 1743381973.643, 2, 3, 1, 1, 39, 1},
    {2025, 4, 8, 1744072631.499, 11, 0, 1, 1, 39, 1},
    {2025, 4, 26, 1745626728.230, 28, 29, 1, 2, 39, 1},
    {2025, 5, 1, 1746058466.151, 4, 0, 2, 2, 39, 1},
    {2025, 5, 20, 1747699313.222, 22, 23, 2, 3, 39, 1},
    {2025, 5, 24, 1748044811.640, 27, 0, 2, 3, 39, 1},
    {2025, 5, 27, 1748303949.594, 30, 1, 2, 3, 39, 1},
    {2025, 6, 16, 1750031840.460, 20, 0, 3, 4, 39, 2},
    {2025, 6, 21, 1750463891.406, 25, 26, 3, 4, 39, 2},
    {2025, 7, 9, 1752019473.254, 14, 0, 4, 4, 39, 2},
    {2025, 7, 22, 1753143070.593, 27, 28, 4, 5, 39, 2},
    {2025, 8, 1, 1754007403.077, 8, 0, 5, 5, 39, 3},
    {2025, 8, 13, 1755044598.305, 19, 20, 5, 6, 39, 3},
    {2025, 8, 24, 1755995345.418, 1, 0, 6, 6, 39, 3},
    {2025, 9, 13, 1757723936.276, 21, 22, 6, 7, 39, 3},
    {2025, 9, 16, 1757983223.585, 25, 0, 6, 7, 39, 3},
    {2025, 10, 7, 1759798270.014, 15, 16, 7, 7, 39, 4},
    {2025, 10, 9, 1759971137.088, 18, 0, 7, 8, 39, 4},
    {2025, 11, 1, 1761959225.775, 10, 0, 8, 8, 39, 4},
    {2025, 11, 2, 1762045669.367, 11, 12, 8, 8, 39, 4},
    {2025, 11, 8, 1762564338.609, 18, 19, 8, 9, 39, 4},
    {2025, 11, 24, 1763947501.579, 4, 0, 9, 9, 39, 5},
    {2025, 12, 4, 1764811971.116, 14, 15, 9, 9, 39, 5},
    {2025, 12, 17, 1765935699.585, 28, 0, 9, 10, 39, 5},
    {2025, 12, 30, 1767059253.291, 10, 11, 10, 10, 39, 5},
    {2026, 1, 9, 1767923359.998, 22, 0, 10, 11, 39, 5},
    {2026, 2, 1, 1769910203.304, 15, 0, 11, 11, 39, 6},
    {2026, 2, 24, 1771896322.734, 7, 8, 12, 12, 39, 6},
    {2026, 3, 19, 1773882023.108, 30, 1, 12, 1, 39, 6},
    {2026, 4, 11, 1775867649.322, 24, 0, 1, 2, 40, 1},
    {2026, 5, 4, 1777853531.315, 18, 0, 2, 3, 40, 1},
    {2026, 5, 27, 1779839954.486, 11, 0, -3, -3, 40, 2},
    {2026, 6, 19, 1781827065.797, 5, 0, 3, 3, 40, 2},
    {2026, 7, 12, 1783814751.497, 28, 0, 3, 4, 40, 2},
    {2026, 8, 4, 1785802694.082, 21, 0, 4, 5, 40, 2},
    {2026, 8, 27, 1787790629.395, 14, 0, 5, 5, 40, 3},
    {2026, 9, 19, 1789778505.188, 8, 0, 6, 6, 40, 3},
    {2026, 10, 12, 1791766432.433, 2, 0, 7, 7, 40, 4},
    {2026, 11, 4, 1793754546.084, 25, 0, 7, 8, 40, 4},
    {2026, 11, 27, 1795742832.963, 18, 19, 8, 9, 40, 4},
    {2026, 12, 20, 1797730992.495, 11, 0, 9, 9, 40, 5},
};

// drik-panchanga's sunrise is the geocentric centre of the disc (the library's Hindu
// rising); disc_center is topocentric, as defined, and so later by the Sun's parallax, up
// to 0.8 s at Delhi.
TEST(PanchangaCalendar, DaysMatchDrikPanchangaAtDelhi) {
    constexpr double kSunriseToleranceS = 1.0;
    double worst = 0.0;
    for (const DrikRow& r : kDrik) {
        const auto d = compute_panchanga_day({r.year, r.month, r.day}, kDelhi, "Asia/Kolkata",
                                             SunriseConvention::DiscCenter, AyanamsaMode{}, true);
        ASSERT_TRUE(d) << d.error().display();
        const std::string when =
            std::to_string(r.year) + "-" + std::to_string(r.month) + "-" + std::to_string(r.day);
        const double sunrise = (*d->sky.solar.sunrise - 2440587.5) * 86400.0;
        EXPECT_NEAR(sunrise, r.sunrise, kSunriseToleranceS) << when;
        worst = std::max(worst, std::fabs(sunrise - r.sunrise));
        EXPECT_EQ(d->tithi_day.tithi_at_sunrise, r.tithi) << when;
        const auto& skipped = d->tithi_day.skipped_tithis;
        EXPECT_EQ(skipped.empty() ? 0u : skipped.front(), r.skipped) << when;
        EXPECT_LE(skipped.size(), 1u) << when;
        const auto signed_month = [](const LunarMonth& m) {
            return static_cast<int>(m.index) * (m.adhika ? -1 : 1);
        };
        EXPECT_EQ(signed_month(d->lunar.amanta), r.amanta) << when;
        EXPECT_EQ(signed_month(d->lunar.purnimanta), r.purnimanta) << when;
        EXPECT_EQ(d->lunar.samvatsara, r.samvatsara) << when;
        EXPECT_EQ(d->lunar.ritu, r.ritu) << when;
    }
    std::printf("drik-panchanga at Delhi: worst sunrise difference %.3f s\n", worst);
}

// Yogini Ekadashi (21 June), Margashirsha Purnima (4 December) and Pausha Putrada Ekadashi
// (30 December) fell on days whose sunrise saw the tithi before, the Phalguna Amavasya (27
// February) likewise; the Pausha Amavasya of 19 December still stood at the next sunrise.
// Makara, Mesha and Karka sankrantis: 14 January, 14 April and 16 July 2025.
TEST(PanchangaCalendar, MarksSkippedAndRepeatedTithisAndSankrantisOf2025) {
    const auto year =
        compute_panchanga_calendar({2025, 1, 1}, {2025, 12, 31}, kDelhi, "Asia/Kolkata",
                                   SunriseConvention::DiscCenter, AyanamsaMode{}, true, {});
    ASSERT_TRUE(year && *year);
    std::vector<std::string> marked, sankrantis;
    for (const PanchangaDay& d : **year) {
        const TithiDay& t = d.tithi_day;
        const std::string date = d.sky.sunrise->local.substr(0, 10);
        const auto special = [](uint32_t tithi) {
            return tithi == 11 || tithi == 26 || tithi == 15 || tithi == 30;
        };
        for (uint32_t skipped : t.skipped_tithis) {
            if (special(skipped)) marked.push_back(date + " skipped " + std::to_string(skipped));
        }
        if (t.repeated_tithi && (t.is_ekadashi || t.is_purnima || t.is_amavasya)) {
            marked.push_back(date + " repeated " + std::to_string(t.tithi_at_sunrise));
        }
        if (t.sankranti) sankrantis.push_back(date + " " + t.sankranti->name);
    }
    EXPECT_EQ(marked, (std::vector<std::string>{"2025-02-27 skipped 30", "2025-06-21 skipped 26",
                                                "2025-12-04 skipped 15", "2025-12-20 repeated 30",
                                                "2025-12-30 skipped 11"}));
    ASSERT_EQ(sankrantis.size(), 12u);
    EXPECT_EQ(sankrantis[0], "2025-01-14 Makara");
    EXPECT_EQ(sankrantis[3], "2025-04-14 Mesha");
    EXPECT_EQ(sankrantis[6], "2025-07-16 Karka");
}

TEST(PanchangaCalendar, RefusesBadSpansAndPlaces) {
    const auto call = [](CivilDate from, CivilDate to, GeoLocation at, const char* zone) {
        return compute_panchanga_calendar(from, to, at, zone, SunriseConvention::UpperLimb,
                                          AyanamsaMode{}, true, {});
    };
    EXPECT_EQ(call({2025, 2, 1}, {2025, 1, 31}, kDelhi, "Asia/Kolkata").error().display(),
              "Invalid parameter: Calendar end date is before its start date");
    EXPECT_EQ(call({2000, 1, 1}, {2100, 1, 2}, kDelhi, "Asia/Kolkata").error().display(),
              "Invalid parameter: Calendar span exceeds 100 years (36525 days)");
    EXPECT_EQ(call({2025, 1, 1}, {2025, 1, 2}, kDelhi, "Mars/Olympus").error().display(),
              "Invalid parameter: Unknown timezone: Mars/Olympus");
    EXPECT_EQ(call({2025, 1, 1}, {2025, 1, 2}, {91.0, 0.0, 0.0}, "UTC").error(),
              validate_geo(91.0, 0.0, 0.0).error());
    EXPECT_EQ(call({2025, 2, 29}, {2025, 3, 2}, kDelhi, "UTC").error().display(),
              "Date/time conversion error");
    EXPECT_EQ(compute_panchanga_day({2025, 2, 29}, kDelhi, "UTC", SunriseConvention::UpperLimb,
                                    AyanamsaMode{}, true)
                  .error()
                  .display(),
              "Date/time conversion error");
}

TEST(PanchangaCalendar, StopsWhenAsked) {
    int questions = 0;
    const Interrupted stop_at_third = [&] { return ++questions >= 3; };
    const auto stopped = compute_panchanga_calendar({2025, 1, 1}, {2026, 12, 31}, kDelhi,
                                                    "Asia/Kolkata", SunriseConvention::UpperLimb,
                                                    AyanamsaMode{}, true, stop_at_third);
    ASSERT_TRUE(stopped);
    EXPECT_FALSE(*stopped);
    EXPECT_EQ(questions, 3);
}

}  // namespace
}  // namespace zk
