// The lunar month and year of an instant, with the season, the Sun's half of the year and
// the signs of the Sun and the Moon, all from sidereal longitudes in the sidereal mode the
// caller selected.
//
// Months (masa). An amanta month runs from one new moon to the next and is named after the
// sign the Sun enters during it: the Sun's sign at its first new moon plus one (the Sun in
// Meena at the new moon begins Chaitra, in Mesha Vaishakha). A month without a sankranti
// (the Sun in one sign at both new moons) is adhika, a leap month, and shares the name of
// the month after it; a month with two sankrantis is kshaya (the name after its own is the
// one lost). The purnimanta month is the amanta month in the bright half (shukla paksha);
// in the dark half (krishna paksha) it is the next amanta month's name, not adhika, except
// during an adhika month, which keeps its name in both reckonings. The kshaya flag follows
// the named month.
//
// Years. The lunar year begins with the first month named Chaitra (an adhika Chaitra
// included). Shaka year = the Gregorian year in which it began - 78; Vikram (Chaitradi)
// year = Shaka + 135. The samvatsara is the sixty-year cycle counted with the Shaka year,
// (Shaka + 11) mod 60 + 1 (Shaka 1947, from March 2025, is Vishvavasu, the 39th), the
// name panchangas print for the year beginning at Ugadi.
//
// Season (ritu) by the amanta month, two months each from Chaitra (Vasanta). Ayana by the
// Sun's sidereal sign: Uttarayana from Makara to the end of Mithuna, else Dakshinayana.
#pragma once

#include <cstdint>
#include <string>

#include "core/error.hpp"
#include "panchanga/elements.hpp"

namespace zk {

struct LunarMonth {
    uint32_t index = 1;  // 1 Chaitra ... 12 Phalguna
    std::string name;
    bool adhika = false;
    bool kshaya = false;

    friend bool operator==(const LunarMonth&, const LunarMonth&) = default;
};

struct LunarCalendar {
    LunarMonth amanta;
    LunarMonth purnimanta;
    uint32_t samvatsara = 1;  // 1 Prabhava ... 60 Akshaya
    std::string samvatsara_name;
    int64_t shaka_year = 0;
    int64_t vikram_year = 0;
    uint32_t ritu = 1;  // 1 Vasanta ... 6 Shishira
    std::string ritu_name;
    uint32_t ayana = 1;  // 1 Uttarayana, 2 Dakshinayana
    std::string ayana_name;
    uint32_t sun_sign = 1;  // 1 Mesha ... 12 Meena, sidereal
    std::string sun_sign_name;
    uint32_t moon_sign = 1;
    std::string moon_sign_name;

    friend bool operator==(const LunarCalendar&, const LunarCalendar&) = default;
};

// The new moon at or before jd, and the first one after jd (Julian days, UT).
Result<double> new_moon_at_or_before(double jd_ut, bool true_nodes);
Result<double> new_moon_after(double jd_ut, bool true_nodes);

// The Sun's sidereal sign (1 Mesha ... 12 Meena) at an instant.
Result<uint32_t> sun_sign_at(double jd_ut, bool true_nodes);

// A lunation: from one new moon to the next, with the Sun's sidereal sign (1..12) at each.
struct Lunation {
    double start_jd = 0.0;
    double end_jd = 0.0;
    uint32_t start_sign = 1;
    uint32_t end_sign = 1;
};

// The lunation that begins at a new moon, and the one after a lunation (it reuses the Sun's
// sign at the new moon they share).
Result<Lunation> lunation_from(double new_moon_jd, bool true_nodes);
Result<Lunation> next_lunation(const Lunation& lunation, bool true_nodes);

// The lunation containing an instant and the one after it.
struct Lunations {
    Lunation current;
    Lunation next;
};
Result<Lunations> lunations_around(double jd_ut, bool true_nodes);

// The values at an instant inside `current`, whose successor is `next`; `now` holds the
// luminaries at that instant.
LunarCalendar lunar_calendar_from(const Lunation& current, const Lunation& next,
                                  const Luminaries& now);

// The whole computation for one instant.
Result<LunarCalendar> compute_lunar_calendar(double jd_ut, bool true_nodes);

}  // namespace zk
