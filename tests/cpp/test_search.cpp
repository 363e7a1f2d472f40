#include <gtest/gtest.h>

#include "calc/search_support.hpp"
#include "calc/time_windows.hpp"

namespace zk {
namespace {

// ---------------------------------------------------------------- date texts

TEST(InstantText, AcceptsTheThreeFormsAndConvertsOffsetsToUtc) {
    const struct {
        const char* text;
        UtcDateTime utc;
    } cases[] = {
        {"2024-03-01T10:30:00+05:45", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01T10:30:00Z", {2024, 3, 1, 10, 30, 0}},
        {"2024-03-01t10:30:00z", {2024, 3, 1, 10, 30, 0}},
        {"2024-03-01T00:30:00-01:00", {2024, 3, 1, 1, 30, 0}},
        {"2024-03-01T00:10:00+00:30", {2024, 2, 29, 23, 40, 0}},
        {"2024-03-01T10:30:59.999+00:00", {2024, 3, 1, 10, 30, 59}},
        {"2024-03-01 10:30:00+0545", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01", {2024, 3, 1, 0, 0, 0}},
        {"0001-01-01", {1, 1, 1, 0, 0, 0}},
        {"9999-12-31T23:59:59-23:59", {10000, 1, 1, 23, 58, 59}},
    };
    for (const auto& c : cases) {
        const auto parsed = parse_instant_text(c.text);
        ASSERT_TRUE(parsed) << c.text << ": " << parsed.error();
        EXPECT_EQ(*parsed, c.utc) << c.text;
    }
}

TEST(InstantText, ExplainsWhyTheBareDateDidNotFit) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "premature end of input"},
        {"2024-03", "premature end of input"},
        {"2024-3-01", "invalid characters"},
        {"yesterday", "invalid characters"},
        {"2024-02-30", "input is out of range"},
        {"2024-13-01", "input is out of range"},
        // Neither a complete RFC 3339 text nor a bare date.
        {"2024-03-01T10:30:00", "trailing input"},
        {"2024-03-01T25:00:00Z", "trailing input"},
        {"2024-03-01 10:30:00+05:45", "trailing input"},
    };
    for (const auto& c : cases) {
        const auto parsed = parse_instant_text(c.text);
        ASSERT_FALSE(parsed) << c.text;
        EXPECT_EQ(parsed.error(), "Invalid date '" + std::string(c.text) + "': " + c.reason);
    }
}

// ---------------------------------------------------------------- window scan

const Interrupted kNever = [] { return false; };

std::vector<SecondsWindow> scan(int64_t start, int64_t end,
                                const std::function<bool(int64_t)>& holds) {
    InterruptPoll poll(kNever, 1);
    auto windows = scan_windows(start, end, holds, poll);
    EXPECT_TRUE(windows);
    return windows.value_or(std::vector<SecondsWindow>{});
}

TEST(WindowScan, FindsEachChangeAtItsFirstSecond) {
    const auto holds = [](int64_t t) { return (t >= 1234 && t < 2000) || t >= 5001; };
    EXPECT_EQ(scan(0, 6000, holds), (std::vector<SecondsWindow>{{1234, 2000}, {5001, 6000}}));
    // A change at the second right after a sample, and right at a sample.
    EXPECT_EQ(scan(0, 900, [](int64_t t) { return t >= 301; }),
              (std::vector<SecondsWindow>{{301, 900}}));
    EXPECT_EQ(scan(0, 900, [](int64_t t) { return t < 600; }),
              (std::vector<SecondsWindow>{{0, 600}}));
}

TEST(WindowScan, SpanEdges) {
    const auto always = [](int64_t) { return true; };
    // The span's end is closed even when it is not a sample point.
    EXPECT_EQ(scan(100, 1000, always), (std::vector<SecondsWindow>{{100, 1000}}));
    EXPECT_EQ(scan(100, 100, always), (std::vector<SecondsWindow>{{100, 100}}));
    EXPECT_TRUE(scan(100, 100, [](int64_t) { return false; }).empty());
    EXPECT_TRUE(scan(101, 100, always).empty());
    // A change after the last sample, between it and the span's end, is not seen.
    EXPECT_EQ(scan(0, 500, [](int64_t t) { return t < 400; }),
              (std::vector<SecondsWindow>{{0, 500}}));
}

TEST(WindowScan, ABlipBetweenTwoSamplesGoesUnseen) {
    EXPECT_TRUE(scan(0, 3000, [](int64_t t) { return t > 1210 && t < 1490; }).empty());
}

TEST(WindowScan, StopsWhenInterruptedAndCountsEveryEvaluation) {
    int asked = 0;
    const Interrupted stop_on_third = [&] { return ++asked == 3; };
    InterruptPoll poll(stop_on_third, 10);
    int64_t evaluations = 0;
    const auto holds = [&](int64_t) {
        ++evaluations;
        return false;
    };
    EXPECT_FALSE(scan_windows(0, 300 * 1000, holds, poll));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(evaluations, 30);
}

}  // namespace
}  // namespace zk
