// The local-day panchanga against the real sky.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "core/datetime.hpp"
#include "panchanga/local_day.hpp"

namespace zk {
namespace {

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

// Five hours before each phase the tithi that it ends is current: Purnima (15) ends at the
// full moon and Amavasya (30) at the new moon, each within two minutes.
TEST(PanchangaAstronomy, TithisEndAtThePublishedMoonPhasesOf2024) {
    int64_t worst = 0;
    for (auto [phases, tithi] : {std::pair{std::span<const Phase>(kFullMoons2024), 15u},
                                 std::pair{std::span<const Phase>(kNewMoons2024), 30u}}) {
        for (const Phase& ph : phases) {
            const UtcDateTime published = *make_utc(2024, ph.month, ph.day, ph.hour, ph.minute, 0);
            const auto p = compute_panchanga_local(
                *from_unix_seconds(to_unix_seconds(published) - 5 * 3600), {28.6139, 77.2090, 0.0},
                "UTC", PanchangaMode::CivilDay, AyanamsaMode{}, true);
            ASSERT_TRUE(p) << p.error().display();
            const int64_t error =
                std::llabs(to_unix_seconds(p->tithi.end_time_utc) - to_unix_seconds(published));
            EXPECT_EQ(p->tithi.index, tithi) << format_rfc3339_utc(published);
            EXPECT_LE(error, 120) << "tithi " << tithi << ", published "
                                  << format_rfc3339_utc(published);
            worst = std::max(worst, error);
        }
    }
    std::printf("moon phases 2024: worst error %lld s\n", static_cast<long long>(worst));
}

}  // namespace
}  // namespace zk
