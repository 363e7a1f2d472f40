// Local civil time in IANA zones (the system's zoneinfo, through cctz), strict about
// ambiguous and skipped local times. Instants are UTC date-times in whole seconds; offsets
// are seconds east of UTC. Errors: an unknown zone is no zone (lookup) or an InvalidInput
// message (local_to_utc).
#pragma once

#include <cctz/time_zone.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/datetime.hpp"
#include "core/error.hpp"

namespace zk::tz {

// The zone of an exact IANA name ("Asia/Kathmandu", "UTC"); nothing when unknown.
// Names that are not plain database paths (absolute paths, "..", "file:") and names the
// database has no file for (cctz's "Fixed/UTC+05:45") are unknown.
std::optional<cctz::time_zone> lookup(std::string_view name);

// Zones come from the system database (TZDIR, else /usr/share/zoneinfo) when it is there,
// else from the tzdata Python package installed beside the module.

// Local civil date-time in `zone_name` to UTC. InvalidInput errors, checked in this order:
// "Unknown timezone: <name>" ("time-zone database not found (looked in <folders>)" when
// neither database is there), "Invalid date", "Invalid time",
// "Ambiguous local time in <name>. Provide UTC or an explicit DST fold policy.",
// "Invalid local time in <name> (DST gap)".
Result<UtcDateTime> local_to_utc(int64_t year, uint32_t month, uint32_t day, uint32_t hour,
                                 uint32_t minute, uint32_t second, std::string_view zone_name);

// The local civil reading of a UTC instant in a zone, and the zone's offset then (seconds).
struct LocalReading {
    UtcDateTime civil;  // the local wall-clock fields (not UTC)
    int32_t offset_seconds = 0;
};
LocalReading to_local(const UtcDateTime& utc, const cctz::time_zone& zone);

// "%Y-%m-%dT%H:%M:%S%:z" in the zone, e.g. 2024-01-15T11:02:10+05:30.
std::string format_local(const UtcDateTime& utc, const cctz::time_zone& zone);

}  // namespace zk::tz
