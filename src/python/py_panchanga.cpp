// The Panchanga class and get_panchanga.
#include "chart/chart.hpp"
#include "panchanga/local_day.hpp"
#include "panchanga/locale.hpp"
#include "python/entry_points.hpp"
#include "python/trampoline.hpp"
#include "time/timezone.hpp"

namespace zk::py {
namespace {

// ---------------------------------------------------------------- dictionaries

// The times every element dictionary ends with.
template <typename Info>
bool set_times(PyObject* d, const Info& info) {
    return fill_dict(d, "start_time_utc", new_str(format_rfc3339_utc(info.start_time_utc)),
                     "end_time_utc", new_str(format_rfc3339_utc(info.end_time_utc)),
                     "start_time_local", new_str(info.start_time_local), "end_time_local",
                     new_str(info.end_time_local));
}

// The locale's entry at `index`, or the English name when the locale has none.
std::string_view localized(const std::vector<std::string>* names, size_t index,
                           const std::string& english) {
    return names && index < names->size() ? std::string_view((*names)[index]) : english;
}

Ref tithi_dict(const TithiInfo& t, const LocaleData* locale) {
    Ref d(PyDict_New());
    if (!d) return d;
    const std::string_view name =
        localized(locale ? &locale->tithi_names : nullptr, tithi_name_index(t.index), t.name);
    const bool ok = dict_set(d.get(), "index", new_int(t.index)) &&
                    dict_set(d.get(), "name", new_str(name)) &&
                    dict_set(d.get(), "paksha", new_str(t.paksha)) && set_times(d.get(), t);
    return ok ? std::move(d) : Ref();
}

Ref nakshatra_dict(const YogaInfo& n, const LocaleData* locale) {
    Ref d(PyDict_New());
    if (!d) return d;
    const std::string_view name =
        localized(locale ? &locale->nakshatra_names : nullptr, n.index - 1, n.name);
    const bool ok = dict_set(d.get(), "index", new_int(n.index)) &&
                    dict_set(d.get(), "name", new_str(name)) &&
                    dict_set(d.get(), "pada", new_int(n.pada)) && set_times(d.get(), n);
    return ok ? std::move(d) : Ref();
}

// Yoga and karana.
Ref element_dict(const YogaInfo& e) {
    Ref d(PyDict_New());
    if (!d) return d;
    const bool ok = dict_set(d.get(), "index", new_int(e.index)) &&
                    dict_set(d.get(), "name", new_str(e.name)) && set_times(d.get(), e);
    return ok ? std::move(d) : Ref();
}

Ref vara_dict(const Vara& v) {
    return new_dict("index", new_int(v.index), "name", new_str(v.name));
}

Ref metadata_dict(const PanchangaMetadata& m) {
    return new_dict("timezone", new_str(m.timezone), "mode", new_str(m.mode), "local_datetime",
                    new_str(m.local_datetime), "utc_datetime", new_str(m.utc_datetime), "ayanamsa",
                    new_str(m.ayanamsa), "true_nodes", new_bool(m.true_nodes),
                    "calculation_version", new_str(m.calculation_version));
}

// Only "en" is guaranteed English; any other code that names no locale falls back to it.
Ref full_dict(const Panchanga& p, const std::string& locale_code) {
    const LocaleData* locale = locale_code == "en" ? nullptr : get_locale(locale_code);
    return new_dict("tithi", tithi_dict(p.tithi, locale), "nakshatra",
                    nakshatra_dict(p.nakshatra, locale), "yoga", element_dict(p.yoga), "karana",
                    element_dict(p.karana), "vara", vara_dict(p.vara), "metadata",
                    metadata_dict(p.metadata), "warnings", new_str_list(p.warnings));
}

// ---------------------------------------------------------------- the class

const Panchanga& panchanga_of(PyObject* self) {
    return record_of<Panchanga>(self);
}

PyObject* panchanga_from_local(PyObject* args, PyObject* kwargs) {
    static const Signature signature{"Panchanga.from_local",
                                     {"date", "time", "timezone", "latitude", "longitude",
                                      "altitude", "ayanamsa", "true_nodes", "mode"},
                                     5};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    std::string date_text, time_text, zone, ayanamsa_text = "lahiri", mode_text = "civil_day";
    double latitude = 0.0, longitude = 0.0, altitude = 0.0;
    bool true_nodes = true;
    if (!a->get(0, date_text) || !a->get(1, time_text) || !a->get(2, zone) ||
        !a->get(3, latitude) || !a->get(4, longitude) || !a->get(5, altitude) ||
        !a->get(6, ayanamsa_text) || !a->get(7, true_nodes) || !a->get(8, mode_text)) {
        return nullptr;
    }
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return raise_error(valid.error());
    }
    auto date = parse_ymd(date_text);
    if (!date) return raise_value_error("Invalid date; expected YYYY-MM-DD");
    auto time = parse_hms(time_text);
    if (!time) return raise_value_error("Invalid time; expected HH:MM:SS");
    auto utc = tz::local_to_utc(date->year, date->month, date->day, time->hour, time->minute,
                                time->second, zone);
    if (!utc) return raise_error(utc.error());
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return raise_error(ayanamsa.error());
    auto mode = parse_panchanga_mode(mode_text);
    if (!mode) return raise_error(mode.error());
    auto panchanga = compute_panchanga_local(*utc, GeoLocation{latitude, longitude, altitude}, zone,
                                             *mode, *ayanamsa, true_nodes);
    if (!panchanga) return raise_error(panchanga.error());
    return wrap_record(panchanga_type(), std::move(*panchanga));
}

PyObject* panchanga_to_dict(PyObject* self) {
    return full_dict(panchanga_of(self), "en").release();
}
PyObject* panchanga_metadata(PyObject* self) {
    return metadata_dict(panchanga_of(self).metadata).release();
}
PyObject* panchanga_warnings(PyObject* self) {
    return new_str_list(panchanga_of(self).warnings).release();
}

PyGetSetDef kPanchangaGetters[] = {
    ZK_GETTER(Panchanga, tithi, tithi_dict(r.tithi, nullptr)),
    ZK_GETTER(Panchanga, nakshatra, nakshatra_dict(r.nakshatra, nullptr)),
    ZK_GETTER(Panchanga, yoga, element_dict(r.yoga)),
    ZK_GETTER(Panchanga, karana, element_dict(r.karana)),
    ZK_GETTER(Panchanga, vara, vara_dict(r.vara)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyMethodDef kPanchangaMethods[] = {
    {"from_local", as_cfunction(&with_keywords<panchanga_from_local>),
     METH_VARARGS | METH_KEYWORDS | METH_STATIC,
     "from_local(date, time, timezone, latitude, longitude, altitude=0.0, ayanamsa=\"lahiri\", "
     "true_nodes=True, mode=\"civil_day\")\n--\n\n"},
    {"to_dict", as_cfunction(&no_arguments<panchanga_to_dict>), METH_NOARGS,
     "to_dict($self)\n--\n\n"},
    {"metadata", as_cfunction(&no_arguments<panchanga_metadata>), METH_NOARGS,
     "metadata($self)\n--\n\n"},
    {"warnings", as_cfunction(&no_arguments<panchanga_warnings>), METH_NOARGS,
     "warnings($self)\n--\n\n"},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

PyTypeObject* create_panchanga_type() {
    return create_boxed_type<Panchanga>(
        "zodiakit.Panchanga", nullptr,
        {{Py_tp_methods, kPanchangaMethods}, {Py_tp_getset, kPanchangaGetters}});
}

// ---------------------------------------------------------------- get_panchanga

PyObject* get_panchanga(PyObject* args, PyObject* kwargs) {
    static const Signature signature{
        "get_panchanga",
        {"year", "month", "day", "hour", "minute", "second", "latitude", "longitude", "altitude",
         "ayanamsa", "true_nodes", "locale"},
        8};
    auto a = Args::bind(signature, args, kwargs);
    if (!a) return nullptr;
    int32_t year = 0;
    uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    double latitude = 0.0, longitude = 0.0, altitude = 0.0;
    std::string ayanamsa_text = "lahiri", locale = "en";
    bool true_nodes = true;
    if (!a->get(0, year) || !a->get(1, month) || !a->get(2, day) || !a->get(3, hour) ||
        !a->get(4, minute) || !a->get(5, second) || !a->get(6, latitude) || !a->get(7, longitude) ||
        !a->get(8, altitude) || !a->get(9, ayanamsa_text) || !a->get(10, true_nodes) ||
        !a->get(11, locale)) {
        return nullptr;
    }
    if (auto valid = validate_geo(latitude, longitude, altitude); !valid) {
        return raise_error(valid.error());
    }
    auto ayanamsa = parse_ayanamsa(ayanamsa_text);
    if (!ayanamsa) return raise_error(ayanamsa.error());
    auto utc = make_utc(year, month, day, hour, minute, second);
    if (!utc) return raise_value_error("Invalid date/time");
    auto panchanga = compute_panchanga_local(*utc, GeoLocation{latitude, longitude, altitude},
                                             "UTC", PanchangaMode::CivilDay, *ayanamsa, true_nodes);
    if (!panchanga) return raise_error(panchanga.error());
    return full_dict(*panchanga, locale).release();
}

}  // namespace zk::py
