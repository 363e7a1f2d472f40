// The day panchanga and the calendar of a span: against drik-panchanga, published dates,
// and the single-day computation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>

#include "chart/chart.hpp"
#include "ephemeris/ephemeris.hpp"
#include "panchanga/calendar.hpp"
#include "panchanga/luminary_table.hpp"

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
    const SkyTimes& s = d.panchanga.sky;
    for (const auto* t :
         {&s.sunrise, &s.sunset, &s.moonrise, &s.moonset, &s.solar_noon, &s.next_sunrise}) {
        o << text(*t) << "\n";
    }
    o << s.day_length_seconds.value_or(-1) << " " << s.night_length_seconds.value_or(-1) << "\n";
    const DayDivisions& v = d.panchanga.divisions;
    for (const auto* span : {&v.rahu_kalam, &v.yamaganda, &v.gulika_kalam, &v.abhijit_muhurta}) {
        o << text(*span) << "\n";
    }
    if (v.dur_muhurtas) {
        for (const DaySpan& span : *v.dur_muhurtas) o << "dur " << text(span) << "\n";
    }
    const LunarCalendar& l = d.panchanga.lunar;
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
                                                     AyanamsaMode{}, true, Workers{}, {});
        ASSERT_TRUE(days) << s.what;
        const int64_t count = days_from_civil(s.to.year, s.to.month, s.to.day) -
                              days_from_civil(s.from.year, s.from.month, s.from.day) + 1;
        ASSERT_EQ(days->size(), static_cast<size_t>(count)) << s.what;
        for (const PanchangaDay& d : *days) {
            const auto single =
                compute_panchanga_day(d.date, s.place, s.zone, s.convention, AyanamsaMode{}, true);
            ASSERT_TRUE(single) << single.error().display();
            EXPECT_EQ(describe(d), describe(*single)) << s.what;
            at_midnight += d.reference == "midnight";
        }
    }
    EXPECT_GE(at_midnight, 5u);
}

// Spans before the data files (the analytical ephemeris), far ahead, and under ayanamsas
// that move differently (True Chitra follows its star).
TEST(PanchangaCalendar, OtherErasAndAyanamsasEqualTheirSingleDays) {
    struct Case {
        CivilDate from, to;
        AyanamsaMode ayanamsa;
    };
    const Case cases[] = {{{1203, 4, 2}, {1203, 4, 21}, {AyanamsaMode::Kind::Krishnamurti}},
                          {{1750, 6, 1}, {1750, 6, 16}, {AyanamsaMode::Kind::Raman}},
                          {{2150, 10, 10}, {2150, 10, 25}, {AyanamsaMode::Kind::TrueChitra}}};
    for (const Case& c : cases) {
        const auto days = compute_panchanga_calendar(c.from, c.to, kDelhi, "Asia/Kolkata",
                                                     SunriseConvention::DiscCenter, c.ayanamsa,
                                                     false, Workers{}, {});
        ASSERT_TRUE(days) << c.from.year;
        for (const PanchangaDay& d : *days) {
            const auto single = compute_panchanga_day(
                d.date, kDelhi, "Asia/Kolkata", SunriseConvention::DiscCenter, c.ayanamsa, false);
            ASSERT_TRUE(single) << single.error().display();
            EXPECT_EQ(describe(d), describe(*single)) << c.from.year;
        }
    }
}

// The calendar's table of the Moon and the Sun stays within the error its rounding margins
// allow for, from the analytical ephemeris of 3000 BCE to the end of the data files, and
// under an ayanamsa that follows its star.
TEST(PanchangaCalendar, TableOfTheLuminariesFollowsTheLibrary) {
    const Interrupted never;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> start(626000.0, 2817000.0), within(0.0, 3.0);
    double worst_moon = 0.0, worst_sun = 0.0;
    for (const auto kind : {AyanamsaMode::Kind::Lahiri, AyanamsaMode::Kind::TrueChitra}) {
        ephemeris::select_sidereal_mode({kind});
        for (int i = 0; i < 40; ++i) {
            const double from = start(rng);
            InterruptPoll poll(never, 1u << 30);
            const auto table = LuminaryTable::read(from, from + 3.0, false, poll);
            ASSERT_TRUE(table);
            for (int k = 0; k < 8; ++k) {
                const double t = from + within(rng);
                const auto exact = luminaries_at(t, false);
                ASSERT_TRUE(exact);
                const Luminaries read = table->at(t);
                const auto off = [](double a, double b) {
                    return std::fabs(std::remainder(a - b, 360.0));
                };
                worst_moon = std::max(worst_moon, off(read.moon_deg, exact->moon_deg));
                worst_sun = std::max(worst_sun, off(read.sun_deg, exact->sun_deg));
            }
        }
    }
    ephemeris::select_sidereal_mode({});
    EXPECT_LT(worst_moon, 3e-7);
    EXPECT_LT(worst_sun, 1e-7);
}

// drik-panchanga 2.0.0 (Lahiri, Swiss Ephemeris 2.10.03 files) at Delhi, UTC+5:30, computed by
// tests/python/crosscheck_panchanga_day.py (cpp mode): every 61st day of 2023-2026 and every
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
    {2023, 3, 3, 1677806312.340, 11, 0, 12, 12, 36, 6},
    {2023, 5, 3, 1683072793.961, 13, 0, 2, 2, 37, 1},
    {2023, 7, 3, 1688342505.993, 15, 0, 4, 4, 37, 2},
    {2023, 9, 2, 1693614799.384, 18, 0, 5, 6, 37, 3},
    {2023, 11, 2, 1698887245.109, 20, 0, 7, 8, 37, 4},
    {2024, 1, 2, 1704160093.939, 21, 0, 9, 10, 37, 5},
    {2024, 3, 3, 1709428664.078, 22, 0, 11, 12, 37, 6},
    {2024, 5, 3, 1714695156.448, 25, 0, 1, 2, 38, 1},
    {2024, 7, 3, 1719964922.787, 27, 0, 3, 4, 38, 2},
    {2024, 9, 2, 1725237221.435, 30, 0, 5, 6, 38, 3},
    {2024, 11, 2, 1730509678.361, 1, 0, 8, 8, 38, 4},
    {2025, 1, 2, 1735782505.003, 3, 0, 10, 10, 38, 5},
    {2025, 1, 11, 1736560163.163, 12, 13, 10, 10, 38, 5},
    {2025, 2, 2, 1738460561.713, 4, 5, 11, 11, 38, 6},
    {2025, 2, 27, 1740619328.713, 29, 30, 11, 12, 38, 6},
    {2025, 3, 4, 1741051015.783, 5, 0, 12, 12, 38, 6},
    {2025, 3, 31, 1743381973.643, 2, 3, 1, 1, 39, 1},
    {2025, 4, 26, 1745626728.230, 28, 29, 1, 2, 39, 1},
    {2025, 5, 4, 1746317520.417, 7, 0, 2, 2, 39, 1},
    {2025, 5, 20, 1747699313.222, 22, 23, 2, 3, 39, 1},
    {2025, 5, 27, 1748303949.594, 30, 1, 2, 3, 39, 1},
    {2025, 6, 21, 1750463891.406, 25, 26, 3, 4, 39, 2},
    {2025, 7, 4, 1751587342.048, 9, 0, 4, 4, 39, 2},
    {2025, 7, 22, 1753143070.593, 27, 28, 4, 5, 39, 2},
    {2025, 8, 13, 1755044598.305, 19, 20, 5, 6, 39, 3},
    {2025, 9, 3, 1756859645.666, 11, 0, 6, 6, 39, 3},
    {2025, 9, 13, 1757723936.276, 21, 22, 6, 7, 39, 3},
    {2025, 10, 7, 1759798270.014, 15, 16, 7, 7, 39, 4},
    {2025, 11, 2, 1762045669.367, 11, 12, 8, 8, 39, 4},
    {2025, 11, 3, 1762132113.334, 13, 0, 8, 8, 39, 4},
    {2025, 11, 8, 1762564338.609, 18, 19, 8, 9, 39, 4},
    {2025, 12, 4, 1764811971.116, 14, 15, 9, 9, 39, 5},
    {2025, 12, 30, 1767059253.291, 10, 11, 10, 10, 39, 5},
    {2026, 1, 3, 1767404914.582, 15, 0, 10, 10, 39, 5},
    {2026, 3, 5, 1772673366.355, 17, 0, 12, 1, 39, 6},
    {2026, 5, 5, 1777939884.454, 19, 0, 2, 3, 40, 1},
    {2026, 7, 5, 1783209760.005, 20, 0, 3, 4, 40, 2},
    {2026, 9, 4, 1788482066.978, 23, 0, 5, 6, 40, 3},
    {2026, 11, 4, 1793754546.084, 25, 0, 7, 8, 40, 4},
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
        const double sunrise = (*d->panchanga.sky.solar.sunrise - 2440587.5) * 86400.0;
        EXPECT_NEAR(sunrise, r.sunrise, kSunriseToleranceS) << when;
        worst = std::max(worst, std::fabs(sunrise - r.sunrise));
        EXPECT_EQ(d->tithi_day.tithi_at_sunrise, r.tithi) << when;
        const auto& skipped = d->tithi_day.skipped_tithis;
        EXPECT_EQ(skipped.empty() ? 0u : skipped.front(), r.skipped) << when;
        EXPECT_LE(skipped.size(), 1u) << when;
        const auto signed_month = [](const LunarMonth& m) {
            return static_cast<int>(m.index) * (m.adhika ? -1 : 1);
        };
        EXPECT_EQ(signed_month(d->panchanga.lunar.amanta), r.amanta) << when;
        EXPECT_EQ(signed_month(d->panchanga.lunar.purnimanta), r.purnimanta) << when;
        EXPECT_EQ(d->panchanga.lunar.samvatsara, r.samvatsara) << when;
        EXPECT_EQ(d->panchanga.lunar.ritu, r.ritu) << when;
    }
    std::printf("drik-panchanga at Delhi: worst sunrise difference %.3f s\n", worst);
}

// Yogini Ekadashi (21 June), Margashirsha Purnima (4 December) and Pausha Putrada Ekadashi
// (30 December) fell on days whose sunrise saw the tithi before, the Phalguna Amavasya (27
// February) likewise; the Pausha Amavasya of 19 December still stood at the next sunrise.
// Makara, Mesha and Karka sankrantis: 14 January, 14 April and 16 July 2025.
TEST(PanchangaCalendar, MarksSkippedAndRepeatedTithisAndSankrantisOf2025) {
    const auto year = compute_panchanga_calendar({2025, 1, 1}, {2025, 12, 31}, kDelhi,
                                                 "Asia/Kolkata", SunriseConvention::DiscCenter,
                                                 AyanamsaMode{}, true, Workers{}, {});
    ASSERT_TRUE(year);
    std::vector<std::string> marked, sankrantis;
    for (const PanchangaDay& d : *year) {
        const TithiDay& t = d.tithi_day;
        const std::string date = d.panchanga.sky.sunrise->local.substr(0, 10);
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
                                          AyanamsaMode{}, true, Workers{}, {});
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

// Asked from the calling thread alone, in one part or in several on worker threads.
TEST(PanchangaCalendar, StopsWhenAsked) {
    for (const uint32_t workers : {1u, 4u}) {
        int questions = 0;
        const Interrupted stop_at_third = [&] { return ++questions >= 3; };
        const auto stopped = compute_panchanga_calendar(
            {2025, 1, 1}, {2026, 12, 31}, kDelhi, "Asia/Kolkata", SunriseConvention::UpperLimb,
            AyanamsaMode{}, true, Workers{workers}, stop_at_third);
        ASSERT_FALSE(stopped);
        EXPECT_EQ(stopped.error(), ZodiakitError::interrupted());
        EXPECT_EQ(questions, 3);
    }
}

// Parts computed on threads meet without a seam: the days on either side of each boundary
// are those of one part, and so is the failure of a span that runs off the ephemeris.
TEST(PanchangaCalendar, PartsOnThreadsGiveTheSameDays) {
    const auto call = [](CivilDate from, CivilDate to, uint32_t workers) {
        return compute_panchanga_calendar(from, to, kTromso, "Europe/Oslo",
                                          SunriseConvention::UpperLimb, AyanamsaMode{}, false,
                                          Workers{workers}, {});
    };
    const auto one = call({2025, 3, 1}, {2025, 6, 30}, 1);
    const auto three = call({2025, 3, 1}, {2025, 6, 30}, 3);
    ASSERT_TRUE(one && three);
    ASSERT_EQ(one->size(), three->size());
    for (size_t i = 0; i < one->size(); ++i) {
        EXPECT_EQ(describe((*one)[i]), describe((*three)[i])) << i;
    }
    const auto off_one = call({3002, 6, 1}, {3003, 6, 1}, 1);
    const auto off_four = call({3002, 6, 1}, {3003, 6, 1}, 4);
    ASSERT_FALSE(off_one);
    ASSERT_FALSE(off_four);
    EXPECT_EQ(off_four.error(), off_one.error());
}

}  // namespace
}  // namespace zk
