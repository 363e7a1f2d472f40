// Local civil time in IANA zones. Transition instants come from the tz database's own
// source files (Kathmandu moved from +05:30 to +05:45 on 1986-01-01).
#include <gtest/gtest.h>

#include "time/timezone.hpp"

namespace zk {
namespace {

std::string utc_text(const Result<UtcDateTime>& r) {
    return r ? format_rfc3339_utc(*r) : "error: " + r.error().display();
}

TEST(Lookup, OnlyDatabaseNames) {
    EXPECT_TRUE(tz::lookup("America/Argentina/Buenos_Aires").has_value());
    for (const char* name : {"", "utc", " UTC", "/etc/localtime", "/usr/share/zoneinfo/UTC", "../x",
                             "Asia/../UTC", "./UTC", "file:UTC", "localtime", "zone.tab"}) {
        EXPECT_FALSE(tz::lookup(name).has_value()) << name;
    }
    EXPECT_FALSE(tz::lookup(std::string("UTC\0x", 5)).has_value());
}

TEST(LocalToUtc, OffsetChangesAndErrorOrder) {
    EXPECT_EQ(utc_text(tz::local_to_utc(2000, 1, 1, 5, 45, 0, "Asia/Kathmandu")),
              "2000-01-01T00:00:00+00:00");
    EXPECT_EQ(utc_text(tz::local_to_utc(1980, 1, 1, 5, 30, 0, "Asia/Kathmandu")),
              "1980-01-01T00:00:00+00:00");
    // Gaps and folds are checked against Python's zoneinfo around every transition
    // (test_foundation.py).
    EXPECT_EQ(utc_text(tz::local_to_utc(2023, 2, 29, 25, 0, 0, "Nowhere/City")),
              "error: Unknown timezone: Nowhere/City");
    EXPECT_EQ(utc_text(tz::local_to_utc(2023, 2, 29, 25, 0, 0, "UTC")), "error: Invalid date");
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 1, 1, UINT32_MAX, 0, 0, "UTC")),
              "error: Invalid time");
    // A local reading whose UTC instant falls outside the representable years.
    EXPECT_EQ(utc_text(tz::local_to_utc(kMinYear, 1, 1, 0, 0, 0, "Etc/GMT-5")),
              "error: Invalid date");
}

TEST(FormatLocal, OffsetsOfEverySign) {
    const UtcDateTime t = *make_utc(2000, 1, 1, 0, 0, 0);
    EXPECT_EQ(tz::format_local(t, *tz::lookup("Asia/Kathmandu")), "2000-01-01T05:45:00+05:45");
    EXPECT_EQ(tz::format_local(t, *tz::lookup("UTC")), "2000-01-01T00:00:00+00:00");
    EXPECT_EQ(tz::format_local(t, *tz::lookup("America/St_Johns")), "1999-12-31T20:30:00-03:30");
    // Local mean time before standard zones: Kathmandu kept +05:41:16, written to the minute.
    EXPECT_EQ(tz::format_local(*make_utc(1900, 1, 1, 0, 0, 0), *tz::lookup("Asia/Kathmandu")),
              "1900-01-01T05:41:16+05:41");
}

}  // namespace
}  // namespace zk
