// Local civil time in IANA zones. Transition instants come from the tz database's own
// source files (asia: Kathmandu moved from +05:30 to +05:45 on 1986-01-01; northamerica:
// New York springs forward 2024-03-10 02:00 and falls back 2024-11-03 02:00).
#include <gtest/gtest.h>

#include <tuple>

#include "util/timezone.hpp"

namespace zk {
namespace {

std::string utc_text(const std::expected<UtcDateTime, std::string>& r) {
    return r ? format_rfc3339_utc(*r) : "error: " + r.error();
}

TEST(Lookup, OnlyDatabaseNames) {
    for (const char* name : {"UTC", "Asia/Kathmandu", "America/New_York", "Etc/GMT+5",
                             "America/Argentina/Buenos_Aires"}) {
        EXPECT_TRUE(tz::lookup(name).has_value()) << name;
    }
    for (const char* name : {"", "utc", "Asia/Katmandu ", " UTC", "Mars/Olympus_Mons",
                             "/etc/localtime", "/usr/share/zoneinfo/UTC", "../x",
                             "Asia/../UTC", "Asia//Kathmandu", "./UTC", "Asia/", "file:UTC",
                             "file:/usr/share/zoneinfo/UTC", "localtime", "zone.tab"}) {
        EXPECT_FALSE(tz::lookup(name).has_value()) << name;
    }
    EXPECT_FALSE(tz::lookup(std::string("UTC\0x", 5)).has_value());
}

TEST(LocalToUtc, KathmanduAcrossItsOffsetChange) {
    EXPECT_EQ(utc_text(tz::local_to_utc(2000, 1, 1, 5, 45, 0, "Asia/Kathmandu")),
              "2000-01-01T00:00:00+00:00");
    EXPECT_EQ(utc_text(tz::local_to_utc(1980, 1, 1, 5, 30, 0, "Asia/Kathmandu")),
              "1980-01-01T00:00:00+00:00");
    // 1986-01-01 00:00 at +05:30 became 00:15 at +05:45: the quarter hour never happened.
    EXPECT_EQ(utc_text(tz::local_to_utc(1986, 1, 1, 0, 10, 0, "Asia/Kathmandu")),
              "error: Invalid local time in Asia/Kathmandu (DST gap)");
}

TEST(LocalToUtc, NewYorkGapAndFold) {
    const char* ny = "America/New_York";
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 3, 10, 2, 30, 0, ny)),
              "error: Invalid local time in America/New_York (DST gap)");
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 3, 10, 1, 59, 59, ny)), "2024-03-10T06:59:59+00:00");
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 3, 10, 3, 0, 0, ny)), "2024-03-10T07:00:00+00:00");
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 11, 3, 1, 30, 0, ny)),
              "error: Ambiguous local time in America/New_York. Provide UTC or an explicit DST "
              "fold policy.");
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 11, 3, 3, 30, 0, ny)), "2024-11-03T08:30:00+00:00");
    EXPECT_EQ(utc_text(tz::local_to_utc(2024, 11, 3, 0, 59, 59, ny)), "2024-11-03T04:59:59+00:00");
}

TEST(LocalToUtc, ChecksZoneThenDateThenTime) {
    EXPECT_EQ(utc_text(tz::local_to_utc(2023, 2, 29, 25, 0, 0, "Nowhere/City")),
              "error: Unknown timezone: Nowhere/City");
    EXPECT_EQ(utc_text(tz::local_to_utc(2023, 2, 29, 25, 0, 0, "UTC")), "error: Invalid date");
    for (auto [y, m, d] : {std::tuple{2023, 2u, 29u}, {2024, 13u, 1u}, {2024, 0u, 1u},
                           {2024, 4u, 31u}, {2024, 1u, 0u}, {1900, 2u, 29u}}) {
        EXPECT_EQ(utc_text(tz::local_to_utc(y, m, d, 0, 0, 0, "UTC")), "error: Invalid date");
    }
    EXPECT_EQ(utc_text(tz::local_to_utc(int64_t{kMaxYear} + 1, 1, 1, 0, 0, 0, "UTC")),
              "error: Invalid date");
    for (auto [h, mi, s] : {std::tuple{24u, 0u, 0u}, {12u, 60u, 0u}, {12u, 0u, 60u},
                            {UINT32_MAX, 0u, 0u}}) {
        EXPECT_EQ(utc_text(tz::local_to_utc(2024, 1, 1, h, mi, s, "UTC")), "error: Invalid time");
    }
    // A local reading whose UTC instant falls outside the representable years.
    EXPECT_EQ(utc_text(tz::local_to_utc(kMinYear, 1, 1, 0, 0, 0, "Etc/GMT-5")),
              "error: Invalid date");
}

TEST(FormatLocal, OffsetsOfEverySign) {
    const UtcDateTime t = *make_utc(2000, 1, 1, 0, 0, 0);
    EXPECT_EQ(tz::format_local(t, *tz::lookup("Asia/Kathmandu")), "2000-01-01T05:45:00+05:45");
    EXPECT_EQ(tz::format_local(t, *tz::lookup("UTC")), "2000-01-01T00:00:00+00:00");
    EXPECT_EQ(tz::format_local(t, *tz::lookup("America/New_York")), "1999-12-31T19:00:00-05:00");
    EXPECT_EQ(tz::format_local(t, *tz::lookup("America/St_Johns")), "1999-12-31T20:30:00-03:30");
    EXPECT_EQ(tz::format_local(t, *tz::lookup("Pacific/Kiritimati")), "2000-01-01T14:00:00+14:00");
    EXPECT_EQ(tz::format_local(*make_utc(1980, 1, 1, 0, 0, 0), *tz::lookup("Asia/Kathmandu")),
              "1980-01-01T05:30:00+05:30");
    EXPECT_EQ(tz::format_local(*make_utc(2024, 7, 1, 12, 0, 0), *tz::lookup("America/New_York")),
              "2024-07-01T08:00:00-04:00");
    // Local mean time before standard zones: Kathmandu kept +05:41:16, written to the minute.
    EXPECT_EQ(tz::format_local(*make_utc(1900, 1, 1, 0, 0, 0), *tz::lookup("Asia/Kathmandu")),
              "1900-01-01T05:41:16+05:41");
}

}  // namespace
}  // namespace zk
