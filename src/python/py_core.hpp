// The binding layer's shared pieces: owned references, the one error mapper, the guard
// that keeps C++ exceptions out of the interpreter, conversions of single objects, builders
// of Python values, lists and dicts, and the native classes behind records. Only this
// layer includes Python.h. Every function that can fail returns false or an empty Ref (or
// nullptr) with a Python exception set; errors of the engine become ValueError with their
// display text, a failed conversion TypeError or OverflowError.
#pragma once

#include <Python.h>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/error.hpp"
#include "core/vocab.hpp"

namespace zk {
struct Panchanga;
}  // namespace zk

namespace zk::py {

// An owned (strong) reference; releases it on scope exit.
class Ref {
  public:
    Ref() = default;
    explicit Ref(PyObject* owned) : obj_(owned) {}
    static Ref borrow(PyObject* obj) {
        Py_XINCREF(obj);
        return Ref(obj);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : obj_(other.release()) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Py_XDECREF(obj_);
            obj_ = other.release();
        }
        return *this;
    }
    ~Ref() { Py_XDECREF(obj_); }

    PyObject* get() const { return obj_; }
    PyObject* release() {
        PyObject* o = obj_;
        obj_ = nullptr;
        return o;
    }
    explicit operator bool() const { return obj_ != nullptr; }

  private:
    PyObject* obj_ = nullptr;
};

// ---- Raising: every function returns nullptr so callers can `return raise_...;`.
PyObject* raise_type_error(std::string_view message);
// An engine error becomes ValueError carrying its display text, unless a Python exception
// was raised while the engine ran (Ctrl-C through an interrupt check): that one stays.
PyObject* raise_error(const ZodiakitError& error);
// A refusal the engine wrote as a bare text becomes ValueError carrying it.
PyObject* raise_error(const std::string& message);
// The internal-error exception (a BaseException subclass created on first use).
PyObject* raise_panic(std::string_view message);

// Runs a body that returns a new reference or nullptr with an exception set; no C++
// exception escapes into the interpreter.
template <typename Body>
PyObject* guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    } catch (const std::exception& e) {
        return raise_panic(e.what());
    } catch (...) {
        return raise_panic("unknown internal error");
    }
}

// ---- Conversions of one object; each sets a plain TypeError/OverflowError on failure.
// A text is the object's own UTF-8, valid while the object lives.
bool convert(PyObject* obj, double& out);
bool convert(PyObject* obj, int32_t& out);
bool convert(PyObject* obj, uint32_t& out);
bool convert(PyObject* obj, bool& out);
bool convert(PyObject* obj, std::string_view& out);
std::string type_name(PyObject* obj);
// Sets TypeError "'<type of obj>' object cannot be converted to '<target>'"; false.
bool refuse_conversion(PyObject* obj, std::string_view target);
// Re-raises a pending TypeError or OverflowError as the argument error of `param`:
// "argument '<param>': <message>", the original error as its cause.
void wrap_argument_error(const char* param);

// ---- Builders of new references (empty with an exception set on failure).
Ref new_str(std::string_view text);
Ref new_float(double value);
Ref new_int(long long value);
Ref new_bool(bool value);
Ref new_none();
// A list of make(item) for each item, in order.
template <typename Range, typename Make>
Ref list_of(Range&& items, Make&& make) {
    Ref list(PyList_New(static_cast<Py_ssize_t>(std::size(items))));
    if (!list) return list;
    Py_ssize_t i = 0;
    for (auto&& item : items) {
        Ref value = make(item);
        if (!value) return Ref();
        PyList_SetItem(list.get(), i++, value.release());
    }
    return list;
}
Ref new_str_list(const std::vector<std::string>& texts);
// A dict of the (key, value) pairs make(item) gives for each item, in order.
template <typename Range, typename Make>
Ref dict_of(const Range& items, Make&& make) {
    Ref dict(PyDict_New());
    if (!dict) return dict;
    for (const auto& item : items) {
        auto [key, value] = make(item);
        if (!key || !value || PyDict_SetItem(dict.get(), key.get(), value.get()) < 0) {
            return Ref();
        }
    }
    return dict;
}
// The interned str of a vocabulary value's name, made the first time and kept for the life of
// the process (the interpreter lock guards the table). Borrowed; nullptr with an exception set.
template <typename Vocabulary>
PyObject* kept_name(Vocabulary value, std::string_view name) {
    static std::array<PyObject*, 256> made{};
    PyObject*& slot = made[static_cast<uint8_t>(value)];
    if (!slot) {
        PyObject* str =
            PyUnicode_FromStringAndSize(name.data(), static_cast<Py_ssize_t>(name.size()));
        if (!str) return nullptr;
        PyUnicode_InternInPlace(&str);
        if (!slot) slot = str;
    }
    return slot;
}
// A dict key written in the source as a string literal. Its str is made and interned once per
// process, the first time it is used, and shared by every dict built with it from then on.
class Key {
  public:
    template <size_t N>
    constexpr Key(const char (&literal)[N]) : text_(literal) {}  // NOLINT: implicit on purpose
    const char* text() const { return text_; }

  private:
    const char* text_;
};
// Stores `value` (consumed) under `key`; false with an exception set on failure.
bool dict_set(PyObject* dict, Key key, Ref value);
inline bool fill_dict(PyObject*) {
    return true;
}
template <typename... Rest>
bool fill_dict(PyObject* dict, Key key, Ref value, Rest&&... rest) {
    return dict_set(dict, key, std::move(value)) && fill_dict(dict, std::forward<Rest>(rest)...);
}
// A new dict of key/value pairs in this order: new_dict("index", new_int(1), "name", ...).
template <typename... Pairs>
Ref new_dict(Pairs&&... pairs) {
    Ref dict(PyDict_New());
    if (!dict || !fill_dict(dict.get(), std::forward<Pairs>(pairs)...)) return Ref();
    return dict;
}
// Python's json.loads applied to a text.
Ref json_loads(std::string_view text);

// A record's field as a Python value: a number, a truth value, a text, the name of a graha,
// sign or nakshatra, a list of texts, or None for an absent optional.
inline Ref to_python(double value) {
    return new_float(value);
}
inline Ref to_python(bool value) {
    return new_bool(value);
}
inline Ref to_python(uint32_t value) {
    return new_int(value);
}
inline Ref to_python(uint8_t value) {
    return new_int(value);
}
inline Ref to_python(const std::string& text) {
    return new_str(text);
}
// The names of grahas, signs and nakshatras are made once each and shared.
Ref to_python(Planet planet);
Ref to_python(Sign sign);
Ref to_python(Nakshatra nakshatra);
inline Ref to_python(const std::vector<std::string>& texts) {
    return new_str_list(texts);
}
template <typename T>
Ref to_python(const std::optional<T>& value) {
    return value ? to_python(*value) : new_none();
}

// ---- Native classes: one C++ record behind each instance, no Python constructor.
template <typename Record>
struct Boxed {
    PyObject_HEAD Record* record;
};

// The record behind an instance of a boxed type.
template <typename Record>
const Record& record_of(PyObject* self) {
    return *reinterpret_cast<Boxed<Record>*>(self)->record;
}

// A Panchanga computes its day (sky times, divisions, lunar calendar) on first use: its record
// is complete once this returns (py_panchanga.cpp).
template <>
const Panchanga& record_of<Panchanga>(PyObject* self);

// The docstring of a read-only attribute, when its row gives one.
constexpr const char* attribute_doc(const char* doc = nullptr) {
    return doc;
}

// A read-only attribute of a boxed class: `expr` builds a Ref from `r`, the record behind
// the instance; ZK_FIELD (below) shows a field as it is. Runs inside `guarded` like every
// entry point. The optional last argument is the attribute's docstring.
// clang-format off
#define ZK_GETTER(Record, field, expr, ...)                       \
    {#field,                                                      \
     [](PyObject* self, void*) -> PyObject* {                     \
         return ::zk::py::guarded([&] {                           \
             const Record& r = ::zk::py::record_of<Record>(self); \
             return ::zk::py::Ref(expr).release();                \
         });                                                      \
     },                                                           \
     nullptr, ::zk::py::attribute_doc(__VA_ARGS__), nullptr}
// clang-format on

template <typename Member>
struct MemberOf;
template <typename T, typename Record>
struct MemberOf<T Record::*> {
    using RecordType = Record;
};

// The getter of a field shown as to_python shows it.
template <auto Member>
PyObject* get_field(PyObject* self, void*) {
    using Record = typename MemberOf<decltype(Member)>::RecordType;
    return guarded([&] { return to_python(record_of<Record>(self).*Member).release(); });
}
// clang-format off
#define ZK_FIELD(Record, field, ...)                                \
    {#field, &::zk::py::get_field<&Record::field>, nullptr,         \
     ::zk::py::attribute_doc(__VA_ARGS__), nullptr}
// clang-format on

template <typename Record>
void boxed_dealloc(PyObject* self) {
    delete reinterpret_cast<Boxed<Record>*>(self)->record;
    PyTypeObject* type = Py_TYPE(self);
    auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_slot(self);
    Py_DECREF(type);
}

// A new instance of a boxed type owning `record`.
template <typename Record>
Ref wrap_record(PyTypeObject* type, Record record) {
    auto* owned = new Record(std::move(record));
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = alloc(type, 0);
    if (!self) {
        delete owned;
        return Ref();
    }
    reinterpret_cast<Boxed<Record>*>(self)->record = owned;
    return Ref(self);
}

// Creates a class "zodiakit.<name>" for a boxed record. `name` and the arrays behind
// `slots` must have static storage; a Python call of the class raises
// "No constructor defined for <name>".
PyTypeObject* create_type(const char* qualified_name, const char* doc, int basicsize,
                          destructor dealloc, std::initializer_list<PyType_Slot> slots);
template <typename Record>
PyTypeObject* create_boxed_type(const char* qualified_name, const char* doc,
                                std::initializer_list<PyType_Slot> slots) {
    return create_type(qualified_name, doc, static_cast<int>(sizeof(Boxed<Record>)),
                       &boxed_dealloc<Record>, slots);
}

}  // namespace zk::py
