// Date texts of the searches, and the scanning helper behind the transits, time windows and
// element intervals, run against stub functions whose edges are known.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

#include "search/scan.hpp"
#include "search/time_windows.hpp"
#include "search/transits.hpp"
#include "time/instant_text.hpp"

namespace zk {
namespace {

TEST(InstantText, AcceptsTheThreeFormsAndConvertsOffsetsToUtc) {
    const std::pair<const char*, UtcDateTime> cases[] = {
        {"2024-03-01T10:30:00+05:45", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01T00:10:00+00:30", {2024, 2, 29, 23, 40, 0}},
        {"2024-03-01 10:30:00+0545", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01 10:30:00.5+05:45", {2024, 3, 1, 4, 45, 0}},  // RFC 3339 with a space
        {"2024-03-01t10:30:00.25z", {2024, 3, 1, 10, 30, 0}},
        {"2024-03-01", {2024, 3, 1, 0, 0, 0}},
        {"9999-12-31T23:59:59-23:59", {10000, 1, 1, 23, 58, 59}},
    };
    for (const auto& [text, utc] : cases) {
        const auto parsed = parse_instant_text(text);
        ASSERT_TRUE(parsed) << text << ": " << parsed.error().display();
        EXPECT_EQ(*parsed, utc) << text;
    }
    // The reason given is always the bare-date form's.
    for (const char* text : {"2024-03-01T10:30:00", "2024-03-01 10:30:00.5+0545"}) {
        const auto bad = parse_instant_text(text);
        ASSERT_FALSE(bad);
        EXPECT_EQ(bad.error().display(),
                  "Invalid date '" + std::string(text) + "': trailing input");
    }
    EXPECT_EQ(parse_instant_text("2024-3-1").error().display(),
              "Invalid date '2024-3-1': invalid characters");
}

// An interrupt check that counts how often it was asked and answers `stop`.
struct CountingCheck {
    bool stop = true;
    int asked = 0;
    Interrupted check = [this] {
        ++asked;
        return stop;
    };
};

TEST(FindEdge, JulianDaysHalveFromEitherSide) {
    const double edge = 2460000.3;
    InterruptPoll poll;
    // The kept end after the edge, as the transits bracket it, and before it, as the
    // element intervals do.
    const auto after_edge = [&](double t) -> Result<bool> { return t >= edge; };
    auto found = find_edge(after_edge, Bracket<double>{2460001.0, 2460000.0}, 40, poll);
    ASSERT_TRUE(found);
    EXPECT_NEAR(*found, edge, 1e-9);
    const auto before_edge = [&](double t) -> Result<bool> { return t < edge; };
    found = find_edge(before_edge, Bracket<double>{2460000.0, 2460003.0}, 40, poll);
    ASSERT_TRUE(found);
    EXPECT_NEAR(*found, edge, 3e-9);
    // Without rounds the answer is the middle of the bracket, untested.
    EXPECT_EQ(*find_edge(before_edge, Bracket<double>{1.0, 2.0}, 0, poll), 1.5);

    const ZodiakitError failure = ZodiakitError::swe("Moon", "file damaged");
    const auto failing = [&](double) -> Result<bool> { return std::unexpected(failure); };
    EXPECT_EQ(find_edge(failing, Bracket<double>{0.0, 1.0}, 40, poll).error(), failure);

    // Halved until the ends are adjacent doubles, which lie about 5e-10 days apart here.
    EXPECT_NEAR(*halve_to_adjacent(before_edge, 2460000.0, 2460003.0), edge, 1e-9);
    EXPECT_EQ(halve_to_adjacent(failing, 0.0, 1.0).error(), failure);
}

TEST(FindEdge, WholeSecondsEndOnTheFirstSecondOfTheNewValue) {
    InterruptPoll poll;
    for (int64_t edge : {1, 137, 299, 300}) {
        int calls = 0;
        const auto before_edge = [&](int64_t t) -> Result<bool> {
            ++calls;
            return t < edge;
        };
        auto found = find_edge(before_edge, Bracket<int64_t>{0, 300}, 64, poll);
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, edge);
        EXPECT_LE(calls, 9) << edge;  // 2^9 > 300: the halving stops at adjacent seconds
    }
}

TEST(ScanChanges, ReportsEachChangeAndAsksThePollAfterHandlingIt) {
    // Samples 1..5 after the start 0, whose value is 0.
    const std::vector<int> values = {0, 0, 0, 1, 1, 2};
    const auto value_at = [&](int64_t t) -> Result<int> { return values[t]; };
    const auto next_after = [&](int64_t t) -> std::optional<int64_t> {
        if (t + 1 >= static_cast<int64_t>(values.size())) return std::nullopt;
        return t + 1;
    };
    using Seen = std::vector<std::tuple<int64_t, int64_t, int, int>>;
    Seen seen;
    AfterChange then = AfterChange::Continue;
    const auto record = [&](const Change<int64_t, int>& c) -> Result<AfterChange> {
        seen.emplace_back(c.before, c.after, c.from, c.to);
        return then;
    };
    InterruptPoll never;
    ASSERT_TRUE(scan_changes(value_at, int64_t{0}, 0, next_after, record, never));
    EXPECT_EQ(seen, (Seen{{2, 3, 0, 1}, {4, 5, 1, 2}}));

    // Three calls make the poll ask, at the change, which is still reported.
    seen.clear();
    CountingCheck stop;
    InterruptPoll poll(stop.check, 3);
    const auto stopped = scan_changes(value_at, int64_t{0}, 0, next_after, record, poll);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().kind, ZodiakitError::Kind::Interrupted);
    EXPECT_EQ(stop.asked, 1);
    EXPECT_EQ(seen, (Seen{{2, 3, 0, 1}}));

    // A handler that stops the scan ends it before the poll is asked.
    seen.clear();
    then = AfterChange::Stop;
    CountingCheck go_on{.stop = false};
    InterruptPoll eager(go_on.check, 1);
    ASSERT_TRUE(scan_changes(value_at, int64_t{0}, 0, next_after, record, eager));
    EXPECT_EQ(seen, (Seen{{2, 3, 0, 1}}));
    EXPECT_EQ(go_on.asked, 2);  // after the samples 1 and 2 only
}

TEST(ScanWindows, WindowsCloseOnTheirFirstSecondOutside) {
    const auto holds = [](int64_t t) {
        return (t >= 1000 && t < 2000) || (t >= 3010 && t < 3100) || t < 100 || t >= 5000;
    };
    InterruptPoll never;
    // The window at the start opens there, the last closes at the end, and the one that
    // lies between two samples (3000 and 3300) goes unseen.
    EXPECT_EQ(*scan_windows(0, 6000, holds, never),
              (std::vector<SecondsWindow>{{0, 100}, {1000, 2000}, {5000, 6000}}));
    EXPECT_EQ(*scan_windows(5000, 5000, holds, never), (std::vector<SecondsWindow>{{5000, 5000}}));
    EXPECT_TRUE(scan_windows(1, 0, holds, never)->empty());
}

TEST(Searches, StopWhenTheCallerAsks) {
    CountingCheck stop;
    // Ten days of transits stay below the calls between two questions; ten years do not.
    const auto days = get_transits({2024, 1, 1}, {2024, 1, 11}, AyanamsaMode{}, true, stop.check);
    ASSERT_TRUE(days);
    EXPECT_FALSE(days->empty());
    EXPECT_EQ(stop.asked, 0);
    const auto year = get_transits({2024, 1, 1}, {2034, 1, 1}, AyanamsaMode{}, true, stop.check);
    ASSERT_FALSE(year);
    EXPECT_EQ(year.error().kind, ZodiakitError::Kind::Interrupted);
    EXPECT_EQ(stop.asked, 1);

    const GeoLocation kathmandu{27.7, 85.3, 0.0};
    const auto windows = find_time_windows({2024, 1, 15}, 3 * 24 * 60, 9, "leo", kathmandu,
                                           AyanamsaMode{}, stop.check);
    ASSERT_FALSE(windows);
    EXPECT_EQ(windows.error().kind, ZodiakitError::Kind::Interrupted);
}

}  // namespace
}  // namespace zk
