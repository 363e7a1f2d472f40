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

TEST(ElementInterval, ConstantElementFailsAtTheStartBoundaryFirst) {
    int calls = 0;
    auto r = find_element_interval(
        [&](double) -> Result<uint32_t> {
            ++calls;
            return 7u;
        },
        kJd);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().display(),
              "Computation error: find_element_interval: failed to find start boundary "
              "(exceeded max backwards search)");
    EXPECT_EQ(calls, 1 + 33);  // jd, then jd - 3 ... jd - 99
}

TEST(ElementInterval, ElementThatNeverEndsFailsAtTheEndBoundary) {
    auto r = find_element_interval(
        [](double t) -> Result<uint32_t> { return t < kJd - 1.0 ? 1u : 2u; }, kJd);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error(), ZodiakitError::computation(
                             "find_element_interval: failed to find end boundary (exceeded "
                             "max forwards search)"));
}

struct StepCase {
    const char* what;
    double epoch;
    double period;
    uint32_t count;
};

class KnownChangePoints : public ::testing::TestWithParam<StepCase> {};

TEST_P(KnownChangePoints, AreFoundWithinAMicroday) {
    const StepCase& c = GetParam();
    for (double jd : {kJd, kJd + 0.37, kJd + 1.9}) {
        const double k = std::floor((jd - c.epoch) / c.period);
        const double expected_start = c.epoch + k * c.period;
        auto r = find_element_interval(cycling(c.epoch, c.period, c.count), jd);
        ASSERT_TRUE(r) << c.what;
        EXPECT_NEAR(r->start_jd, expected_start, kToleranceDays) << c.what << " at " << jd;
        EXPECT_NEAR(r->end_jd, expected_start + c.period, kToleranceDays) << c.what;
        EXPECT_LE(r->start_jd, jd);
        EXPECT_GE(r->end_jd, jd);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Panchanga, KnownChangePoints,
    ::testing::Values(
        // Half-day elements: each 3-day step jumps over about six of them.
        StepCase{"karana-like", 2459990.1, 0.49, 60},
        StepCase{"tithi-like", 2459990.3, 0.98, 30},
        // Longer than a coarse step, so the bracket needs several steps on each side.
        StepCase{"long", 2459990.0, 13.7, 5}));

TEST(ElementInterval, InstantOnABoundaryBelongsToTheElementThatBegins) {
    const double epoch = kJd - 0.5;
    auto r = find_element_interval(cycling(epoch, 0.5, 60), kJd);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->start_jd, kJd, kToleranceDays);
    EXPECT_NEAR(r->end_jd, kJd + 0.5, kToleranceDays);
}

TEST(ElementInterval, EphemerisErrorEndsTheSearchUnchanged) {
    const ZodiakitError failure = ZodiakitError::swe("Moon", "file not found");
    int calls = 0;
    auto r = find_element_interval(
        [&](double t) -> Result<uint32_t> {
            ++calls;
            if (t > kJd) return std::unexpected(failure);
            return t < kJd - 1.0 ? 1u : 2u;
        },
        kJd);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error(), failure);
    EXPECT_EQ(calls, 1 + 1 + 40 + 1);  // jd, one step back, the start bisection, jd + 3
}

// The number of evaluations follows from where the element begins and ends, which is how
// the benchmark counts ephemeris calls from a panchanga's output.
TEST(ElementInterval, EvaluationCountFollowsFromTheBounds) {
    const double epoch = 2459990.3, period = 8.2;
    int calls = 0;
    auto f = cycling(epoch, period, 30);
    auto r = find_element_interval(
        [&](double t) {
            ++calls;
            return f(t);
        },
        kJd);
    ASSERT_TRUE(r);
    const int back = static_cast<int>(std::floor((kJd - r->start_jd) / 3.0)) + 1;
    const int forward = static_cast<int>(std::floor((r->end_jd - kJd) / 3.0)) + 1;
    EXPECT_EQ(calls, 1 + back + 40 + forward + 40);
}

}  // namespace
}  // namespace zk
