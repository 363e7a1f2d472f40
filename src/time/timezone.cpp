#include "time/timezone.hpp"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/binary_folder.hpp"

namespace zk::tz {
namespace {

using Seconds = cctz::time_point<cctz::seconds>;

Seconds to_time_point(const UtcDateTime& t) {
    return Seconds(cctz::seconds(to_unix_seconds(t)));
}

// cctz also opens absolute paths and "file:" names; a zone name must be a database entry.
// Some systems put a "localtime" link to the machine's own zone beside the database
// entries; it is not a zone name, and its meaning would change from machine to machine.
bool is_database_name(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.starts_with("file:")) return false;
    // "localtime", and the copies of the database that some systems keep beside it under
    // other rules (posix/, right/, posixrules), are files but not zone names.
    if (name == "localtime" || name == "posixrules") return false;
    if (name.starts_with("posix/") || name.starts_with("right/")) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t slash = name.find('/', start);
        std::string_view part = name.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return name.find('\0') == std::string_view::npos;
}

// Where zones are read from, chosen once per process: the system database when it is there
// (the folder TZDIR names, else /usr/share/zoneinfo with its index files; cctz reads it as
// before), else the database of the tzdata Python package installed beside this module
// (site-packages/tzdata/zoneinfo).
struct ZoneSource {
    std::string folder;  // prepended to zone names; empty for the system database
    bool found = true;
    std::string looked_in;
};

// An empty folder, or one with only UTC, is what a slimmed system leaves behind.
bool has_zone_index(const std::string& folder) {
    std::error_code ignored;
    for (const char* index : {"tzdata.zi", "zone1970.tab", "zone.tab"}) {
        if (std::filesystem::exists(folder + "/" + index, ignored)) return true;
    }
    return false;
}

ZoneSource find_zone_source() {
    const char* tzdir = std::getenv("TZDIR");
    const std::string system = tzdir && *tzdir ? tzdir : "/usr/share/zoneinfo";
    if (tzdir && *tzdir ? is_folder(system) : has_zone_index(system)) return ZoneSource{};
    // The module is site-packages/zodiakit/_core...so; tzdata is site-packages/tzdata.
    const std::string& binary = binary_folder();
    const size_t slash = binary.rfind('/');
    if (slash == std::string::npos) return ZoneSource{"", false, system};
    const std::string package = binary.substr(0, slash) + "/tzdata/zoneinfo";
    if (is_folder(package)) return ZoneSource{package + "/", true, ""};
    return ZoneSource{"", false, system + " and " + package};
}

const ZoneSource& zone_source() {
    static const ZoneSource source = find_zone_source();
    return source;
}

// Whether the database holds a zone file of that name. cctz keeps every name it is asked
// for, known or not, so an unknown name must never reach it: a caller feeding it distinct
// names would grow the process without bound.
bool in_database(std::string_view name) {
    const ZoneSource& source = zone_source();
    std::string path = source.folder;
    if (path.empty()) {
        const char* tzdir = std::getenv("TZDIR");
        path = std::string(tzdir && *tzdir ? tzdir : "/usr/share/zoneinfo") + "/";
    }
    path += name;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char magic[4] = {};
    const bool zone_file = std::fread(magic, 1, sizeof magic, file) == sizeof magic &&
                           std::string_view(magic, sizeof magic) == "TZif";
    std::fclose(file);
    return zone_file;
}

}  // namespace

std::optional<cctz::time_zone> lookup(std::string_view name) {
    if (!is_database_name(name)) return std::nullopt;
    cctz::time_zone zone;
    // cctz makes "UTC" without a file; its "Fixed/UTC+hh:mm:ss" names are not IANA zones.
    if (name == "UTC") return cctz::utc_time_zone();
    if (!in_database(name)) return std::nullopt;
    if (cctz::load_time_zone(std::string(name), &zone)) return zone;
    const ZoneSource& source = zone_source();
    if (source.folder.empty() || !cctz::load_time_zone(source.folder + std::string(name), &zone)) {
        return std::nullopt;
    }
    return zone;
}

Result<UtcDateTime> local_to_utc(int64_t year, uint32_t month, uint32_t day, uint32_t hour,
                                 uint32_t minute, uint32_t second, std::string_view zone_name) {
    const auto refuse = [](std::string message) {
        return std::unexpected(ZodiakitError::invalid_input(std::move(message)));
    };
    auto zone = lookup(zone_name);
    if (!zone && !zone_source().found && is_database_name(zone_name)) {
        return refuse("time-zone database not found (looked in " + zone_source().looked_in + ")");
    }
    if (!zone) return refuse("Unknown timezone: " + std::string(zone_name));
    if (!is_valid_date(year, month, day)) return refuse("Invalid date");
    if (hour > 23 || minute > 59 || second > 59) return refuse("Invalid time");
    const cctz::civil_second local(year, month, day, hour, minute, second);
    const cctz::time_zone::civil_lookup found = zone->lookup(local);
    switch (found.kind) {
        case cctz::time_zone::civil_lookup::UNIQUE:
            break;
        case cctz::time_zone::civil_lookup::REPEATED:
            return refuse("Ambiguous local time in " + std::string(zone_name) +
                          ". Provide UTC or an explicit DST fold policy.");
        case cctz::time_zone::civil_lookup::SKIPPED:
            return refuse("Invalid local time in " + std::string(zone_name) + " (DST gap)");
    }
    auto utc = from_unix_seconds(found.pre.time_since_epoch().count());
    if (!utc) return refuse("Invalid date");
    return *utc;
}

LocalReading to_local(const UtcDateTime& utc, const cctz::time_zone& zone) {
    const auto al = zone.lookup(to_time_point(utc));
    LocalReading out;
    out.civil =
        UtcDateTime{static_cast<int32_t>(al.cs.year()),    static_cast<uint32_t>(al.cs.month()),
                    static_cast<uint32_t>(al.cs.day()),    static_cast<uint32_t>(al.cs.hour()),
                    static_cast<uint32_t>(al.cs.minute()), static_cast<uint32_t>(al.cs.second())};
    out.offset_seconds = al.offset;
    return out;
}

std::string format_local(const UtcDateTime& utc, const cctz::time_zone& zone) {
    const LocalReading local = to_local(utc, zone);
    const int32_t magnitude =
        local.offset_seconds < 0 ? -local.offset_seconds : local.offset_seconds;
    char offset[16];
    std::snprintf(offset, sizeof offset, "%c%02d:%02d", local.offset_seconds < 0 ? '-' : '+',
                  magnitude / 3600, magnitude % 3600 / 60);
    return format_iso_naive(local.civil) + offset;
}

}  // namespace zk::tz
