#include <gtest/gtest.h>

#include <tuple>

#include "time/instant_text.hpp"

namespace zk {
namespace {

TEST(InstantText, AcceptsTheThreeFormsAndConvertsOffsetsToUtc) {
    const std::pair<const char*, UtcDateTime> cases[] = {
        {"2024-03-01T10:30:00+05:45", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01T00:10:00+00:30", {2024, 2, 29, 23, 40, 0}},
        {"2024-03-01 10:30:00+0545", {2024, 3, 1, 4, 45, 0}},
        {"2024-03-01", {2024, 3, 1, 0, 0, 0}},
        {"9999-12-31T23:59:59-23:59", {10000, 1, 1, 23, 58, 59}},
    };
    for (const auto& [text, utc] : cases) {
        const auto parsed = parse_instant_text(text);
        ASSERT_TRUE(parsed) << text << ": " << parsed.error();
        EXPECT_EQ(*parsed, utc) << text;
    }
    const auto bad = parse_instant_text("2024-03-01T10:30:00");  // neither form
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error(), "Invalid date '2024-03-01T10:30:00': trailing input");
}

}  // namespace
}  // namespace zk
