// The classical divisions of the daytime (sunrise to sunset in the chosen convention):
// Rahu kalam, Yamaganda and Gulika kalam, each one eighth of the daytime chosen by the
// weekday; Abhijit muhurta, the 8th of the 15 daytime muhurtas; and the dur muhurtas of the
// weekday, daytime muhurtas except Tuesday's second, which is the 7th of the 15 night
// muhurtas (sunset to the next sunrise). On a day without sunrise or sunset every division
// is none; Tuesday's night dur muhurta is left out when the night has no end (no next
// sunrise). Abhijit is given for every weekday; drik-style panchangas print none on
// Wednesdays.
#pragma once

#include <cctz/time_zone.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "panchanga/sky_times.hpp"

namespace zk {

struct DayDivisions {
    std::optional<DaySpan> rahu_kalam;
    std::optional<DaySpan> yamaganda;
    std::optional<DaySpan> gulika_kalam;
    std::optional<DaySpan> abhijit_muhurta;
    std::optional<std::vector<DaySpan>> dur_muhurtas;  // in time order; two on most weekdays

    friend bool operator==(const DayDivisions&, const DayDivisions&) = default;
};

// Which eighth of the daytime (1..8) each period takes, Sunday first.
inline constexpr std::array<uint32_t, 7> kRahuKalamEighth = {8, 2, 7, 5, 6, 4, 3};
inline constexpr std::array<uint32_t, 7> kYamagandaEighth = {5, 4, 3, 2, 1, 7, 6};
inline constexpr std::array<uint32_t, 7> kGulikaKalamEighth = {7, 6, 5, 4, 3, 2, 1};

// The dur muhurtas of a weekday as muhurtas of the whole day, 1..15 from sunrise and
// 16..30 from sunset (the night's 7th is 22); 0 marks an unused slot.
inline constexpr std::array<std::array<uint32_t, 2>, 7> kDurMuhurtas = {
    {{14, 0}, {9, 12}, {4, 22}, {8, 0}, {6, 12}, {4, 9}, {1, 2}}};

inline constexpr uint32_t kAbhijitMuhurta = 8;

// weekday: 0 = Sunday. The times are rounded to the second only after dividing.
DayDivisions compute_day_divisions(unsigned weekday, const SolarDay& solar,
                                   const cctz::time_zone& zone);

}  // namespace zk
