// Copies, pickles and equality. Every object is immutable, so a copy is the object itself. A
// chart pickles as the instant, place and settings it was computed from and is computed
// again when loaded: the same inputs give the same chart, so two charts are equal when
// their inputs are. The other classes pickle as their record, field by field, and two of
// them are equal when their records are.
#include <algorithm>
#include <concepts>
#include <functional>
#include <ranges>
#include <tuple>
#include <utility>

#include "chart/inputs.hpp"
#include "panchanga/local_day.hpp"
#include "python/entry_points.hpp"

namespace zk::py {
namespace {

// The layout of a pickled chart; another layout gets another number.
constexpr long kChartStateVersion = 1;
constexpr size_t kChartStateSize = 16;

constexpr HouseSystem kHouseSystems[] = {HouseSystem::Equal, HouseSystem::Placidus,
                                         HouseSystem::Koch, HouseSystem::WholeSign};

// The function that computes a pickled chart again (zodiakit._core._chart_from_state).
PyObject* g_chart_from_state = nullptr;

template <typename... Items>
Ref tuple_of(Items... items) {
    if ((!items || ...)) return Ref();
    return Ref(PyTuple_Pack(sizeof...(Items), items.get()...));
}

// (version, year, month, day, hour, minute, second, latitude, longitude, altitude, ayanamsa
// kind, custom ayanamsa degrees, house system name, true nodes, input mode, zone)
Ref chart_state(const Chart& chart) {
    const UtcDateTime& t = chart.datetime;
    const GeoLocation& place = chart.location;
    const CalculationMetadata& m = chart.metadata;
    return tuple_of(new_int(kChartStateVersion), new_int(t.year), new_int(t.month), new_int(t.day),
                    new_int(t.hour), new_int(t.minute), new_int(t.second),
                    new_float(place.latitude), new_float(place.longitude),
                    new_float(place.altitude), new_int(static_cast<long long>(chart.ayanamsa.kind)),
                    new_float(chart.ayanamsa.custom_deg), new_str(m.house_system),
                    new_bool(m.true_nodes), new_str(m.input_mode),
                    new_str(m.timezone.value_or("UTC")));
}

PyObject* refuse_state() {
    PyErr_SetString(PyExc_ValueError, "not the state of a pickled Chart");
    return nullptr;
}

PyObject* chart_from_state(PyObject*, PyObject* state) {
    return guarded([&]() -> PyObject* {
        if (!PyTuple_Check(state) || PyTuple_Size(state) != kChartStateSize) return refuse_state();
        auto at = [&](Py_ssize_t i) { return PyTuple_GetItem(state, i); };
        int32_t version = 0, year = 0;
        uint32_t month = 0, day = 0, hour = 0, minute = 0, second = 0, kind = 0;
        GeoLocation place;
        double custom_deg = 0.0;
        bool true_nodes = true;
        std::string_view house_name, input_mode, zone;
        if (!convert(at(0), version) || version != kChartStateVersion || !convert(at(1), year) ||
            !convert(at(2), month) || !convert(at(3), day) || !convert(at(4), hour) ||
            !convert(at(5), minute) || !convert(at(6), second) || !convert(at(7), place.latitude) ||
            !convert(at(8), place.longitude) || !convert(at(9), place.altitude) ||
            !convert(at(10), kind) || !convert(at(11), custom_deg) ||
            !convert(at(12), house_name) || !convert(at(13), true_nodes) ||
            !convert(at(14), input_mode) || !convert(at(15), zone) ||
            kind > static_cast<uint32_t>(AyanamsaMode::Kind::Custom)) {
            PyErr_Clear();
            return refuse_state();
        }
        const auto utc = make_utc(year, month, day, hour, minute, second);
        const HouseSystem* house_system = nullptr;
        for (const HouseSystem& h : kHouseSystems) {
            if (house_system_name(h) == house_name) house_system = &h;
        }
        if (!utc || !house_system) return refuse_state();
        const ChartOptions options{AyanamsaMode{static_cast<AyanamsaMode::Kind>(kind), custom_deg},
                                   *house_system, true_nodes};
        auto chart =
            without_lock([&] { return recorded_chart(*utc, place, options, input_mode, zone); });
        return deliver(std::move(chart), wrap_chart);
    });
}

PyMethodDef kChartFromState = {"_chart_from_state", &chart_from_state, METH_O,
                               "Computes a pickled Chart again from its state."};

PyObject* same_object_noargs(PyObject* self, PyObject*) {
    Py_INCREF(self);
    return self;
}

// ---------------------------------------------------------------- records, field by field

// The layout of a pickled record; another layout gets another number.
constexpr long kRecordStateVersion = 1;

// A record's fields, in the order its state lists them. The structured binding stops
// compiling when the record gains or loses a field, so no field can slip out of a pickle.
// clang-format off
#define ZK_FIELDS(Record, ...)         \
    auto fields(Record& r) {           \
        auto& [__VA_ARGS__] = r;       \
        return std::tie(__VA_ARGS__);  \
    }
// clang-format on
ZK_FIELDS(UtcDateTime, year, month, day, hour, minute, second)
ZK_FIELDS(ShadbalaScore, sthana, dik, kala, chesta, naisargika, drik, total, required, sufficient)
ZK_FIELDS(PlanetPosition, planet, longitude, latitude, speed, retrograde, sign, nakshatra, house,
          vargas, exalted, debilitated, own_sign, moolatrikona, vargottama, shadbala)
ZK_FIELDS(VargaPosition, planet, source, varga, sign, index, display, warnings)
ZK_FIELDS(DashaPeriod, lord, start, end, sub_periods)
ZK_FIELDS(YogaResult, name, category, description, planets, present)
ZK_FIELDS(KutaResult, varna, vasya, tara, yoni, maitri, gana, bhakut, nadi, total, max, compatible)
ZK_FIELDS(TithiInfo, index, name, paksha, start_utc, end_utc, start_local, end_local)
ZK_FIELDS(YogaInfo, index, name, pada, start_utc, end_utc, start_local, end_local)
ZK_FIELDS(Vara, name, index)
ZK_FIELDS(PanchangaMetadata, zone, mode, local, utc, ayanamsa, true_nodes, version)
ZK_FIELDS(DayTime, utc, local)
ZK_FIELDS(SolarDay, sunrise, sunset, next_sunrise)
ZK_FIELDS(SkyTimes, sunrise, sunset, moonrise, moonset, noon, next_sunrise, day, night, solar)
ZK_FIELDS(DaySpan, start, end)
ZK_FIELDS(DayDivisions, rahu_kalam, yamaganda, gulika_kalam, abhijit, dur_muhurtas)
ZK_FIELDS(LunarMonth, index, name, adhika, kshaya)
ZK_FIELDS(LunarCalendar, amanta, purnimanta, samvatsara, samvatsara_name, shaka, vikram, ritu,
          ritu_name, ayana, ayana_name, sun_sign, sun_sign_name, moon_sign, moon_sign_name)
ZK_FIELDS(Panchanga, tithi, nakshatra, yoga, karana, vara, metadata, warnings, convention, sky,
          divisions, lunar)
#undef ZK_FIELDS

template <typename T>
concept HasFields = requires(T& record) {
    fields(record);
};

// The fields of a record that is only read.
template <HasFields T>
auto fields_of(const T& record) {
    return fields(const_cast<T&>(record));
}

bool known(Planet p) {
    return p <= Planet::Ketu;
}
bool known(Sign s) {
    return s >= Sign::Aries && s <= Sign::Pisces;
}
bool known(Nakshatra n) {
    return n >= Nakshatra::Ashwini && n <= Nakshatra::Revati;
}
bool known(SunriseConvention c) {
    return c == SunriseConvention::UpperLimb || c == SunriseConvention::DiscCenter;
}

// A record's state: a tuple of its fields; numbers, truth values and texts as themselves,
// vocabulary values as their numbers, an absent optional as None, lists as tuples.
struct Writer {
    static Ref put(double v) { return new_float(v); }
    static Ref put(bool v) { return new_bool(v); }
    template <std::integral T>
    static Ref put(T v) {
        return new_int(static_cast<long long>(v));
    }
    template <typename E>
    requires std::is_enum_v<E>
    static Ref put(E v) { return new_int(static_cast<long long>(v)); }
    static Ref put(const std::string& v) { return new_str(v); }
    template <typename T>
    static Ref put(const std::optional<T>& v) {
        return v ? put(*v) : new_none();
    }
    template <typename T>
    static Ref put(const std::vector<T>& items) {
        Ref tuple(PyTuple_New(static_cast<Py_ssize_t>(items.size())));
        for (size_t i = 0; tuple && i < items.size(); ++i) {
            Ref item = put(items[i]);
            if (!item) return Ref();
            PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), item.release());
        }
        return tuple;
    }
    static Ref put(const VargaSigns& signs) {
        return put(std::vector<VargaSigns::Entry>(signs.begin(), signs.end()));
    }
    template <typename A, typename B>
    static Ref put(const std::pair<A, B>& pair) {
        return tuple_of(put(pair.first), put(pair.second));
    }
    template <HasFields T>
    static Ref put(const T& record) {
        return std::apply([](const auto&... field) { return tuple_of(put(field)...); },
                          fields_of(record));
    }
};

// Reads a state back, refusing anything a record could not hold: another type or layout, a
// number out of its range, an unknown vocabulary value, an instant outside the calendar.
// Pickles come from outside: a budget of items and text bytes bounds the work, and a dasha
// period holds at most two levels of nine periods, as computed ones do.
class Reader {
  public:
    bool get(PyObject* o, double& out) {
        if (!spend(1) || !PyFloat_Check(o)) return false;
        out = PyFloat_AsDouble(o);
        return true;
    }
    bool get(PyObject* o, bool& out) {
        if (!spend(1) || !PyBool_Check(o)) return false;
        out = o == Py_True;
        return true;
    }
    template <std::integral T>
    bool get(PyObject* o, T& out) {
        if (!spend(1) || !PyLong_Check(o) || PyBool_Check(o)) return false;
        int overflow = 0;
        const long long v = PyLong_AsLongLongAndOverflow(o, &overflow);
        if (overflow != 0 || (v == -1 && PyErr_Occurred()) || !std::in_range<T>(v)) return false;
        out = static_cast<T>(v);
        return true;
    }
    template <typename E>
    requires std::is_enum_v<E>
    bool get(PyObject* o, E& out) {
        std::underlying_type_t<E> raw{};
        if (!get(o, raw)) return false;
        out = static_cast<E>(raw);
        return known(out);
    }
    bool get(PyObject* o, std::string& out) {
        std::string_view text;
        if (!PyUnicode_Check(o) || !convert(o, text) || !spend(1 + text.size())) return false;
        out.assign(text);
        return true;
    }
    template <typename T>
    bool get(PyObject* o, std::optional<T>& out) {
        if (o == Py_None) {
            out.reset();
            return true;
        }
        return get(o, out.emplace());
    }
    template <typename T>
    bool get(PyObject* o, std::vector<T>& out) {
        if (!PyTuple_Check(o)) return false;
        const Py_ssize_t size = PyTuple_Size(o);
        if (!spend(static_cast<size_t>(size))) return false;
        out.resize(static_cast<size_t>(size));
        for (Py_ssize_t i = 0; i < size; ++i) {
            if (!get(PyTuple_GetItem(o, i), out[static_cast<size_t>(i)])) return false;
        }
        return true;
    }
    bool get(PyObject* o, VargaSigns& out) {
        std::vector<std::pair<uint32_t, Sign>> entries;
        if (!get(o, entries)) return false;
        out = VargaSigns();
        for (const auto& [varga, sign] : entries) out.set(varga, sign);
        return out.size() == entries.size();  // no varga twice
    }
    template <typename A, typename B>
    bool get(PyObject* o, std::pair<A, B>& out) {
        return PyTuple_Check(o) && PyTuple_Size(o) == 2 && get(PyTuple_GetItem(o, 0), out.first) &&
               get(PyTuple_GetItem(o, 1), out.second);
    }
    bool get(PyObject* o, UtcDateTime& out) {
        return get_fields(o, out) && make_utc(out.year, out.month, out.day, out.hour, out.minute,
                                              out.second) == std::optional(out);
    }
    bool get(PyObject* o, DashaPeriod& out) {
        if (dasha_depth_ == kDashaLevels) return false;
        ++dasha_depth_;
        const bool ok = get_fields(o, out);
        --dasha_depth_;
        return ok && out.sub_periods.size() <= kDashaLords && from_unix_seconds(out.start) &&
               from_unix_seconds(out.end);
    }
    template <HasFields T>
    bool get(PyObject* o, T& out) {
        return get_fields(o, out);
    }

  private:
    static constexpr int kDashaLevels = 3;
    static constexpr size_t kDashaLords = 9;

    bool spend(size_t cost) {
        if (cost > budget_) return false;
        budget_ -= cost;
        return true;
    }

    template <HasFields T>
    bool get_fields(PyObject* o, T& out) {
        auto tied = fields(out);
        constexpr size_t count = std::tuple_size_v<decltype(tied)>;
        if (!PyTuple_Check(o) || PyTuple_Size(o) != static_cast<Py_ssize_t>(count)) return false;
        return [&]<size_t... I>(std::index_sequence<I...>) {
            return (get(PyTuple_GetItem(o, I), std::get<I>(tied)) && ...);
        }
        (std::make_index_sequence<count>{});
    }

    size_t budget_ = size_t{1} << 24;
    int dasha_depth_ = 0;
};

// Equality and hash of records, field by field; consistent with each other (0.0 and -0.0
// are equal and hash alike; NaN equals nothing).
struct Same {
    template <typename T>
    static bool equal(const T& a, const T& b) {
        return a == b;
    }
    template <typename T>
    static bool equal(const std::optional<T>& a, const std::optional<T>& b) {
        return a.has_value() == b.has_value() && (!a || equal(*a, *b));
    }
    template <typename T>
    static bool equal(const std::vector<T>& a, const std::vector<T>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const T& x, const T& y) { return equal(x, y); });
    }
    static bool equal(const VargaSigns& a, const VargaSigns& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    template <HasFields T>
    static bool equal(const T& a, const T& b) {
        return std::apply(
            [&](const auto&... x) {
                return std::apply([&](const auto&... y) { return (equal(x, y) && ...); },
                                  fields_of(b));
            },
            fields_of(a));
    }
};

struct Hasher {
    size_t value = 0;

    void mix(size_t h) { value ^= h + 0x9e3779b97f4a7c15ULL + (value << 6) + (value >> 2); }
    void add(double v) { mix(v == 0.0 || v != v ? 0 : std::hash<double>{}(v)); }
    template <typename T>
    requires std::is_arithmetic_v<T> || std::is_enum_v<T>
    void add(T v) { mix(std::hash<T>{}(v)); }
    void add(const std::string& v) { mix(std::hash<std::string>{}(v)); }
    template <typename T>
    void add(const std::optional<T>& v) {
        mix(v.has_value());
        if (v) add(*v);
    }
    template <typename Range>
    requires std::ranges::range<Range>
    void add(const Range& items) {
        mix(std::ranges::distance(items));
        for (const auto& item : items) add(item);
    }
    template <typename A, typename B>
    void add(const std::pair<A, B>& pair) {
        add(pair.first);
        add(pair.second);
    }
    template <HasFields T>
    void add(const T& record) {
        std::apply([&](const auto&... field) { (add(field), ...); }, fields_of(record));
    }
};

// Each pickled record's class and its name in the state.
template <typename Record>
struct Pickled;
#define ZK_PICKLED(Record, Name)                         \
    template <>                                          \
    struct Pickled<Record> {                             \
        static constexpr Class kClass = Class::Name;     \
        static constexpr std::string_view kName = #Name; \
    };
ZK_PICKLED(PlanetPosition, PlanetPosition)
ZK_PICKLED(VargaPosition, VargaPosition)
ZK_PICKLED(DashaPeriod, DashaPeriod)
ZK_PICKLED(YogaResult, YogaResult)
ZK_PICKLED(KutaResult, KutaResult)
ZK_PICKLED(Panchanga, Panchanga)
#undef ZK_PICKLED

// The function that builds a pickled record again (zodiakit._core._record_from_state).
PyObject* g_record_from_state = nullptr;

PyObject* refuse_record_state(std::string_view name) {
    PyErr_Clear();
    PyErr_Format(PyExc_ValueError, "not the state of a pickled %s", std::string(name).c_str());
    return nullptr;
}

template <typename Record>
PyObject* record_from_fields(long version, PyObject* state) {
    Record record;
    if (version != kRecordStateVersion || !Reader().get(state, record)) {
        return refuse_record_state(Pickled<Record>::kName);
    }
    return wrap(Pickled<Record>::kClass, std::move(record)).release();
}

template <typename... Records>
PyObject* record_from_named_fields(std::string_view name, long version, PyObject* state) {
    PyObject* result = nullptr;
    const bool named = ((name == Pickled<Records>::kName &&
                         (result = record_from_fields<Records>(version, state), true)) ||
                        ...);
    return named ? result : refuse_record_state("zodiakit object");
}

// (class name, layout version, fields), as reduce_record gives them.
PyObject* record_from_state(PyObject*, PyObject* args) {
    return guarded([&]() -> PyObject* {
        std::string_view name;
        int32_t version = 0;
        if (PyTuple_Size(args) != 3 || !PyUnicode_Check(PyTuple_GetItem(args, 0)) ||
            !convert(PyTuple_GetItem(args, 0), name) ||
            !convert(PyTuple_GetItem(args, 1), version)) {
            return refuse_record_state("zodiakit object");
        }
        return record_from_named_fields<PlanetPosition, VargaPosition, DashaPeriod, YogaResult,
                                        KutaResult, Panchanga>(name, version,
                                                               PyTuple_GetItem(args, 2));
    });
}

template <typename Record>
PyObject* record_state(PyObject* self, Pickled<Record>) {
    return guarded([&]() -> PyObject* {
        if (!g_record_from_state) return raise_panic("_record_from_state is not registered");
        Ref state = tuple_of(new_str(Pickled<Record>::kName), new_int(kRecordStateVersion),
                             Writer::put(record_of<Record>(self)));
        if (!state) return nullptr;
        return PyTuple_Pack(2, g_record_from_state, state.get());
    });
}

template <typename Record>
PyObject* reduce_record_noargs(PyObject* self, PyObject*) {
    return record_state(self, Pickled<Record>{});
}

PyMethodDef kCopyMethods[] = {
    {"__copy__", &same_object_noargs, METH_NOARGS,
     "__copy__($self, /)\n--\n\nThe object itself: it is immutable."},
    {"__deepcopy__",
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(
         +[](PyObject* self, PyObject*) { return same_object_noargs(self, nullptr); })),
     METH_O, "__deepcopy__($self, memo, /)\n--\n\nThe object itself: it is immutable."},
    {nullptr, nullptr, 0, nullptr},
};

PyMethodDef kRecordFromState = {"_record_from_state", &record_from_state, METH_VARARGS,
                                "Builds a pickled record again from its state."};

}  // namespace

PyObject* same_object(PyObject* self, const Args&) {
    return same_object_noargs(self, nullptr);
}

PyObject* reduce_chart(PyObject* self, const Args&) {
    if (!g_chart_from_state) return raise_panic("_chart_from_state is not registered");
    Ref arguments = tuple_of(chart_state(record_of<Chart>(self)));
    if (!arguments) return nullptr;
    return PyTuple_Pack(2, g_chart_from_state, arguments.get());
}

PyObject* compare_charts(PyObject* self, PyObject* other, int op) {
    return guarded([&]() -> PyObject* {
        if ((op != Py_EQ && op != Py_NE) || !PyObject_TypeCheck(other, type_of(Class::Chart))) {
            Py_RETURN_NOTIMPLEMENTED;
        }
        Ref mine = chart_state(record_of<Chart>(self));
        Ref theirs = chart_state(record_of<Chart>(other));
        if (!mine || !theirs) return nullptr;
        return PyObject_RichCompare(mine.get(), theirs.get(), op);
    });
}

Py_hash_t hash_chart(PyObject* self) {
    Ref state = chart_state(record_of<Chart>(self));
    return state ? PyObject_Hash(state.get()) : -1;
}

template <typename Record>
PyObject* reduce_record(PyObject* self, const Args&) {
    return record_state(self, Pickled<Record>{});
}

template <typename Record>
PyObject* compare_records(PyObject* self, PyObject* other, int op) {
    return guarded([&]() -> PyObject* {
        if ((op != Py_EQ && op != Py_NE) ||
            !PyObject_TypeCheck(other, type_of(Pickled<Record>::kClass))) {
            Py_RETURN_NOTIMPLEMENTED;
        }
        const bool equal = Same::equal(record_of<Record>(self), record_of<Record>(other));
        return new_bool(equal == (op == Py_EQ)).release();
    });
}

template <typename Record>
Py_hash_t hash_record(PyObject* self) {
    Hasher hasher;
    hasher.add(record_of<Record>(self));
    const auto hash = static_cast<Py_hash_t>(hasher.value);
    return hash == -1 ? -2 : hash;
}

template <typename Record>
PyMethodDef* record_methods() {
    static PyMethodDef methods[] = {
        kCopyMethods[0],
        kCopyMethods[1],
        {"__reduce__", &reduce_record_noargs<Record>, METH_NOARGS,
         "__reduce__($self, /)\n--\n\nThe record's state, field by field."},
        {nullptr, nullptr, 0, nullptr},
    };
    return methods;
}

#define ZK_RECORD_CLASS(Record)                                            \
    template PyObject* reduce_record<Record>(PyObject*, const Args&);      \
    template PyObject* compare_records<Record>(PyObject*, PyObject*, int); \
    template Py_hash_t hash_record<Record>(PyObject*);                     \
    template PyMethodDef* record_methods<Record>();
ZK_RECORD_CLASS(PlanetPosition)
ZK_RECORD_CLASS(VargaPosition)
ZK_RECORD_CLASS(DashaPeriod)
ZK_RECORD_CLASS(YogaResult)
ZK_RECORD_CLASS(KutaResult)
ZK_RECORD_CLASS(Panchanga)
#undef ZK_RECORD_CLASS

bool add_state_functions(PyObject* module) {
    Ref module_name = new_str("zodiakit._core");
    if (!module_name) return false;
    for (auto [def, global] : {std::pair{&kChartFromState, &g_chart_from_state},
                               std::pair{&kRecordFromState, &g_record_from_state}}) {
        Ref function(PyCFunction_NewEx(def, nullptr, module_name.get()));
        if (!function || PyModule_AddObjectRef(module, def->ml_name, function.get()) < 0) {
            return false;
        }
        *global = function.release();
    }
    return true;
}

}  // namespace zk::py
