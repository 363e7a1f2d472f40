// The weekday tables are the classical ones as published panchangas print them. Rahu
// kalam, Yamaganda and Gulika kalam: the table "Rahu Kalam, Yama Gandam, Guligai Kalam" of
// https://spiritofchennai.com/city/rahu-kalam-yama-gandam/ (6:00 sunrise, 18:00 sunset;
// Rahu kalam Sun..Sat in the 8th, 2nd, 7th, 5th, 6th, 4th, 3rd eighth), which agrees with
// http://divineastro.in/rahu-kalam-actual-timing/. Dur muhurtas and Abhijit: the daily
// entries of drikpanchang.com for 2023 as published in the repository
// Prashanthmn166/hamara-calendar (calendar.js). There, the week of 2023-01-01 (sunrise
// about 06:46, sunset about 17:22) has its Rahu kalam, Yamaganda and Gulika kalam in the
// eighths of the tables below, Abhijit in the 8th muhurta (11:42-12:24 on Sunday) and the
// dur muhurtas: Sunday 15:57-16:39 (the 14th muhurta), Monday the 9th and 12th, Tuesday
// 08:53-09:35 (4th) and 22:44-23:38 (the night's 7th), Wednesday the 8th, Thursday the 6th
// and 12th, Friday the 4th and 9th, Saturday 06:46-07:29 and 07:29-08:12 (1st and 2nd).
#include "panchanga/day_divisions.hpp"

namespace zk {
namespace {

constexpr double kEighths = 8.0;
constexpr double kMuhurtasPerHalf = 15.0;

DaySpan span_of(double start_jd, double end_jd, const cctz::time_zone& zone) {
    return DaySpan{day_time(start_jd, zone), day_time(end_jd, zone)};
}

// Part `number` (1-based) of `parts` equal parts of [from, to].
DaySpan part_of(double from, double to, double parts, uint32_t number,
                const cctz::time_zone& zone) {
    const double length = (to - from) / parts;
    return span_of(from + length * (number - 1), from + length * number, zone);
}

std::vector<DaySpan> dur_muhurtas(unsigned weekday, double sunrise, double sunset,
                                  std::optional<double> next_sunrise, const cctz::time_zone& zone) {
    std::vector<DaySpan> out;
    for (uint32_t muhurta : kDurMuhurtas[weekday]) {
        if (muhurta == 0) continue;
        if (muhurta <= kMuhurtasPerHalf) {
            out.push_back(part_of(sunrise, sunset, kMuhurtasPerHalf, muhurta, zone));
        } else if (next_sunrise) {
            out.push_back(part_of(sunset, *next_sunrise, kMuhurtasPerHalf, muhurta - 15, zone));
        }
    }
    return out;
}

}  // namespace

DayDivisions compute_day_divisions(unsigned weekday, const SolarDay& solar,
                                   const cctz::time_zone& zone) {
    DayDivisions d;
    if (weekday > 6) throw InvariantFailure("weekday out of range");
    if (!solar.sunrise || !solar.sunset) return d;
    const double rise = *solar.sunrise;
    const double set = *solar.sunset;
    d.rahu_kalam = part_of(rise, set, kEighths, kRahuKalamEighth[weekday], zone);
    d.yamaganda = part_of(rise, set, kEighths, kYamagandaEighth[weekday], zone);
    d.gulika_kalam = part_of(rise, set, kEighths, kGulikaKalamEighth[weekday], zone);
    d.abhijit_muhurta = part_of(rise, set, kMuhurtasPerHalf, kAbhijitMuhurta, zone);
    d.dur_muhurtas = dur_muhurtas(weekday, rise, set, solar.next_sunrise, zone);
    return d;
}

}  // namespace zk
