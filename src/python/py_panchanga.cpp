// The Panchanga class, and the dicts get_panchanga and get_panchanga_calendar return.
#include <atomic>
#include <memory>
#include <mutex>

#include "panchanga/inputs.hpp"
#include "python/entry_points.hpp"

namespace zk::py {
namespace {

// What a Panchanga instance holds: the record, whose day (sky times, divisions, lunar calendar)
// is computed on first use from `day`. The day is computed with the interpreter lock released
// and outside any lock, then published once: a thread that loses the race drops its own,
// identical copy. Until `day_ready` is set only the elements of the record are read.
struct PanchangaBox {
    Panchanga record;
    PanchangaDayInputs day;
    std::atomic<bool> day_ready{false};
    std::mutex publish;
};

PanchangaBox& box_of(PyObject* self) {
    return const_cast<PanchangaBox&>(record_of<PanchangaBox>(self));
}

Result<void> ensure_day(PanchangaBox& box) {
    if (box.day_ready.load(std::memory_order_acquire)) return {};
    Panchanga computed;
    auto done = without_lock([&] { return compute_panchanga_day(computed, box.day); });
    if (!done) return done;
    const std::lock_guard<std::mutex> lock(box.publish);
    if (!box.day_ready.load(std::memory_order_relaxed)) {
        box.record.sky = std::move(computed.sky);
        box.record.divisions = std::move(computed.divisions);
        box.record.lunar = std::move(computed.lunar);
        box.day_ready.store(true, std::memory_order_release);
    }
    return {};
}

// The whole record, its day computed first (ValueError when that fails).
const Panchanga* whole_record(PyObject* self) {
    PanchangaBox& box = box_of(self);
    if (auto done = ensure_day(box); !done) {
        raise_error(done.error());
        return nullptr;
    }
    return &box.record;
}

Ref wrap_box(std::unique_ptr<PanchangaBox> box) {
    PyTypeObject* type = type_of(Class::Panchanga);
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = alloc(type, 0);
    if (!self) return Ref();
    reinterpret_cast<Boxed<PanchangaBox>*>(self)->record = box.release();
    return Ref(self);
}

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

// ---------------------------------------------------------------- the local day

// A printed time in the zone, or None.
Ref local_time(const std::optional<DayTime>& t) {
    return t ? new_str(t->local) : new_none();
}

Ref duration(const std::optional<int64_t>& seconds) {
    return seconds ? new_str(format_duration(*seconds)) : new_none();
}

Ref sun_moon_dict(const Panchanga& p) {
    const SkyTimes& s = p.sky;
    return new_dict("sunrise", local_time(s.sunrise), "sunset", local_time(s.sunset), "moonrise",
                    local_time(s.moonrise), "moonset", local_time(s.moonset), "next_sunrise",
                    local_time(s.next_sunrise), "day_length", duration(s.day_length_seconds),
                    "night_length", duration(s.night_length_seconds), "solar_noon",
                    local_time(s.solar_noon), "sunrise_convention",
                    new_str(sunrise_convention_name(p.sunrise_convention)));
}

Ref span_dict(const DaySpan& span) {
    return new_dict("start", new_str(span.start.local), "end", new_str(span.end.local));
}

Ref optional_span(const std::optional<DaySpan>& span) {
    return span ? span_dict(*span) : new_none();
}

Ref day_divisions_dict(const Panchanga& p) {
    const DayDivisions& d = p.divisions;
    return new_dict("rahu_kalam", optional_span(d.rahu_kalam), "yamaganda",
                    optional_span(d.yamaganda), "gulika_kalam", optional_span(d.gulika_kalam),
                    "abhijit_muhurta", optional_span(d.abhijit_muhurta), "dur_muhurtas",
                    d.dur_muhurtas ? list_of(*d.dur_muhurtas, span_dict) : new_none());
}

Ref month_dict(const LunarMonth& m) {
    return new_dict("index", new_int(m.index), "name", new_str(m.name), "adhika",
                    new_bool(m.adhika), "kshaya", new_bool(m.kshaya));
}

Ref named(uint32_t index, const std::string& name) {
    return new_dict("index", new_int(index), "name", new_str(name));
}

Ref lunar_dict(const Panchanga& p) {
    const LunarCalendar& l = p.lunar;
    return new_dict("masa_amanta", month_dict(l.amanta), "masa_purnimanta",
                    month_dict(l.purnimanta), "samvatsara", named(l.samvatsara, l.samvatsara_name),
                    "vikram_samvat", new_int(l.vikram_year), "shaka_samvat", new_int(l.shaka_year),
                    "ritu", named(l.ritu, l.ritu_name), "ayana", named(l.ayana, l.ayana_name),
                    "sun_sign", named(l.sun_sign, l.sun_sign_name), "moon_sign",
                    named(l.moon_sign, l.moon_sign_name));
}

Ref sankranti_dict(const std::optional<Sankranti>& s) {
    if (!s) return new_none();
    return new_dict("sign", named(s->sign, s->name), "time", new_str(s->time.local));
}

Ref tithi_day_dict(const TithiDay& t) {
    return new_dict("tithi_at_sunrise", new_int(t.tithi_at_sunrise), "skipped_tithis",
                    list_of(t.skipped_tithis, [](uint32_t n) { return new_int(n); }),
                    "repeated_tithi", new_bool(t.repeated_tithi), "is_ekadashi",
                    new_bool(t.is_ekadashi), "is_purnima", new_bool(t.is_purnima), "is_amavasya",
                    new_bool(t.is_amavasya), "sankranti", sankranti_dict(t.sankranti));
}

// "2025-01-31": the date part of the ISO form.
std::string date_text(const CivilDate& date) {
    const std::string naive = format_iso_naive(
        UtcDateTime{static_cast<int32_t>(date.year), date.month, date.day, 0, 0, 0});
    return naive.substr(0, naive.rfind('T'));
}

// The panchanga's dict, then the day's date, what its instant is and its tithi marks.
Ref calendar_day_dict(const PanchangaDay& day) {
    Ref d = panchanga_dict(day.panchanga);
    if (!d || !fill_dict(d.get(), "date", new_str(date_text(day.date)), "day_starts_at",
                         new_str(day.reference), "tithi_day", tithi_day_dict(day.tithi_day))) {
        return Ref();
    }
    return d;
}

}  // namespace

Ref panchanga_dict(const Panchanga& p) {
    return new_dict("tithi", tithi_dict(p.tithi), "nakshatra", nakshatra_dict(p.nakshatra), "yoga",
                    plain_element_dict(p.yoga), "karana", plain_element_dict(p.karana), "vara",
                    vara_dict(p.vara), "metadata", metadata_dict(p.metadata), "warnings",
                    new_str_list(p.warnings), "sun_moon", sun_moon_dict(p), "day_divisions",
                    day_divisions_dict(p), "lunar_calendar", lunar_dict(p));
}

Ref calendar_list(std::vector<PanchangaDay>&& days) {
    return list_of(days, calendar_day_dict);
}

Ref wrap_panchanga(Panchanga panchanga) {
    auto box = std::make_unique<PanchangaBox>();
    box->record = std::move(panchanga);
    box->day_ready.store(true, std::memory_order_relaxed);
    return wrap_box(std::move(box));
}

Ref wrap(Class, Panchanga record) {
    return wrap_panchanga(std::move(record));
}

template <>
const Panchanga& record_of<Panchanga>(PyObject* self) {
    PanchangaBox& box = box_of(self);
    if (auto done = ensure_day(box); !done) throw InvariantFailure(done.error().display());
    return box.record;
}

namespace {

// A panchanga whose day waits for its first use.
Ref wrap_elements(PanchangaElements elements) {
    auto box = std::make_unique<PanchangaBox>();
    box->record = std::move(elements.panchanga);
    box->day = std::move(elements.day);
    box->day_ready.store(elements.day_computed, std::memory_order_relaxed);
    return wrap_box(std::move(box));
}

// Build applied to the whole record: as a method without parameters, and as an attribute.
template <Ref (*Build)(const Panchanga&)>
PyObject* build_whole(PyObject* self) {
    const Panchanga* record = whole_record(self);
    return record ? Build(*record).release() : nullptr;
}

template <Ref (*Build)(const Panchanga&)>
PyObject* shows_whole(PyObject* self, const Args&) {
    return build_whole<Build>(self);
}

template <Ref (*Build)(const Panchanga&)>
PyObject* get_whole(PyObject* self, void*) {
    return guarded([&] { return build_whole<Build>(self); });
}

// ---------------------------------------------------------------- the class

Ref metadata_of(const PanchangaBox& p) {
    return metadata_dict(p.record.metadata);
}

Ref warnings_of(const PanchangaBox& p) {
    return new_str_list(p.record.warnings);
}

// The elements are read as they are; the day's attributes compute the day first.
PyGetSetDef kPanchangaGetters[] = {
    ZK_GETTER(PanchangaBox, tithi, tithi_dict(r.record.tithi),
              "The tithi: {index, name, paksha, start_time_utc, end_time_utc, start_time_local, "
              "end_time_local}."),
    ZK_GETTER(PanchangaBox, nakshatra, nakshatra_dict(r.record.nakshatra),
              "The Moon's nakshatra: {index, name, pada, start/end times UTC and local}."),
    ZK_GETTER(PanchangaBox, yoga, plain_element_dict(r.record.yoga),
              "The yoga (Sun plus Moon): {index, name, start/end times UTC and local}."),
    ZK_GETTER(PanchangaBox, karana, plain_element_dict(r.record.karana),
              "The karana (half tithi): {index, name, start/end times UTC and local}."),
    ZK_GETTER(PanchangaBox, vara, vara_dict(r.record.vara),
              "The weekday: {index, name}, index 0 for Sunday."),
    {"sun_moon", &get_whole<sun_moon_dict>, nullptr,
     "Sun and moon times of the local civil day: {sunrise, sunset, moonrise, moonset,\n"
     "next_sunrise, solar_noon, day_length, night_length}; None where the body does\n"
     "not rise or set that day.",
     nullptr},
    {"day_divisions", &get_whole<day_divisions_dict>, nullptr,
     "Rahu kalam, Yamaganda, Gulika kalam, Abhijit muhurta and the dur muhurtas of\n"
     "the daytime, each {start, end} in local time; None without a sunrise or sunset.",
     nullptr},
    {"lunar_calendar", &get_whole<lunar_dict>, nullptr,
     "The lunar month (amanta and purnimanta, with adhika and kshaya flags),\n"
     "samvatsara, Vikram and Shaka years, ritu, ayana, and the Sun's and Moon's signs.",
     nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

constexpr const char* kPanchangaFromLocalDoc =
    "The panchanga of a local date and time in an IANA time zone.\n"
    "\n"
    "Args:\n"
    "    date: Local date, \"YYYY-MM-DD\".\n"
    "    time: Local time, \"HH:MM:SS\".\n" ZK_DOC_PANCHANGA_PLACE_ARGS
    "\n"
    "    mode: \"civil_day\" (the elements at the instant given) or \"sunrise_day\" (at the\n"
    "        latest sunrise at or before it; the weekday is that sunrise's).\n" ZK_DOC_SUNRISE_ARG
    "\n"
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
     kLocalTexts + kPlace + Params{kAyanamsa, kTrueNodes, {"mode", "\"civil_day\""}, kSunrise},
     runs<zk::panchanga_elements_from_local, wrap_elements>, kPanchangaFromLocalDoc},
    {"Panchanga.to_dict", Receiver::Instance, {}, shows_whole<panchanga_dict>, kPanchangaToDictDoc},
    {"Panchanga._repr_html_", Receiver::Instance, {}, shows_whole<panchanga_html>},
    {"Panchanga.metadata", Receiver::Instance, {}, shows<metadata_of>, kPanchangaMetadataDoc},
    {"Panchanga.warnings", Receiver::Instance, {}, shows<warnings_of>, kPanchangaWarningsDoc},
    {"Panchanga.__reduce__", Receiver::Instance, {}, reduce_record<Panchanga>},
    {"Panchanga.__copy__", Receiver::Instance, {}, same_object},
    {"Panchanga.__deepcopy__", Receiver::Instance, Params{{"memo"}}, same_object},
};

}  // namespace

PyTypeObject* create_panchanga_type() {
    return create_record_type<Panchanga, nullptr, PanchangaBox>(
        "zodiakit.Panchanga",
        "The panchanga of a place and moment: tithi, nakshatra, yoga, karana and vara, each\n"
        "with its start and end times. Made by Panchanga.from_local.",
        kPanchangaGetters, method_table<kPanchangaMethods>());
}

}  // namespace zk::py
