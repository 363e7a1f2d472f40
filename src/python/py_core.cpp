#include "python/py_core.hpp"

#include <array>
#include <climits>
#include <cstdint>
#include <string>

namespace zk::py {
namespace {

PyObject* panic_exception_type() {
    static PyObject* type = PyErr_NewExceptionWithDoc(
        "zodiakit.PanicException", "An internal consistency check of zodiakit failed.",
        PyExc_BaseException, nullptr);
    return type;
}

// Messages quote user text, which may hold NUL characters; a C string would cut them short.
PyObject* raise_with_text(PyObject* type, std::string_view message) {
    Ref text = new_str(message);
    if (text) PyErr_SetObject(type, text.get());
    return nullptr;
}

// The text of a str just made, or `fallback` (no exception left set) when there is none.
std::string text_or(Ref text, const char* fallback) {
    std::string_view view;
    if (text && convert(text.get(), view)) return std::string(view);
    PyErr_Clear();
    return fallback;
}

std::string str_of(PyObject* obj) {
    return text_or(Ref(PyObject_Str(obj)), "<exception str() failed>");
}

// Integer conversion with range checks.
std::optional<long long> to_integer(PyObject* obj, long long min, long long max) {
    Ref index(PyNumber_Index(obj));
    if (!index) return std::nullopt;
    int overflow = 0;
    long long value = PyLong_AsLongLongAndOverflow(index.get(), &overflow);
    if (value == -1 && PyErr_Occurred()) return std::nullopt;
    if (overflow != 0 || value < min || value > max) {
        PyErr_SetString(PyExc_OverflowError,
                        min == 0 && (overflow < 0 || value < 0)
                            ? "can't convert negative int to unsigned"
                            : "out of range integral type conversion attempted");
        return std::nullopt;
    }
    return value;
}

}  // namespace

// ---- Raising

PyObject* raise_type_error(std::string_view message) {
    return raise_with_text(PyExc_TypeError, message);
}

PyObject* raise_error(const ZodiakitError& error) {
    if (PyErr_Occurred()) return nullptr;
    return raise_with_text(PyExc_ValueError, error.display());
}

PyObject* raise_error(const std::string& message) {
    return raise_with_text(PyExc_ValueError, message);
}

PyObject* raise_panic(std::string_view message) {
    PyObject* type = panic_exception_type();
    if (!type) return nullptr;
    PyErr_SetString(type, std::string(message).c_str());
    return nullptr;
}

// ---- Conversions

std::string type_name(PyObject* obj) {
    return text_or(
        Ref(PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj)), "__name__")),
        "object");
}

bool refuse_conversion(PyObject* obj, std::string_view target) {
    raise_type_error("'" + type_name(obj) + "' object cannot be converted to '" +
                     std::string(target) + "'");
    return false;
}

void wrap_argument_error(const char* param) {
    PyObject *type = nullptr, *value = nullptr, *traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    if (!type) return;
    PyErr_NormalizeException(&type, &value, &traceback);
    if (traceback && value) PyException_SetTraceback(value, traceback);
    Ref cause(value);
    Ref owned_type(type);
    Ref owned_tb(traceback);
    const bool is_type_error = PyErr_GivenExceptionMatches(type, PyExc_TypeError);
    const bool is_overflow = PyErr_GivenExceptionMatches(type, PyExc_OverflowError);
    if (!is_type_error && !is_overflow) {
        PyErr_Restore(owned_type.release(), cause.release(), owned_tb.release());
        return;
    }
    PyObject* new_type = is_type_error ? PyExc_TypeError : PyExc_OverflowError;
    const std::string message = "argument '" + std::string(param) + "': " + str_of(cause.get());
    Ref error(PyObject_CallFunction(new_type, "s", message.c_str()));
    if (!error) return;
    PyException_SetCause(error.get(), cause.release());
    PyErr_SetObject(new_type, error.get());
}

bool convert(PyObject* obj, double& out) {
    double value = PyFloat_AsDouble(obj);
    if (value == -1.0 && PyErr_Occurred()) return false;
    out = value;
    return true;
}

bool convert(PyObject* obj, int32_t& out) {
    auto value = to_integer(obj, INT32_MIN, INT32_MAX);
    if (!value) return false;
    out = static_cast<int32_t>(*value);
    return true;
}

bool convert(PyObject* obj, uint32_t& out) {
    auto value = to_integer(obj, 0, UINT32_MAX);
    if (!value) return false;
    out = static_cast<uint32_t>(*value);
    return true;
}

bool convert(PyObject* obj, bool& out) {
    if (!PyBool_Check(obj)) return refuse_conversion(obj, "bool");
    out = obj == Py_True;
    return true;
}

bool convert(PyObject* obj, std::string_view& out) {
    if (!PyUnicode_Check(obj)) return refuse_conversion(obj, "str");
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(obj, &size);
    if (!data) return false;
    out = std::string_view(data, static_cast<size_t>(size));
    return true;
}

// ---- Builders

Ref new_str(std::string_view text) {
    return Ref(PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size())));
}
Ref new_float(double value) {
    return Ref(PyFloat_FromDouble(value));
}
Ref new_int(long long value) {
    return Ref(PyLong_FromLongLong(value));
}
Ref new_bool(bool value) {
    return Ref(PyBool_FromLong(value ? 1 : 0));
}
Ref new_none() {
    return Ref::borrow(Py_None);
}

Ref to_python(Planet planet) {
    return Ref::borrow(kept_name(planet, planet_name(planet)));
}
Ref to_python(Sign sign) {
    return Ref::borrow(kept_name(sign, sign_name(sign)));
}
Ref to_python(Nakshatra nakshatra) {
    return Ref::borrow(kept_name(nakshatra, nakshatra_name(nakshatra)));
}

Ref new_str_list(const std::vector<std::string>& texts) {
    return list_of(texts, new_str);
}

namespace {

// The interned str of each key literal, found by the literal's address (open addressing; the
// interpreter lock guards it). Nothing when the table is full: the caller makes its own.
PyObject* key_object(const char* literal) {
    constexpr size_t kSlots = 2048;
    struct Slot {
        const char* literal;
        PyObject* str;
    };
    static std::array<Slot, kSlots> slots{};
    const size_t home = static_cast<size_t>(
        (reinterpret_cast<uintptr_t>(literal) >> 3) * 0x9E3779B97F4A7C15ULL >> 53);
    for (size_t probe = 0; probe < kSlots; ++probe) {
        Slot& slot = slots[(home + probe) % kSlots];
        if (slot.literal == literal) return slot.str;
        if (!slot.literal) {
            PyObject* str = PyUnicode_InternFromString(literal);
            if (!str) return nullptr;
            // Making the str may have let another thread fill this very slot.
            if (slot.literal) return str;  // kept for the life of the process all the same
            slot = Slot{literal, str};
            return str;
        }
    }
    return nullptr;
}

}  // namespace

bool dict_set(PyObject* dict, Key key, Ref value) {
    if (!value) return false;
    if (PyObject* str = key_object(key.text())) return PyDict_SetItem(dict, str, value.get()) == 0;
    if (PyErr_Occurred()) return false;
    return PyDict_SetItemString(dict, key.text(), value.get()) == 0;
}

Ref json_loads(std::string_view text) {
    Ref json(PyImport_ImportModule("json"));
    if (!json) return Ref();
    Ref loads(PyObject_GetAttrString(json.get(), "loads"));
    if (!loads) return Ref();
    Ref arg = new_str(text);
    if (!arg) return Ref();
    return Ref(PyObject_CallFunctionObjArgs(loads.get(), arg.get(), nullptr));
}

// ---- Classes

namespace {
PyObject* no_constructor(PyTypeObject* type, PyObject*, PyObject*) {
    Ref name(PyObject_GetAttrString(reinterpret_cast<PyObject*>(type), "__name__"));
    if (!name) return nullptr;
    PyErr_Format(PyExc_TypeError, "No constructor defined for %U", name.get());
    return nullptr;
}
}  // namespace

PyTypeObject* create_type(const char* qualified_name, const char* doc, int basicsize,
                          destructor dealloc, std::initializer_list<PyType_Slot> slots) {
    std::vector<PyType_Slot> all(slots);
    all.push_back({Py_tp_new, reinterpret_cast<void*>(&no_constructor)});
    all.push_back({Py_tp_dealloc, reinterpret_cast<void*>(dealloc)});
    if (doc) all.push_back({Py_tp_doc, const_cast<char*>(doc)});
    all.push_back({0, nullptr});
    unsigned int flags = Py_TPFLAGS_DEFAULT;
#ifdef Py_TPFLAGS_IMMUTABLETYPE
    flags |= Py_TPFLAGS_IMMUTABLETYPE;
#endif
    PyType_Spec type_spec{qualified_name, basicsize, 0, flags, all.data()};
    return reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&type_spec));
}

}  // namespace zk::py
