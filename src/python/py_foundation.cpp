// Module functions that need no chart: local time to UTC and one planet's longitude.
#include "ephemeris/ephemeris.hpp"
#include "python/entry_points.hpp"
#include "python/py_core.hpp"
#include "time/timezone.hpp"

namespace zk::py {

PyObject* local_to_utc(PyObject* args, PyObject* kwargs) {
    static const Signature signature{
        "local_to_utc", {"year", "month", "day", "hour", "minute", "second", "tz_str"}, 7};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    int32_t year = 0;
    uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::string zone;
    if (!a->get(0, year) || !a->get(1, month) || !a->get(2, day) || !a->get(3, hour) ||
        !a->get(4, minute) || !a->get(5, second) || !a->get(6, zone)) {
        return nullptr;
    }
    auto utc = tz::local_to_utc(year, month, day, hour, minute, second, zone);
    if (!utc) return raise_error(utc.error());
    return new_str(format_rfc3339_utc(*utc)).release();
}

PyObject* calc_planet_longitude(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"calc_planet_longitude", {"jd", "planet", "ayanamsa"}, 2};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    double jd = 0.0;
    std::string planet_text, ayanamsa_text = "lahiri";
    if (!a->get(0, jd) || !a->get(1, planet_text) || !a->get(2, ayanamsa_text)) return nullptr;
    auto planet = planet_from_lower_name(to_lower(planet_text));
    if (!planet) return raise_value_error("Invalid planet name");
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return raise_error(ayanamsa.error());
    ephemeris::select_sidereal_mode(*ayanamsa);
    auto position = ephemeris::calc_ut(jd, true, *planet);
    if (!position) return raise_error(position.error());
    return new_float(position->longitude).release();
}

}  // namespace zk::py
