#include "python/py_core.hpp"

#include <algorithm>
#include <climits>
#include <string>

namespace zk::py {
namespace {

PyObject* panic_exception_type() {
    static PyObject* type = PyErr_NewExceptionWithDoc(
        "zodiakit.PanicException", "An internal consistency check of zodiakit failed.",
        PyExc_BaseException, nullptr);
    return type;
}

std::string str_of(PyObject* obj) {
    Ref text(PyObject_Str(obj));
    if (!text) {
        PyErr_Clear();
        return "<exception str() failed>";
    }
    auto utf8 = utf8_of(text.get());
    if (!utf8) {
        PyErr_Clear();
        return "<exception str() failed>";
    }
    return *utf8;
}

std::string plural(size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

namespace {
// Messages quote user text, which may hold NUL characters; a C string would cut them short.
PyObject* raise_with_text(PyObject* type, std::string_view message) {
    Ref text = new_str(message);
    if (text) PyErr_SetObject(type, text.get());
    return nullptr;
}
}  // namespace

PyObject* raise_value_error(std::string_view message) {
    return raise_with_text(PyExc_ValueError, message);
}

PyObject* raise_type_error(std::string_view message) {
    return raise_with_text(PyExc_TypeError, message);
}

PyObject* raise_error(const ZodiakitError& error) {
    // A scan stops only when the signal check raised: its exception is already set.
    if (error.kind == ZodiakitError::Kind::Interrupted && PyErr_Occurred()) return nullptr;
    return raise_value_error(error.display());
}

PyObject* raise_panic(std::string_view message) {
    PyObject* type = panic_exception_type();
    if (!type) return nullptr;
    PyErr_SetString(type, std::string(message).c_str());
    return nullptr;
}

std::string type_name(PyObject* obj) {
    Ref name(PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj)), "__name__"));
    if (!name) {
        PyErr_Clear();
        return "object";
    }
    auto text = utf8_of(name.get());
    if (!text) {
        PyErr_Clear();
        return "object";
    }
    return *text;
}

std::optional<std::string> utf8_of(PyObject* obj) {
    if (!PyUnicode_Check(obj)) {
        PyErr_SetString(PyExc_TypeError,
                        ("'" + type_name(obj) + "' object cannot be converted to 'str'").c_str());
        return std::nullopt;
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(obj, &size);
    if (!data) return std::nullopt;
    return std::string(data, static_cast<size_t>(size));
}

// ---- Binder

std::optional<Args> Args::bind(const Signature& signature, PyObject* args, PyObject* kwargs) {
    Args bound;
    bound.signature_ = &signature;
    const size_t count = signature.params.size();
    // Built only for a message: binding succeeds far more often than it fails.
    auto fname = [&] { return std::string(signature.name) + "()"; };
    const Py_ssize_t given = args ? PyTuple_Size(args) : 0;
    if (given < 0) return std::nullopt;
    // Keywords are matched before the positional count is checked, as CPython does, so a
    // keyword clash is reported even when there are also too many positionals.
    const size_t positional = std::min(static_cast<size_t>(given), count);
    for (size_t i = 0; i < positional; ++i) {
        bound.slots_[i] = PyTuple_GetItem(args, static_cast<Py_ssize_t>(i));
    }
    if (kwargs) {
        PyObject* key = nullptr;
        PyObject* value = nullptr;
        Py_ssize_t pos = 0;
        while (PyDict_Next(kwargs, &pos, &key, &value)) {
            if (!PyUnicode_Check(key)) {
                raise_type_error(fname() + " keywords must be strings");
                return std::nullopt;
            }
            auto name = utf8_of(key);
            if (!name) return std::nullopt;
            size_t index = count;
            for (size_t i = 0; i < count; ++i) {
                if (*name == signature.params[i]) {
                    index = i;
                    break;
                }
            }
            if (index == count) {
                raise_type_error(fname() + " got an unexpected keyword argument '" + *name + "'");
                return std::nullopt;
            }
            if (bound.slots_[index]) {
                raise_type_error(fname() + " got multiple values for argument '" + *name + "'");
                return std::nullopt;
            }
            bound.slots_[index] = value;
        }
    }
    if (static_cast<size_t>(given) > count) {
        std::string takes = signature.required == count
                                ? plural(count, "positional argument")
                                : "from " + std::to_string(signature.required) + " to " +
                                      plural(count, "positional argument");
        std::string msg = fname() + " takes " + takes + " but " + std::to_string(given) +
                          (given == 1 ? " was" : " were") + " given";
        raise_type_error(msg);
        return std::nullopt;
    }
    std::vector<const char*> missing;
    for (size_t i = 0; i < signature.required; ++i) {
        if (!bound.slots_[i]) missing.push_back(signature.params[i]);
    }
    if (!missing.empty()) {
        std::string names;
        for (size_t i = 0; i < missing.size(); ++i) {
            if (i > 0)
                names +=
                    missing.size() == 2 ? " and " : (i + 1 == missing.size() ? ", and " : ", ");
            names += "'" + std::string(missing[i]) + "'";
        }
        raise_type_error(fname() + " missing " +
                         plural(missing.size(), "required positional argument") + ": " + names);
        return std::nullopt;
    }
    return bound;
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

namespace {
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
    if (!PyBool_Check(obj)) {
        PyErr_SetString(PyExc_TypeError,
                        ("'" + type_name(obj) + "' object cannot be converted to 'bool'").c_str());
        return false;
    }
    out = obj == Py_True;
    return true;
}

bool convert(PyObject* obj, std::string& out) {
    auto text = utf8_of(obj);
    if (!text) return false;
    out = std::move(*text);
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

bool dict_set(PyObject* dict, const char* key, Ref value) {
    if (!value) return false;
    return PyDict_SetItemString(dict, key, value.get()) == 0;
}

bool list_append(PyObject* list, Ref value) {
    if (!value) return false;
    return PyList_Append(list, value.get()) == 0;
}

Ref new_str_list(const std::vector<std::string>& texts) {
    Ref list(PyList_New(0));
    if (!list) return list;
    for (const std::string& text : texts) {
        if (!list_append(list.get(), new_str(text))) return Ref();
    }
    return list;
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
