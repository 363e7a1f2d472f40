// The boundary search against stub element functions whose change points are known.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/panchanga/interval.hpp"

namespace zk {
namespace {

constexpr double kJd = 2460000.25;
constexpr double kToleranceDays = 1e-6;

// Numbers cycling 1..count, advancing every `period` days from `epoch`.
ElementFunction cycling(double epoch, double period, uint32_t count) {
    return [=](double t) -> Result<uint32_t> {
        const double k = std::floor((t - epoch) / period);
        return static_cast<uint32_t>(std::fmod(std::fmod(k, count) + count, count)) + 1;
    };
}

TEST(ElementInterval, SearchLimitsAndTheirMessages) {
    int calls = 0;
    auto constant =
        find_element_interval([&](double) -> Result<uint32_t> { return ++calls, 7u; }, kJd);
    ASSERT_FALSE(constant);
    EXPECT_EQ(constant.error().display(),
              "Computation error: find_element_interval: failed to find start boundary "
              "(exceeded max backwards search)");
    EXPECT_EQ(calls, 1 + 33);  // jd, then jd - 3 ... jd - 99

    auto endless = find_element_interval(
        [](double t) -> Result<uint32_t> { return t < kJd - 1.0 ? 1u : 2u; }, kJd);
    ASSERT_FALSE(endless);
    EXPECT_EQ(endless.error(),
              ZodiakitError::computation("find_element_interval: failed to find end boundary "
                                         "(exceeded max forwards search)"));
}

TEST(ElementInterval, KnownChangePointsAreFoundWithinAMicroday) {
    struct Case {
        double epoch, period;
        uint32_t count;
    };
    // Half-day elements, where each 3-day step jumps over about six of them; month-like
    // ones; and elements longer than a step, which need several steps each way.
    for (const Case c :
         {Case{2459990.1, 0.49, 60}, Case{2459990.3, 0.98, 30}, Case{2459990.0, 13.7, 5}}) {
        // The last instant lies exactly on a boundary: it belongs to the element that begins.
        for (double jd : {kJd, kJd + 1.9, c.epoch + 10 * c.period}) {
            SCOPED_TRACE(testing::Message() << "period " << c.period << " at " << jd);
            const double start = c.epoch + std::floor((jd - c.epoch) / c.period) * c.period;
            auto r = find_element_interval(cycling(c.epoch, c.period, c.count), jd);
            ASSERT_TRUE(r);
            EXPECT_NEAR(r->start_jd, start, kToleranceDays);
            EXPECT_NEAR(r->end_jd, start + c.period, kToleranceDays);
        }
    }
}

TEST(ElementInterval, EphemerisErrorEndsTheSearchUnchanged) {
    const ZodiakitError failure = ZodiakitError::swe("Moon", "file not found");
    auto r = find_element_interval(
        [&](double t) -> Result<uint32_t> {
            if (t > kJd) return std::unexpected(failure);
            return t < kJd - 1.0 ? 1u : 2u;
        },
        kJd);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error(), failure);
}

// The number of evaluations follows from where the element begins and ends; the benchmark
// counts a panchanga's ephemeris calls this way.
TEST(ElementInterval, EvaluationCountFollowsFromTheBounds) {
    int calls = 0;
    auto f = cycling(2459990.3, 8.2, 30);
    auto r = find_element_interval([&](double t) { return ++calls, f(t); }, kJd);
    ASSERT_TRUE(r);
    const int back = static_cast<int>(std::floor((kJd - r->start_jd) / 3.0)) + 1;
    const int forward = static_cast<int>(std::floor((r->end_jd - kJd) / 3.0)) + 1;
    EXPECT_EQ(calls, 1 + back + 40 + forward + 40);
}

}  // namespace
}  // namespace zk
