// Entry points written once. Each Python function or method is one row: its name, its
// parameters with their defaults as Python literals, its body (mostly runs<engine
// function, builder> or shows<builder>) and its docstring. From the row come, once at
// module initialisation, the text signature (`__text_signature__`), the default objects and
// the method table; at each call, argument binding with CPython's messages (TypeError). A
// body with parameters runs three steps through `run`: convert the arguments (a failure
// raises TypeError or OverflowError naming the parameter), call one engine function, build
// the Python result (an engine error raises ValueError).
#pragma once

#include <array>
#include <cstddef>
#include <expected>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/error.hpp"
#include "python/py_core.hpp"
#include "search/scan.hpp"

namespace zk {
struct Chart;
struct ChartRow;
struct Workers;
}  // namespace zk

namespace zk::py {

// ---- Rows

struct Param {
    const char* name = nullptr;
    // A Python literal (a float, a double-quoted text, True or False); none when required.
    const char* default_literal = nullptr;
    // Accepted by keyword only (written after "*" in the signature); such parameters come
    // last.
    bool keyword_only = false;

    // The same default under another name.
    constexpr Param named(const char* other) const {
        return {other, default_literal, keyword_only};
    }
};

// A parameter list, joined from shared pieces at compile time.
class Params {
  public:
    static constexpr size_t kCapacity = 16;

    constexpr Params() = default;
    constexpr Params(std::initializer_list<Param> params) {
        for (const Param& p : params) items_[size_++] = p;
    }
    constexpr friend Params operator+(Params head, const Params& tail) {
        for (const Param& p : tail) head.items_[head.size_++] = p;
        return head;
    }
    constexpr size_t size() const { return size_; }
    constexpr bool empty() const { return size_ == 0; }
    constexpr const Param& operator[](size_t i) const { return items_[i]; }
    constexpr const Param* begin() const { return items_.data(); }
    constexpr const Param* end() const { return items_.data() + size_; }

  private:
    std::array<Param, kCapacity> items_{};
    size_t size_ = 0;
};

// Who receives the call: the module (a function), the class (a static method), an instance.
enum class Receiver { Module, Class, Instance };

class Args;

struct Entry {
    using Body = PyObject*(PyObject* self, const Args& args);
    Entry(const char* name, Receiver receiver, Params params, Body* body, const char* doc = "")
        : name(name), receiver(receiver), params(params), body(body), doc(doc) {}

    const char* name;  // as messages show it: "get_panchanga", "Chart.from_utc"
    Receiver receiver;
    Params params;
    Body* body;
    const char* doc;  // after the signature

    // Filled once by prepare_entries.
    std::string text;  // "from_utc(year, ...)\n--\n\n" + doc
    std::array<PyObject*, Params::kCapacity> defaults{};
    size_t required = 0;    // leading parameters without a default
    size_t positional = 0;  // parameters before the first keyword-only one
};

// ---- The parameters several entries share; each default is written here and only here.

inline constexpr Param kAltitude{"altitude", "0.0"};
inline constexpr Param kAyanamsa{"ayanamsa", "\"lahiri\""};
inline constexpr Param kHouseSystem{"house_system", "\"equal\""};
inline constexpr Param kTrueNodes{"true_nodes", "True"};
inline constexpr Param kLocale{"locale", "\"en\""};
inline constexpr Param kSunrise{"sunrise", "\"upper_limb\""};

inline constexpr Params kUtcFields{{"year"}, {"month"}, {"day"}, {"hour"}, {"minute"}, {"second"}};
inline constexpr Params kLocalTexts{{"date"}, {"time"}, {"timezone"}};
inline constexpr Params kPlace{{"latitude"}, {"longitude"}, kAltitude};
inline constexpr Params kChartOptions{kAyanamsa, kHouseSystem, kTrueNodes};
inline constexpr Params kBsChart =
    Params{{"bs_year"}, {"bs_month"}, {"bs_day"}, {"hour"}, {"minute"}, {"second"}} + kPlace +
    kChartOptions;

// The docstring text of the shared parameters (their Args lines), joined into the rows'
// docstrings.
#define ZK_DOC_UTC_ARGS                                               \
    "    year: Gregorian year (proleptic; negative years allowed).\n" \
    "    month: Month, 1-12.\n"                                       \
    "    day: Day of the month.\n"                                    \
    "    hour: Hour, 0-23 (UTC).\n"                                   \
    "    minute: Minute, 0-59.\n"                                     \
    "    second: Second, 0-59 (whole seconds)."
#define ZK_DOC_PLACE_ARGS                                                          \
    "    latitude: Geographic latitude in degrees, -90..90 (north positive).\n"    \
    "    longitude: Geographic longitude in degrees, -180..180 (east positive).\n" \
    "    altitude: Height above sea level in metres."
#define ZK_DOC_CHART_OPTION_ARGS                                                             \
    "    ayanamsa: \"lahiri\", \"raman\", \"kp\", \"true_chitra\", \"true_pushya\", or\n"    \
    "        \"custom:x\" for an ayanamsa of x degrees at J2000.0 (case-insensitive).\n"     \
    "    house_system: \"equal\", \"placidus\", \"koch\" or \"whole_sign\".\n"               \
    "    true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is\n" \
    "        opposite)."
#define ZK_DOC_CHART_RAISES                                                                       \
    "    ValueError: An invalid date-time (\"Invalid UTC date/time\"), place (\"Invalid\n"        \
    "        parameter: Invalid latitude 91: expected -90..90\"), ayanamsa or house system, or\n" \
    "        a failed ephemeris or house computation (e.g. Placidus near the poles).\n"           \
    "    TypeError: An argument of the wrong type.\n"                                             \
    "    OverflowError: An integer argument out of range."

// The panchanga entries' place and node Args lines, after their date and time lines.
#define ZK_DOC_PANCHANGA_PLACE_ARGS                                \
    "    timezone: IANA zone name, e.g. \"Asia/Kathmandu\".\n"     \
    "    latitude: Geographic latitude in degrees, -90..90.\n"     \
    "    longitude: Geographic longitude in degrees, -180..180.\n" \
    "    altitude: Height above sea level in metres.\n"            \
    "    ayanamsa: As for Chart.from_utc.\n"                       \
    "    true_nodes: As for Chart.from_utc."
#define ZK_DOC_SUNRISE_ARG                                                                      \
    "    sunrise: \"upper_limb\" (the upper limb with refraction, the default) or\n"            \
    "        \"disc_center\" (the disc centre without refraction, the Hindu sunrise) for the\n" \
    "        sun times and day divisions."
// Everything after the first line of Chart.compute_bs's and compute_chart_bs's docstrings.
#define ZK_DOC_BS_CHART_REST                                                                  \
    "\n"                                                                                      \
    "Args:\n"                                                                                 \
    "    bs_year: Bikram Sambat year (2000-2099 BS).\n"                                       \
    "    bs_month: Bikram Sambat month, 1 (Baisakh) to 12 (Chaitra).\n"                       \
    "    bs_day: Day of the Bikram Sambat month.\n"                                           \
    "    hour: Hour, 0-23, in UTC (the date is converted to its Gregorian day).\n"            \
    "    minute: Minute, 0-59.\n"                                                             \
    "    second: Second, 0-59.\n" ZK_DOC_PLACE_ARGS "\n" ZK_DOC_CHART_OPTION_ARGS             \
    "\n"                                                                                      \
    "\n"                                                                                      \
    "Returns:\n"                                                                              \
    "    Chart: the chart.\n"                                                                 \
    "\n"                                                                                      \
    "Raises:\n"                                                                               \
    "    ValueError: \"Date/time conversion error\" for a date outside the table, a month\n"  \
    "        outside 1-12, or a day 0 or past the month's end; \"Invalid time\" for a time\n" \
    "        of day out of range; any error of Chart.from_utc.\n"                             \
    "    TypeError: An argument of the wrong type."

// ---- Binding

// Conversions of the values only some entries take (see py_core.hpp for the plain ones).
bool convert(PyObject* obj, std::vector<ChartRow>& out);  // a sequence of 9-tuples
bool convert(PyObject* obj, Workers& out);  // None, or a positive int (else ValueError)

// A record borrowed from the Python object an argument names (a Chart), for an engine
// parameter `const T&`.
template <typename T>
struct Borrowed {
    const T* record = nullptr;
    operator const T&() const { return *record; }
};
bool convert(PyObject* obj, Borrowed<Chart>& out);

// The arguments of one call, bound to the entry's parameters; omitted ones hold defaults.
class Args {
  public:
    explicit Args(const Entry& entry) : entry_(&entry) {}
    // Binds positional then keyword arguments with CPython's messages (TypeError).
    static std::optional<Args> bind(const Entry& entry, PyObject* args, PyObject* kwargs);

    // Converts argument i into element i of `values`, in order; stops at the first failure,
    // which raises the argument error naming the parameter. An Interrupted element takes the
    // binding's Ctrl-C check instead of an argument.
    template <typename... T>
    bool convert_all(std::tuple<T...>& values) const {
        check_count((0 + ... + (std::is_same_v<T, Interrupted> ? 0 : 1)));
        return convert_each(values, std::index_sequence_for<T...>{});
    }

  private:
    template <typename Tuple, size_t... I>
    bool convert_each(Tuple& values, std::index_sequence<I...>) const {
        return (load(I, std::get<I>(values)) && ...);
    }
    template <typename T>
    bool load(size_t index, T& out) const {
        if (convert(slots_[index], out)) return true;
        wrap_argument_error(entry_->params[index].name);
        return false;
    }
    bool load(size_t index, Interrupted& out) const;
    bool bind_keywords(PyObject* kwargs);
    bool fill_defaults();
    // A body whose engine call takes other parameters than its row is a programming error.
    void check_count(size_t converted) const;

    const Entry* entry_;
    std::array<PyObject*, Params::kCapacity> slots_{};
};

// ---- The interpreter lock

// Releases the interpreter lock of the calling thread for its lifetime and takes it back on
// exit. Meanwhile an Interrupted check made in this thread takes the lock back for a moment,
// at most every few milliseconds, to run Python's signal handlers.
class LockReleased {
  public:
    LockReleased();
    ~LockReleased();
    LockReleased(const LockReleased&) = delete;
    LockReleased& operator=(const LockReleased&) = delete;

  private:
    PyThreadState* outer_;
};

// work() computed with the interpreter lock released.
template <typename Work>
decltype(auto) without_lock(Work&& work) {
    LockReleased released;
    return work();
}

// ---- The three steps

namespace detail {
// How an argument for an engine parameter of type P is held while the engine runs.
template <typename P>
struct Stored {
    using type = std::decay_t<P>;
};
template <>
struct Stored<const Chart&> {
    using type = Borrowed<Chart>;
};

// The values an engine call with parameters P takes after its first `Skip` ones.
template <size_t Skip, typename P, typename Tail>
struct ValuesAfter;
template <size_t Skip, typename... P, size_t... I>
struct ValuesAfter<Skip, std::tuple<P...>, std::index_sequence<I...>> {
    using type =
        std::tuple<typename Stored<std::tuple_element_t<Skip + I, std::tuple<P...>>>::type...>;
};

template <typename F>
struct EngineCall : EngineCall<decltype(&F::operator())> {};
template <typename R, typename... P>
struct EngineCall<R (*)(P...)> {
    template <size_t Skip>
    using Values = typename ValuesAfter<Skip, std::tuple<P...>,
                                        std::make_index_sequence<sizeof...(P) - Skip>>::type;
    using First = std::decay_t<std::tuple_element_t<0, std::tuple<P...>>>;
};
template <typename R, typename C, typename... P>
struct EngineCall<R (C::*)(P...) const> : EngineCall<R (*)(P...)> {};

template <typename T>
struct IsExpected : std::false_type {};
template <typename T, typename E>
struct IsExpected<std::expected<T, E>> : std::true_type {};
}  // namespace detail

// The one unwrap: an engine failure raises, a value is built into a Python object.
template <typename Value, typename Build>
PyObject* deliver(Value&& value, Build&& build) {
    if constexpr (detail::IsExpected<std::decay_t<Value>>::value) {
        if (!value) return raise_error(value.error());
        return build(std::move(*value)).release();
    } else {
        return build(std::forward<Value>(value)).release();
    }
}

// Converts the arguments into the engine's parameter types (after the `leading` values it
// is given first), calls the engine, builds its result.
template <typename Engine, typename Build, typename... Leading>
PyObject* run(const Args& args, Engine&& engine, Build&& build, const Leading&... leading) {
    using Call = detail::EngineCall<std::decay_t<Engine>>;
    typename Call::template Values<sizeof...(Leading)> values;
    if (!args.convert_all(values)) return nullptr;
    auto result = without_lock([&] {
        return std::apply([&](auto&... value) { return engine(leading..., value...); }, values);
    });
    return deliver(std::move(result), build);
}

// A body that runs Engine on the arguments and builds its result with Build.
template <auto Engine, auto Build>
PyObject* runs(PyObject*, const Args& args) {
    return run(args, Engine, Build);
}

// The same for a method whose engine takes the record behind the instance first.
template <auto Engine, auto Build>
PyObject* runs_on(PyObject* self, const Args& args) {
    using Record = typename detail::EngineCall<decltype(Engine)>::First;
    return run(args, Engine, Build, record_of<Record>(self));
}

// Build (a function of a record) applied to the record behind the instance.
template <auto Build>
PyObject* show(PyObject* self) {
    using Record = typename detail::EngineCall<decltype(Build)>::First;
    return Build(record_of<Record>(self)).release();
}
// ... as a method without parameters,
template <auto Build>
PyObject* shows(PyObject* self, const Args&) {
    return show<Build>(self);
}
// A method without parameters returning the text Render (a function of a record) makes,
// rendered with the interpreter lock released.
template <auto Render>
PyObject* renders(PyObject* self, const Args&) {
    using Record = typename detail::EngineCall<decltype(Render)>::First;
    const Record& record = record_of<Record>(self);
    const std::string text = without_lock([&] { return Render(record); });
    return new_str(text).release();
}
// ... and as a slot (tp_repr, tp_str).
template <auto Build>
PyObject* show_slot(PyObject* self) {
    return guarded([&] { return show<Build>(self); });
}

// ---- Method tables

// Builds each entry's text signature and default objects; checks that no required
// parameter follows a default. Idempotent.
void prepare_entries(std::span<Entry> entries);
PyMethodDef method_def(const Entry& entry, PyCFunction with_arguments,
                       PyCFunction without_arguments);

// CPython stores every method as a PyCFunction; the flags tell it the real signature.
template <typename F>
PyCFunction as_cfunction(F* f) {
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

template <auto& Table, size_t I>
PyObject* call_with_arguments(PyObject* self, PyObject* args, PyObject* kwargs) {
    return guarded([&]() -> PyObject* {
        const Entry& entry = Table[I];
        auto bound = Args::bind(entry, args, kwargs);
        return bound ? entry.body(self, *bound) : nullptr;
    });
}

template <auto& Table, size_t I>
PyObject* call_without_arguments(PyObject* self, PyObject*) {
    return guarded([&] { return Table[I].body(self, Args(Table[I])); });
}

template <auto& Table, size_t... I>
std::vector<PyMethodDef> method_defs(std::index_sequence<I...>) {
    prepare_entries(Table);
    return {method_def(Table[I], as_cfunction(&call_with_arguments<Table, I>),
                       as_cfunction(&call_without_arguments<Table, I>))...,
            PyMethodDef{nullptr, nullptr, 0, nullptr}};
}

// The method table of a row table, null-terminated, built on first use and kept for the
// life of the process.
template <auto& Table>
PyMethodDef* method_table() {
    constexpr size_t count = std::extent_v<std::remove_reference_t<decltype(Table)>>;
    static std::vector<PyMethodDef> defs = method_defs<Table>(std::make_index_sequence<count>{});
    return defs.data();
}

}  // namespace zk::py
