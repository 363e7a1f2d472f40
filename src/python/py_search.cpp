// Bikram Sambat charts, transits and ascendant time windows.
#include "chart/chart.hpp"
#include "python/entry_points.hpp"
#include "python/py_core.hpp"
#include "search/time_windows.hpp"
#include "search/transits.hpp"
#include "time/bikram_sambat.hpp"
#include "time/instant_text.hpp"

namespace zk::py {
namespace {

// Lets Ctrl-C stop a long search: a pending signal handler runs, and when it raises, the
// search stops and its exception (KeyboardInterrupt) stays set for the caller.
const Interrupted kCheckSignals = [] { return PyErr_CheckSignals() != 0; };

const std::vector<const char*> kBsParams = {"bs_year",  "bs_month", "bs_day",       "hour",
                                            "minute",   "second",   "latitude",     "longitude",
                                            "altitude", "ayanamsa", "house_system", "true_nodes"};

// compute_chart_bs and Chart.compute_bs. The date and time are taken as UTC: a BS date
// names no time zone.
PyObject* compute_bs(const Signature& signature, PyObject* args, PyObject* kwargs) {
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    int32_t bs_year = 0;
    uint32_t bs_month = 0, bs_day = 0, hour = 0, minute = 0, second = 0;
    ChartOptions o;
    if (!a->get(0, bs_year) || !a->get(1, bs_month) || !a->get(2, bs_day) || !a->get(3, hour) ||
        !a->get(4, minute) || !a->get(5, second) || !o.read(*a, 6)) {
        return nullptr;
    }
    if (hour > 23 || minute > 59 || second > 59) return raise_value_error("Invalid time");
    auto settings = settle(o);
    if (!settings) return nullptr;
    auto date = bs_to_gregorian(bs_year, bs_month, bs_day);
    if (!date) return raise_error(date.error());
    auto utc = make_utc(date->year, date->month, date->day, hour, minute, second);
    if (!utc) return raise_error(ZodiakitError::date_time());
    return compute_chart(*utc, *settings, "utc", "UTC");
}

Ref ingress_dict(const Ingress& ingress) {
    return new_dict("planet", new_str(planet_name(ingress.planet)), "from_sign",
                    new_str(sign_name(ingress.from_sign)), "to_sign",
                    new_str(sign_name(ingress.to_sign)), "ingress_time",
                    new_str(format_rfc3339_utc(ingress.ingress_time)), "is_retrograde",
                    new_bool(ingress.is_retrograde));
}

Ref window_tuple(const TimeWindow& window) {
    Ref start = new_str(format_rfc3339_z(window.start));
    Ref end = new_str(format_rfc3339_z(window.end));
    if (!start || !end) return Ref();
    return Ref(PyTuple_Pack(2, start.get(), end.get()));
}

}  // namespace

PyObject* compute_chart_bs(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"compute_chart_bs", kBsParams, 8};
    return compute_bs(signature, args, kwargs);
}

PyObject* chart_compute_bs(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.compute_bs", kBsParams, 8};
    return compute_bs(signature, args, kwargs);
}

PyObject* get_transits(PyObject* args, PyObject* kwargs) {
    static const Signature signature{
        "get_transits", {"from_date", "to_date", "ayanamsa", "true_nodes"}, 2};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    std::string from_text, to_text, ayanamsa_text = "lahiri";
    bool true_nodes = true;
    if (!a->get(0, from_text) || !a->get(1, to_text) || !a->get(2, ayanamsa_text) ||
        !a->get(3, true_nodes)) {
        return nullptr;
    }
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return raise_error(ayanamsa.error());
    auto from = parse_instant_text(from_text);
    if (!from) return raise_error(from.error());
    auto to = parse_instant_text(to_text);
    if (!to) return raise_error(to.error());

    auto ingresses = zk::get_transits(*from, *to, *ayanamsa, true_nodes, kCheckSignals);
    if (!ingresses) return raise_error(ingresses.error());
    Ref list(PyList_New(0));
    if (!list) return nullptr;
    for (const Ingress& ingress : *ingresses) {
        if (!list_append(list.get(), ingress_dict(ingress))) return nullptr;
    }
    return list.release();
}

PyObject* find_time_windows(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"find_time_windows",
                                     {"base_date", "window_minutes", "varga", "target_sign", "lat",
                                      "lon", "alt", "ayanamsa", "true_nodes"},
                                     6};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    std::string base_text, target_sign, ayanamsa_text = "lahiri";
    int32_t window_minutes = 0;
    uint32_t varga = 0;
    double lat = 0.0, lon = 0.0, alt = 0.0;
    // Accepted for a uniform signature; the ascendant does not depend on the nodes.
    bool true_nodes = true;
    if (!a->get(0, base_text) || !a->get(1, window_minutes) || !a->get(2, varga) ||
        !a->get(3, target_sign) || !a->get(4, lat) || !a->get(5, lon) || !a->get(6, alt) ||
        !a->get(7, ayanamsa_text) || !a->get(8, true_nodes)) {
        return nullptr;
    }
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return raise_error(ayanamsa.error());
    if (auto valid = validate_geo(lat, lon, alt); !valid) {
        return raise_value_error("ValueError: " + valid.error().display());
    }
    auto base = parse_instant_text(base_text);
    if (!base) return raise_error(base.error());

    auto windows = zk::find_time_windows(*base, window_minutes, varga, target_sign,
                                         GeoLocation{lat, lon, alt}, *ayanamsa, kCheckSignals);
    if (!windows) return raise_error(windows.error());
    Ref list(PyList_New(0));
    if (!list) return nullptr;
    for (const TimeWindow& window : *windows) {
        if (!list_append(list.get(), window_tuple(window))) return nullptr;
    }
    return list.release();
}

}  // namespace zk::py
