// Module functions that need no chart: local time to UTC, and the builders of one planet's
// dignities.
#include "chart/chart.hpp"
#include "python/entry_points.hpp"
#include "time/timezone.hpp"

namespace zk::py {

Ref dignities_dict(const Dignities& d) {
    return new_dict("is_exalted", new_bool(d.is_exalted), "is_debilitated",
                    new_bool(d.is_debilitated), "is_own_sign", new_bool(d.is_own_sign),
                    "is_moolatrikona", new_bool(d.is_moolatrikona));
}

PyObject* local_to_utc(PyObject*, const Args& args) {
    return run(
        args,
        [](int32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute,
           uint32_t second, std::string_view zone) {
            return tz::local_to_utc(year, month, day, hour, minute, second, zone);
        },
        [](const UtcDateTime& utc) { return new_str(format_rfc3339_utc(utc)); });
}

}  // namespace zk::py
