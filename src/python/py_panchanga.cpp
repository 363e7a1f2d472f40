// The Panchanga class, and the dict get_panchanga returns.
#include "panchanga/inputs.hpp"
#include "python/entry_points.hpp"

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

// The element's index and name, `extra` (key/value pairs) and its times, in this order.
template <typename Info, typename... Extra>
Ref element_dict(const Info& e, Extra&&... extra) {
    Ref d =
        new_dict("index", new_int(e.index), "name", new_str(e.name), std::forward<Extra>(extra)...);
    return d && set_times(d.get(), e) ? std::move(d) : Ref();
}

Ref tithi_dict(const TithiInfo& t) {
    return element_dict(t, "paksha", new_str(t.paksha));
}

Ref nakshatra_dict(const YogaInfo& n) {
    return element_dict(n, "pada", new_int(n.pada));
}

// Yoga and karana.
Ref plain_element_dict(const YogaInfo& e) {
    return element_dict(e);
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

}  // namespace

Ref panchanga_dict(const Panchanga& p) {
    return new_dict("tithi", tithi_dict(p.tithi), "nakshatra", nakshatra_dict(p.nakshatra), "yoga",
                    plain_element_dict(p.yoga), "karana", plain_element_dict(p.karana), "vara",
                    vara_dict(p.vara), "metadata", metadata_dict(p.metadata), "warnings",
                    new_str_list(p.warnings));
}

Ref wrap_panchanga(Panchanga panchanga) {
    return wrap(Class::Panchanga, std::move(panchanga));
}

namespace {

// ---------------------------------------------------------------- the class

Ref metadata_of(const Panchanga& p) {
    return metadata_dict(p.metadata);
}

Ref warnings_of(const Panchanga& p) {
    return new_str_list(p.warnings);
}

PyGetSetDef kPanchangaGetters[] = {
    ZK_GETTER(Panchanga, tithi, tithi_dict(r.tithi)),
    ZK_GETTER(Panchanga, nakshatra, nakshatra_dict(r.nakshatra)),
    ZK_GETTER(Panchanga, yoga, plain_element_dict(r.yoga)),
    ZK_GETTER(Panchanga, karana, plain_element_dict(r.karana)),
    ZK_GETTER(Panchanga, vara, vara_dict(r.vara)),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

Entry kPanchangaMethods[] = {
    {"Panchanga.from_local", Receiver::Class,
     kLocalTexts + kPlace + Params{kAyanamsa, kTrueNodes, {"mode", "\"civil_day\""}},
     runs<zk::panchanga_from_local, wrap_panchanga>},
    {"Panchanga.to_dict", Receiver::Instance, {}, shows<panchanga_dict>},
    {"Panchanga._repr_html_", Receiver::Instance, {}, shows<panchanga_html>},
    {"Panchanga.metadata", Receiver::Instance, {}, shows<metadata_of>},
    {"Panchanga.warnings", Receiver::Instance, {}, shows<warnings_of>},
};

}  // namespace

PyTypeObject* create_panchanga_type() {
    return create_boxed_type<Panchanga>(
        "zodiakit.Panchanga", nullptr,
        {{Py_tp_methods, method_table<kPanchangaMethods>()}, {Py_tp_getset, kPanchangaGetters}});
}

}  // namespace zk::py
