// Element arithmetic and names, and the boundary search against stub element functions whose
// change points are known: pure functions, no ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "panchanga/elements.hpp"
#include "panchanga/interval.hpp"
#include "panchanga/locale.hpp"

namespace zk {
namespace {

TEST(PanchangaElements, TithiKaranaYogaNakshatraAndPada) {
    // The Moon's lead over the Sun of 0, 179.9, 180 and 330 degrees, and a hair behind the
    // Sun, where the wrapped difference must stay below 360 rather than reach it.
    for (auto [moon, sun, tithi, karana] : {std::tuple{100.0, 100.0, 1u, 1u},
                                            {279.9, 100.0, 15u, 30u},
                                            {10.0, 190.0, 16u, 31u},
                                            {70.0, 100.0, 28u, 56u},
                                            {100.0, 100.00000000000001, 30u, 60u}}) {
        EXPECT_EQ(tithi_number(moon, sun), tithi) << moon << " " << sun;
        EXPECT_EQ(karana_number(moon, sun), karana) << moon << " " << sun;
    }
    EXPECT_EQ(karana_name(1), "Kimstughna");
    EXPECT_EQ(karana_name(57), "Vishti");  // the last of the movable karanas
    EXPECT_EQ(karana_name(60), "Naga");
    EXPECT_EQ(tithi_name(16), "Pratipada");
    EXPECT_EQ(paksha_name(16), "Krishna");

    EXPECT_EQ(yoga_number(200.0, 170.0), 1u);  // 370 wraps to 10
    EXPECT_EQ(nakshatra_number(13.333333333333334), 2u);
    EXPECT_EQ(nakshatra_pada(13.333333333333334), 1u);
    for (double last : {359.99, std::nextafter(360.0, 0.0)}) {
        EXPECT_EQ(nakshatra_number(last), 27u);
        EXPECT_EQ(nakshatra_pada(last), 4u);
    }
}

TEST(PanchangaElements, LocalisedNamesFollowTheEnglishTables) {
    const LocaleData* hindi = get_locale("hi_IN");
    ASSERT_NE(hindi, nullptr);
    ASSERT_EQ(hindi->tithi_names.size(), 16u);
    // Krishna Pratipada shares Shukla Pratipada's entry; Amavasya has the last one.
    EXPECT_EQ(tithi_name(16, hindi), hindi->tithi_names[0]);
    EXPECT_EQ(tithi_name(30, hindi), hindi->tithi_names[15]);
    EXPECT_EQ(tithi_name(30, nullptr), "Amavasya");
    for (uint32_t n : {1u, 11u, 27u}) {
        EXPECT_EQ(panchanga_nakshatra_name(n, get_locale("ne_NP")),
                  get_locale("ne_NP")->nakshatra_names[n - 1]);
    }
    // A locale without an entry falls back to the English name.
    const LocaleData partial{{"x"}, {}, {}, {}};
    EXPECT_EQ(tithi_name(2, &partial), "Dwitiya");
    EXPECT_EQ(tithi_name(1, &partial), "x");
    EXPECT_EQ(panchanga_nakshatra_name(11, &partial), "Purva Phalguni");
    EXPECT_THROW(tithi_name(31, hindi), InvariantFailure);
}

constexpr double kJd = 2460000.25;

TEST(ElementInterval, ConstantElementHasNoStartAndFailuresPassThrough) {
    auto constant = find_element_interval([](double) -> Result<uint32_t> { return 7u; }, kJd);
    ASSERT_FALSE(constant);
    EXPECT_EQ(constant.error().display(),
              "Computation error: find_element_interval: failed to find start boundary "
              "(exceeded max backwards search)");
    // An ephemeris failure part-way through the search is the search's failure, unchanged.
    const ZodiakitError failure = ZodiakitError::swe("Moon", "file damaged");
    auto failing = find_element_interval(
        [&](double t) -> Result<uint32_t> {
            if (t > kJd + 4.0) return std::unexpected(failure);
            return t < kJd - 1.0 ? 1u : 2u;
        },
        kJd);
    ASSERT_FALSE(failing);
    EXPECT_EQ(failing.error(), failure);
}

TEST(ElementInterval, KnownChangePointsAreFoundWithinAMicroday) {
    // Half-day elements, where each 3-day step jumps over about six of them; month-like
    // ones; and elements longer than a step, which need several steps each way.
    for (auto [epoch, period, count] :
         {std::tuple{2459990.1, 0.49, 60.0}, {2459990.3, 0.98, 30.0}, {2459990.0, 13.7, 5.0}}) {
        const auto cycling = [=](double t) -> Result<uint32_t> {
            const double k = std::floor((t - epoch) / period);
            return static_cast<uint32_t>(std::fmod(std::fmod(k, count) + count, count)) + 1;
        };
        // The last instant lies exactly on a boundary: it belongs to the element that begins.
        for (double jd : {kJd, kJd + 1.9, epoch + 10 * period}) {
            SCOPED_TRACE(testing::Message() << "period " << period << " at " << jd);
            const double start = epoch + std::floor((jd - epoch) / period) * period;
            auto r = find_element_interval(cycling, jd);
            ASSERT_TRUE(r);
            EXPECT_NEAR(r->start_jd, start, 1e-6);
            EXPECT_NEAR(r->end_jd, start + period, 1e-6);
        }
    }
}

}  // namespace
}  // namespace zk
