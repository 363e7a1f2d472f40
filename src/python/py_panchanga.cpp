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
    ZK_GETTER(Panchanga, tithi, tithi_dict(r.tithi),
              "The tithi: {index, name, paksha, start_time_utc, end_time_utc, start_time_local, "
              "end_time_local}."),
    ZK_GETTER(Panchanga, nakshatra, nakshatra_dict(r.nakshatra),
              "The Moon's nakshatra: {index, name, pada, start/end times UTC and local}."),
    ZK_GETTER(Panchanga, yoga, plain_element_dict(r.yoga),
              "The yoga (Sun plus Moon): {index, name, start/end times UTC and local}."),
    ZK_GETTER(Panchanga, karana, plain_element_dict(r.karana),
              "The karana (half tithi): {index, name, start/end times UTC and local}."),
    ZK_GETTER(Panchanga, vara, vara_dict(r.vara),
              "The weekday: {index, name}, index 0 for Sunday."),
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

constexpr const char* kPanchangaFromLocalDoc =
    "The panchanga of a local date and time in an IANA time zone.\n"
    "\n"
    "Args:\n"
    "    date: Local date, \"YYYY-MM-DD\".\n"
    "    time: Local time, \"HH:MM:SS\".\n"
    "    timezone: IANA zone name, e.g. \"Asia/Kathmandu\".\n"
    "    latitude: Geographic latitude in degrees, -90..90.\n"
    "    longitude: Geographic longitude in degrees, -180..180.\n"
    "    altitude: Height above sea level in metres.\n"
    "    ayanamsa: As for Chart.from_utc.\n"
    "    true_nodes: As for Chart.from_utc.\n"
    "    mode: \"civil_day\" (the elements at the instant given) or \"sunrise_day\" (at the\n"
    "        latest sunrise at or before it; the weekday is that sunrise's).\n"
    "\n"
    "Returns:\n"
    "    Panchanga: tithi, nakshatra, yoga, karana and vara with their start and end times.\n"
    "\n"
    "Raises:\n"
    "    ValueError: Invalid date, time or zone texts (as Chart.from_local), \"Unknown\n"
    "        panchanga mode '<mode>'. Valid options: civil_day, sunrise_day\", an invalid\n"
    "        place, or \"Invalid parameter: Sun always up?\" when there is no sunrise.\n"
    "    TypeError: An argument of the wrong type.";

constexpr const char* kPanchangaToDictDoc =
    "The panchanga as a dictionary.\n"
    "\n"
    "Returns:\n"
    "    dict: tithi, nakshatra, yoga, karana, vara, metadata, warnings: the dictionary\n"
    "        get_panchanga returns.";

constexpr const char* kPanchangaMetadataDoc =
    "How the panchanga was computed.\n"
    "\n"
    "Returns:\n"
    "    dict: timezone, mode, local_datetime, utc_datetime, ayanamsa, true_nodes,\n"
    "        calculation_version.";

constexpr const char* kPanchangaWarningsDoc =
    "Warnings raised while computing the panchanga.\n"
    "\n"
    "Returns:\n"
    "    list[str]: the warning texts, such as the note that end times are computed in UT.";

Entry kPanchangaMethods[] = {
    {"Panchanga.from_local", Receiver::Class,
     kLocalTexts + kPlace + Params{kAyanamsa, kTrueNodes, {"mode", "\"civil_day\""}},
     runs<zk::panchanga_from_local, wrap_panchanga>, kPanchangaFromLocalDoc},
    {"Panchanga.to_dict", Receiver::Instance, {}, shows<panchanga_dict>, kPanchangaToDictDoc},
    {"Panchanga._repr_html_", Receiver::Instance, {}, shows<panchanga_html>},
    {"Panchanga.metadata", Receiver::Instance, {}, shows<metadata_of>, kPanchangaMetadataDoc},
    {"Panchanga.warnings", Receiver::Instance, {}, shows<warnings_of>, kPanchangaWarningsDoc},
    {"Panchanga.__copy__", Receiver::Instance, {}, same_object},
    {"Panchanga.__deepcopy__", Receiver::Instance, Params{{"memo"}}, same_object},
};

}  // namespace

PyTypeObject* create_panchanga_type() {
    return create_boxed_type<Panchanga>(
        "zodiakit.Panchanga",
        "The panchanga of a place and moment: tithi, nakshatra, yoga, karana and vara, each\n"
        "with its start and end times. Made by Panchanga.from_local.",
        {{Py_tp_methods, method_table<kPanchangaMethods>()}, {Py_tp_getset, kPanchangaGetters}});
}

}  // namespace zk::py
