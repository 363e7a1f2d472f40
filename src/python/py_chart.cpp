// The Chart class: its constructors, how it was computed, planets, houses and ascendant;
// the PlanetPosition class; compute_dignities and compute_chart_batch.
#include <cmath>

#include "chart/chart.hpp"
#include "core/format.hpp"
#include "ephemeris/ephemeris.hpp"
#include "python/entry_points.hpp"
#include "python/trampoline.hpp"
#include "time/timezone.hpp"

namespace zk::py {

// ---------------------------------------------------------------- Chart construction

PyObject* wrap_chart(Chart chart) {
    return wrap_record(chart_type(), std::move(chart));
}
const Chart& chart_of(PyObject* self) {
    return record_of<Chart>(self);
}
bool is_chart(PyObject* obj) {
    return PyObject_TypeCheck(obj, chart_type()) != 0;
}

bool ChartOptions::read(const Args& a, size_t first) {
    return a.get(first, latitude) && a.get(first + 1, longitude) && a.get(first + 2, altitude) &&
           a.get(first + 3, ayanamsa) && a.get(first + 4, house_system) &&
           a.get(first + 5, true_nodes);
}

std::optional<ChartSettings> parse_chart_options(const std::string& ayanamsa_text,
                                                 const std::string& house_system_text,
                                                 bool true_nodes) {
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) {
        raise_error(ayanamsa.error());
        return std::nullopt;
    }
    auto house_system = parse_house_system(house_system_text);
    if (!house_system) {
        raise_error(house_system.error());
        return std::nullopt;
    }
    return ChartSettings{GeoLocation{}, *ayanamsa, *house_system, true_nodes};
}

std::optional<ChartSettings> settle(const ChartOptions& o) {
    if (auto valid = validate_geo(o.latitude, o.longitude, o.altitude); !valid) {
        raise_error(valid.error());
        return std::nullopt;
    }
    auto settings = parse_chart_options(o.ayanamsa, o.house_system, o.true_nodes);
    if (settings) settings->location = GeoLocation{o.latitude, o.longitude, o.altitude};
    return settings;
}

PyObject* compute_chart(const UtcDateTime& utc, const ChartSettings& s, const char* input_mode,
                        const char* timezone) {
    auto chart = calculate_chart(utc, s.location, s.ayanamsa, s.house_system, s.true_nodes);
    if (!chart) return raise_error(chart.error());
    chart->metadata.input_mode = input_mode;
    chart->metadata.timezone = timezone ? std::optional<std::string>(timezone) : std::nullopt;
    return wrap_chart(std::move(*chart));
}

PyObject* build_chart_from_utc(const UtcDateTime& utc, const ChartOptions& options,
                               const char* input_mode, const char* timezone) {
    auto settings = settle(options);
    if (!settings) return nullptr;
    return compute_chart(utc, *settings, input_mode, timezone);
}

namespace {

PyObject* from_utc_impl(const Signature& signature, PyObject* args, PyObject* kwargs) {
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    int32_t year = 0;
    uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    ChartOptions o;
    if (!a->get(0, year) || !a->get(1, month) || !a->get(2, day) || !a->get(3, hour) ||
        !a->get(4, minute) || !a->get(5, second) || !o.read(*a, 6)) {
        return nullptr;
    }
    auto utc = make_utc(year, month, day, hour, minute, second);
    if (!utc) return raise_value_error("Invalid UTC date/time");
    return build_chart_from_utc(*utc, o, "utc", "UTC");
}

const std::vector<const char*> kUtcParams = {"year",     "month",    "day",          "hour",
                                             "minute",   "second",   "latitude",     "longitude",
                                             "altitude", "ayanamsa", "house_system", "true_nodes"};

}  // namespace

PyObject* chart_from_utc(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.from_utc", kUtcParams, 8};
    return from_utc_impl(signature, args, kwargs);
}

PyObject* chart_compute(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.compute", kUtcParams, 8};
    return from_utc_impl(signature, args, kwargs);
}

PyObject* chart_from_local(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Chart.from_local",
                                     {"date", "time", "timezone", "latitude", "longitude",
                                      "altitude", "ayanamsa", "house_system", "true_nodes"},
                                     5};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    std::string date_text, time_text, zone;
    ChartOptions o;
    if (!a->get(0, date_text) || !a->get(1, time_text) || !a->get(2, zone) || !o.read(*a, 3)) {
        return nullptr;
    }
    auto date = parse_ymd(date_text);
    if (!date) return raise_value_error("Invalid date; expected YYYY-MM-DD");
    auto time = parse_hms(time_text);
    if (!time) return raise_value_error("Invalid time; expected HH:MM:SS");
    auto utc = tz::local_to_utc(date->year, date->month, date->day, time->hour, time->minute,
                                time->second, zone);
    if (!utc) return raise_error(utc.error());
    return build_chart_from_utc(*utc, o, "local_civil", zone.c_str());
}

PyObject* chart_from_julian_day(PyObject* args, PyObject* kwargs) {
    static const Signature signature{
        "Chart.from_julian_day",
        {"jd_ut", "latitude", "longitude", "altitude", "ayanamsa", "house_system", "true_nodes"},
        3};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    double jd = 0.0;
    ChartOptions o;
    if (!a->get(0, jd) || !o.read(*a, 1)) return nullptr;
    auto ayanamsa = parse_ayanamsa(o.ayanamsa);
    if (!ayanamsa) return raise_error(ayanamsa.error());
    ephemeris::select_sidereal_mode(*ayanamsa);
    auto utc = ephemeris::from_julian_day(jd);
    if (!utc) return raise_value_error("swe_revjul returned invalid date");
    return build_chart_from_utc(*utc, o, "julian_day_ut", "UTC");
}

// ---------------------------------------------------------------- reading a chart

PyObject* chart_settings(PyObject* self) {
    const CalculationMetadata& m = chart_of(self).metadata;
    return new_dict("input_mode", new_str(m.input_mode), "utc_datetime", new_str(m.utc_datetime),
                    "timezone", m.timezone ? new_str(*m.timezone) : new_none(), "latitude",
                    new_float(m.latitude), "longitude", new_float(m.longitude), "altitude",
                    new_float(m.altitude), "ayanamsa", new_str(m.ayanamsa), "house_system",
                    new_str(m.house_system), "true_nodes", new_bool(m.true_nodes), "ephemeris",
                    new_str(m.ephemeris), "longitude_type", new_str(m.longitude_type),
                    "calculation_version", new_str(m.calculation_version))
        .release();
}

PyObject* chart_metadata(PyObject* self) {
    return chart_settings(self);
}

PyObject* chart_warnings(PyObject* self) {
    return new_str_list(chart_of(self).warnings).release();
}

PyObject* chart_planets(PyObject* self) {
    Ref d(PyDict_New());
    if (!d) return nullptr;
    for (const PlanetPosition& p : chart_of(self).planets) {
        Ref obj(wrap_record(planet_position_type(), p));
        if (!dict_set(d.get(), std::string(planet_name(p.planet)).c_str(), std::move(obj))) {
            return nullptr;
        }
    }
    return d.release();
}

PyObject* chart_houses(PyObject* self) {
    Ref list(PyList_New(0));
    if (!list) return nullptr;
    for (const HouseCusp& h : chart_of(self).houses) {
        if (!list_append(list.get(),
                         new_dict("house", new_float(h.house), "cusp", new_float(h.cusp)))) {
            return nullptr;
        }
    }
    return list.release();
}

PyObject* chart_ascendant(PyObject* self) {
    return new_float(chart_of(self).ascendant).release();
}

// ---------------------------------------------------------------- module functions

PyObject* compute_dignities(PyObject* args, PyObject* kwargs) {
    static const Signature signature{
        "compute_dignities", {"planet_str", "sign_str", "longitude"}, 3};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    std::string planet_text, sign_text;
    double longitude = 0.0;
    if (!a->get(0, planet_text) || !a->get(1, sign_text) || !a->get(2, longitude)) return nullptr;
    auto planet = planet_from_lower_name(to_lower(planet_text));
    if (!planet || *planet == Planet::Rahu || *planet == Planet::Ketu) {
        return raise_value_error("Invalid planet");
    }
    auto sign = sign_from_lower_name(to_lower(sign_text));
    if (!sign) return raise_value_error("Invalid sign");
    const Dignities dg = zk::compute_dignities(*planet, *sign, longitude);
    return new_dict("is_exalted", new_bool(dg.is_exalted), "is_debilitated",
                    new_bool(dg.is_debilitated), "is_own_sign", new_bool(dg.is_own_sign),
                    "is_moolatrikona", new_bool(dg.is_moolatrikona))
        .release();
}

namespace {

struct BatchInput {
    int32_t year = 0;
    uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    double latitude = 0.0, longitude = 0.0, altitude = 0.0;
};

// One element of `inputs`; sets a plain conversion error on failure.
bool convert_batch_input(PyObject* item, BatchInput& out) {
    if (!PyTuple_Check(item)) {
        PyErr_SetString(
            PyExc_TypeError,
            ("'" + type_name(item) + "' object cannot be converted to 'tuple'").c_str());
        return false;
    }
    const Py_ssize_t size = PyTuple_Size(item);
    if (size != 9) {
        PyErr_SetString(PyExc_TypeError, ("expected tuple of length 9, but got tuple of length " +
                                          std::to_string(size))
                                             .c_str());
        return false;
    }
    auto at = [&](Py_ssize_t i) { return PyTuple_GetItem(item, i); };
    return convert(at(0), out.year) && convert(at(1), out.month) && convert(at(2), out.day) &&
           convert(at(3), out.hour) && convert(at(4), out.minute) && convert(at(5), out.second) &&
           convert(at(6), out.latitude) && convert(at(7), out.longitude) &&
           convert(at(8), out.altitude);
}

std::optional<std::vector<BatchInput>> convert_batch(PyObject* inputs) {
    if (PyUnicode_Check(inputs)) {
        PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
        return std::nullopt;
    }
    if (!PySequence_Check(inputs)) {
        PyErr_SetString(
            PyExc_TypeError,
            ("'" + type_name(inputs) + "' object cannot be converted to 'Sequence'").c_str());
        return std::nullopt;
    }
    const Py_ssize_t size = PySequence_Size(inputs);
    if (size < 0) return std::nullopt;
    std::vector<BatchInput> out(static_cast<size_t>(size));
    for (Py_ssize_t i = 0; i < size; ++i) {
        Ref item(PySequence_GetItem(inputs, i));
        if (!item || !convert_batch_input(item.get(), out[static_cast<size_t>(i)])) {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace

PyObject* compute_chart_batch(PyObject* args, PyObject* kwargs) {
    static const Signature signature{
        "compute_chart_batch", {"inputs", "ayanamsa", "house_system", "true_nodes"}, 1};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    auto inputs = convert_batch(a->raw(0));
    if (!inputs) {
        wrap_argument_error("inputs");
        return nullptr;
    }
    std::string ayanamsa_text = "lahiri", house_system_text = "equal";
    bool true_nodes = true;
    if (!a->get(1, ayanamsa_text) || !a->get(2, house_system_text) || !a->get(3, true_nodes)) {
        return nullptr;
    }
    auto settings = parse_chart_options(ayanamsa_text, house_system_text, true_nodes);
    if (!settings) return nullptr;

    Ref result(PyList_New(0));
    if (!result) return nullptr;
    for (size_t i = 0; i < inputs->size(); ++i) {
        // A batch of a million charts runs for minutes; let Ctrl-C stop it.
        if (i % 256 == 255 && PyErr_CheckSignals() < 0) return nullptr;
        const BatchInput& in = (*inputs)[i];
        if (auto valid = validate_geo(in.latitude, in.longitude, in.altitude); !valid) {
            return raise_error(valid.error());
        }
        auto utc = make_utc(in.year, in.month, in.day, in.hour, in.minute, in.second);
        if (!utc) return raise_value_error("Invalid date/time");
        settings->location = GeoLocation{in.latitude, in.longitude, in.altitude};
        if (!list_append(result.get(), Ref(compute_chart(*utc, *settings, "utc", "UTC")))) {
            return nullptr;
        }
    }
    return result.release();
}

// ---------------------------------------------------------------- PlanetPosition class

namespace {

using PP = PlanetPosition;

// Nakshatra number 1..27 and pada 1..4 recomputed from the longitude.
unsigned nakshatra_index_of(double lon) {
    const double span = 360.0 / 27.0;
    return std::min(saturating_u32(std::floor(normalize_degrees(lon) / span)), 26u) + 1;
}
unsigned pada_of(double lon) {
    const double span = 360.0 / 27.0;
    return std::min(
               saturating_u32(std::floor(std::fmod(normalize_degrees(lon), span) / (span / 4.0))),
               3u) +
           1;
}

Ref divisional_signs_dict(const PP& p) {
    Ref d(PyDict_New());
    if (!d) return d;
    for (const auto& [varga, sign] : p.divisional_signs) {
        Ref key = new_int(varga);
        Ref value = new_str(sign_name(sign));
        if (!key || !value || PyDict_SetItem(d.get(), key.get(), value.get()) < 0) return Ref();
    }
    return d;
}

Ref shadbala_dict(const PP& p) {
    if (!p.shadbala) return new_none();
    const ShadbalaScore& s = *p.shadbala;
    return new_dict("sthana", new_float(s.sthana_bala), "dik", new_float(s.dik_bala), "kala",
                    new_float(s.kala_bala), "chesta", new_float(s.chesta_bala), "naisargika",
                    new_float(s.naisargika_bala), "drik", new_float(s.drik_bala), "total",
                    new_float(s.total));
}

PyGetSetDef kPlanetPositionGetters[] = {
    ZK_GETTER(PP, planet, new_str(planet_name(r.planet))),
    ZK_GETTER(PP, longitude, new_float(r.longitude)),
    ZK_GETTER(PP, latitude, new_float(r.latitude)),
    ZK_GETTER(PP, speed, new_float(r.speed)),
    ZK_GETTER(PP, is_retrograde, new_bool(r.is_retrograde)),
    ZK_GETTER(PP, is_exalted, new_bool(r.is_exalted)),
    ZK_GETTER(PP, is_debilitated, new_bool(r.is_debilitated)),
    ZK_GETTER(PP, is_own_sign, new_bool(r.is_own_sign)),
    ZK_GETTER(PP, is_vargottama, new_bool(r.is_vargottama)),
    ZK_GETTER(PP, sign, r.sign ? new_str(sign_name(*r.sign)) : new_none()),
    ZK_GETTER(PP, nakshatra, r.nakshatra ? new_str(nakshatra_name(*r.nakshatra)) : new_none()),
    ZK_GETTER(PP, nakshatra_index, new_int(nakshatra_index_of(r.longitude))),
    ZK_GETTER(PP, pada, new_int(pada_of(r.longitude))),
    ZK_GETTER(PP, house, r.house ? new_int(*r.house) : new_none()),
    ZK_GETTER(PP, divisional_signs, divisional_signs_dict(r)),
    ZK_GETTER(PP, is_moolatrikona, new_bool(r.is_moolatrikona)),
    ZK_GETTER(PP, shadbala, shadbala_dict(r)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyObject* planet_position_repr(PyObject* self) {
    const PP& p = record_of<PP>(self);
    const std::string text = "<PlanetPosition " + std::string(planet_name(p.planet)) + ": " +
                             (p.sign ? std::string(sign_name(*p.sign)) : "Unknown Sign") + " at " +
                             format_fixed(p.longitude, 2) + "\u00b0>";
    return new_str(text).release();
}

// ---------------------------------------------------------------- Chart class

constexpr int kArgs = METH_VARARGS | METH_KEYWORDS;
constexpr int kStatic = METH_VARARGS | METH_KEYWORDS | METH_STATIC;

#define ZK_UTC_SIGNATURE                                                           \
    "(year, month, day, hour, minute, second, latitude, longitude, altitude=0.0, " \
    "ayanamsa=\"lahiri\", house_system=\"equal\", true_nodes=True)\n--\n\n"

PyMethodDef kChartMethods[] = {
    {"from_utc", as_cfunction(&with_keywords<chart_from_utc>), kStatic,
     "from_utc" ZK_UTC_SIGNATURE},
    {"compute", as_cfunction(&with_keywords<chart_compute>), kStatic, "compute" ZK_UTC_SIGNATURE},
    {"from_local", as_cfunction(&with_keywords<chart_from_local>), kStatic,
     "from_local(date, time, timezone, latitude, longitude, altitude=0.0, ayanamsa=\"lahiri\", "
     "house_system=\"equal\", true_nodes=True)\n--\n\n"},
    {"from_julian_day", as_cfunction(&with_keywords<chart_from_julian_day>), kStatic,
     "from_julian_day(jd_ut, latitude, longitude, altitude=0.0, ayanamsa=\"lahiri\", "
     "house_system=\"equal\", true_nodes=True)\n--\n\n"},
    {"compute_bs", as_cfunction(&with_keywords<chart_compute_bs>), kStatic,
     "compute_bs(bs_year, bs_month, bs_day, hour, minute, second, latitude, longitude, "
     "altitude=0.0, ayanamsa=\"lahiri\", house_system=\"equal\", true_nodes=True)\n--\n\n"},
    {"settings", as_cfunction(&no_arguments<chart_settings>), METH_NOARGS,
     "settings($self)\n--\n\n"},
    {"metadata", as_cfunction(&no_arguments<chart_metadata>), METH_NOARGS,
     "metadata($self)\n--\n\n"},
    {"warnings", as_cfunction(&no_arguments<chart_warnings>), METH_NOARGS,
     "warnings($self)\n--\n\n"},
    {"planets", as_cfunction(&no_arguments<chart_planets>), METH_NOARGS, "planets($self)\n--\n\n"},
    {"houses", as_cfunction(&no_arguments<chart_houses>), METH_NOARGS, "houses($self)\n--\n\n"},
    {"ascendant", as_cfunction(&no_arguments<chart_ascendant>), METH_NOARGS,
     "ascendant($self)\n--\n\n"},
    {"aspects", as_cfunction(&no_arguments<chart_aspects>), METH_NOARGS, "aspects($self)\n--\n\n"},
    {"karakas", as_cfunction(&no_arguments<chart_karakas>), METH_NOARGS, "karakas($self)\n--\n\n"},
    {"ashtakavarga", as_cfunction(&no_arguments<chart_ashtakavarga>), METH_NOARGS,
     "ashtakavarga($self)\n--\n\n"},
    {"dasha", as_cfunction(&no_arguments<chart_dasha>), METH_NOARGS, "dasha($self)\n--\n\n"},
    {"divisional_chart", as_cfunction(&method_with_keywords<chart_divisional_chart>), kArgs,
     "divisional_chart($self, varga)\n--\n\n"},
    {"vargas", as_cfunction(&method_with_keywords<chart_vargas>), kArgs,
     "vargas($self, varga)\n--\n\n"},
    {"yogas", as_cfunction(&no_arguments<chart_yogas>), METH_NOARGS,
     "yogas($self)\n--\n\n"
     "Returns a list of classical yogas (planetary combinations) identified in this chart.\n"
     "\n"
     "Each YogaResult includes:\n"
     "- `name`: Classical yoga name (e.g. \"Gajakesari Yoga\")\n"
     "- `category`: \"Raja\", \"Dhana\", \"Mahapurusha\", or \"Other\"\n"
     "- `description`: Classical definition with BPHS chapter/verse citation\n"
     "- `planets_involved`: Which planets form this yoga\n"
     "- `is_present`: Always True (absent yogas are not returned)\n"
     "\n"
     "Only yogas with unambiguous classical definitions are included.\n"
     "This does NOT include cancellation rules (Bhanga) \u2014 consult a qualified astrologer."},
    {"explain", as_cfunction(&no_arguments<chart_explain>), METH_NOARGS, "explain($self)\n--\n\n"},
    {"compatibility", as_cfunction(&method_with_keywords<chart_compatibility>), kArgs,
     "compatibility($self, other)\n--\n\n"
     "Compatibility score using Ashtakoota Milan (36 Guna) against another chart.\n"
     "Uses traditional Nakshatra and Sign matching."},
    {"to_json", as_cfunction(&no_arguments<chart_to_json>), METH_NOARGS, "to_json($self)\n--\n\n"},
    {"to_dict", as_cfunction(&no_arguments<chart_to_dict>), METH_NOARGS, "to_dict($self)\n--\n\n"},
    {"to_svg", as_cfunction(&no_arguments<chart_to_svg>), METH_NOARGS, "to_svg($self)\n--\n\n"},
    {nullptr, nullptr, 0, nullptr},
};
#undef ZK_UTC_SIGNATURE

}  // namespace

PyTypeObject* create_planet_position_type() {
    return create_boxed_type<PP>(
        "zodiakit.PlanetPosition", "Python wrapper for PlanetPosition",
        {{Py_tp_getset, kPlanetPositionGetters},
         {Py_tp_repr, reinterpret_cast<void*>(&unary_slot<planet_position_repr>)}});
}

PyTypeObject* create_chart_type() {
    return create_boxed_type<Chart>("zodiakit.Chart", "Python wrapper for Chart",
                                    {{Py_tp_methods, kChartMethods},
                                     {Py_tp_repr, reinterpret_cast<void*>(&unary_slot<chart_repr>)},
                                     {Py_tp_str, reinterpret_cast<void*>(&unary_slot<chart_str>)}});
}

}  // namespace zk::py
