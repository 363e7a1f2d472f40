// The binding layer's shared pieces: owned references, the one argument binder, the one
// error mapper, the trampoline that keeps C++ exceptions out of the interpreter, and small
// builders of Python values. Only this layer includes Python.h.
#pragma once

#include <Python.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.hpp"

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
PyObject* raise_value_error(std::string_view message);
PyObject* raise_type_error(std::string_view message);
// Any engine error becomes ValueError carrying its display text, except Interrupted, which
// keeps the exception the interrupt check raised.
PyObject* raise_error(const ZodiakitError& error);
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
bool convert(PyObject* obj, double& out);
bool convert(PyObject* obj, int32_t& out);
bool convert(PyObject* obj, uint32_t& out);
bool convert(PyObject* obj, bool& out);
bool convert(PyObject* obj, std::string& out);
std::optional<std::string> utf8_of(PyObject* obj);  // str only
std::string type_name(PyObject* obj);
// Re-raises a pending TypeError or OverflowError as the argument error of `param`:
// "argument '<param>': <message>", the original error as its cause.
void wrap_argument_error(const char* param);

// ---- Argument binding, shared by every function and method with parameters.
struct Signature {
    const char* name;  // as shown in messages, e.g. "get_panchanga" or "Chart.from_utc"
    std::vector<const char*> params;
    size_t required;  // leading parameters without a default
};

class Args {
  public:
    // Binds positional then keyword arguments with CPython's messages (TypeError).
    static std::optional<Args> bind(const Signature& signature, PyObject* args, PyObject* kwargs);

    // Each converter leaves `out` (the default) unchanged when the argument was omitted.
    // A failed conversion raises the argument error naming the parameter and returns false:
    // TypeError("argument 'latitude': ...") or OverflowError for integers out of range,
    // with the original error as the cause.
    template <typename T>
    bool get(size_t index, T& out) const {
        PyObject* obj = slots_[index];
        if (!obj) return true;
        if (convert(obj, out)) return true;
        wrap_argument_error(signature_->params[index]);
        return false;
    }

    // The bound object (borrowed) or nullptr when omitted.
    PyObject* raw(size_t index) const { return slots_[index]; }
    const char* name(size_t index) const { return signature_->params[index]; }

  private:
    const Signature* signature_ = nullptr;
    std::array<PyObject*, 16> slots_{};
};

// ---- Builders of new references (nullptr with an exception set on failure).
Ref new_str(std::string_view text);
Ref new_float(double value);
Ref new_int(long long value);
Ref new_bool(bool value);
Ref new_none();
// Stores `value` (consumed) under `key`; false with an exception set on failure.
bool dict_set(PyObject* dict, const char* key, Ref value);
bool list_append(PyObject* list, Ref value);
// A new list of str.
Ref new_str_list(const std::vector<std::string>& texts);

inline bool fill_dict(PyObject*) {
    return true;
}
template <typename... Rest>
bool fill_dict(PyObject* dict, const char* key, Ref value, Rest&&... rest) {
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

// A read-only attribute of a boxed class: `expr` builds a Ref from `r`, the record behind
// the instance. Runs inside `guarded` like every entry point.
#define ZK_GETTER(Record, field, expr)                            \
    {#field,                                                      \
     [](PyObject* self, void*) -> PyObject* {                     \
         return ::zk::py::guarded([&] {                           \
             const Record& r = ::zk::py::record_of<Record>(self); \
             return ::zk::py::Ref(expr).release();                \
         });                                                      \
     },                                                           \
     nullptr, nullptr, nullptr}

template <typename Record>
void boxed_dealloc(PyObject* self) {
    delete reinterpret_cast<Boxed<Record>*>(self)->record;
    PyTypeObject* type = Py_TYPE(self);
    auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    free_slot(self);
    Py_DECREF(type);
}

// Creates an instance of a boxed type owning `record`.
template <typename Record>
PyObject* wrap_record(PyTypeObject* type, Record record) {
    auto* owned = new Record(std::move(record));
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = alloc(type, 0);
    if (!self) {
        delete owned;
        return nullptr;
    }
    reinterpret_cast<Boxed<Record>*>(self)->record = owned;
    return self;
}

// Creates a class "zodiakit.<name>" for a boxed record. `name` and the arrays behind
// `slots` must have static storage; a Python call of the class raises
// "No constructor defined for <name>".
template <typename Record>
PyTypeObject* create_boxed_type(const char* qualified_name, const char* doc,
                                std::initializer_list<PyType_Slot> slots);
PyTypeObject* create_type(const char* qualified_name, const char* doc, int basicsize,
                          destructor dealloc, std::initializer_list<PyType_Slot> slots);

template <typename Record>
PyTypeObject* create_boxed_type(const char* qualified_name, const char* doc,
                                std::initializer_list<PyType_Slot> slots) {
    return create_type(qualified_name, doc, static_cast<int>(sizeof(Boxed<Record>)),
                       &boxed_dealloc<Record>, slots);
}

}  // namespace zk::py
