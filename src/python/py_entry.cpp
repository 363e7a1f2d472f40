#include "python/py_entry.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>

namespace zk::py {
namespace {

// The state of the calling thread while it computes with the interpreter lock released
// (null while it holds the lock), and when it last ran the signal handlers.
thread_local PyThreadState* t_released = nullptr;
thread_local std::chrono::steady_clock::time_point t_last_signal_check{};

// How often a computation without the lock takes it back to run the signal handlers.
constexpr auto kSignalCheckInterval = std::chrono::milliseconds(5);

// Runs Python's signal handlers (Ctrl-C raises KeyboardInterrupt); true when one raised.
bool signal_raised() {
    if (!t_released) return PyErr_CheckSignals() != 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - t_last_signal_check < kSignalCheckInterval) return false;
    t_last_signal_check = now;
    PyEval_RestoreThread(t_released);
    const bool raised = PyErr_CheckSignals() != 0;
    t_released = PyEval_SaveThread();
    return raised;
}

std::string plural(size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// The callee as CPython's binding messages write it: "get_panchanga()".
std::string callee(const Entry& entry) {
    return std::string(entry.name) + "()";
}

// The name Python knows: "from_utc" for "Chart.from_utc".
const char* python_name(const Entry& entry) {
    const char* dot = std::strrchr(entry.name, '.');
    return dot ? dot + 1 : entry.name;
}

PyObject* raise_too_many(const Entry& entry, size_t given) {
    const size_t count = entry.positional;
    const std::string takes = entry.required == count
                                  ? plural(count, "positional argument")
                                  : "from " + std::to_string(entry.required) + " to " +
                                        plural(count, "positional argument");
    return raise_type_error(callee(entry) + " takes " + takes + " but " + std::to_string(given) +
                            (given == 1 ? " was" : " were") + " given");
}

PyObject* raise_missing(const Entry& entry, const std::vector<const char*>& missing) {
    std::string names;
    for (size_t i = 0; i < missing.size(); ++i) {
        if (i > 0) {
            names += missing.size() == 2 ? " and " : (i + 1 == missing.size() ? ", and " : ", ");
        }
        names += "'" + std::string(missing[i]) + "'";
    }
    return raise_type_error(callee(entry) + " missing " +
                            plural(missing.size(), "required positional argument") + ": " + names);
}

// The object a default literal of a row stands for: a plain string, True, False, a float or
// an integer.
PyObject* literal_object(std::string_view literal) {
    if (literal == "None") return new_none().release();
    if (literal == "True" || literal == "False") {
        PyObject* value = literal == "True" ? Py_True : Py_False;
        Py_INCREF(value);
        return value;
    }
    if (literal.size() >= 2 && literal.front() == '"' && literal.back() == '"' &&
        literal.find_first_of("\"\\", 1) == literal.size() - 1) {
        return new_str(literal.substr(1, literal.size() - 2)).release();
    }
    if (!literal.empty() && literal.find_first_not_of("-0123456789") == std::string_view::npos) {
        long long whole = 0;
        const auto [end, error] =
            std::from_chars(literal.data(), literal.data() + literal.size(), whole);
        if (error == std::errc() && end == literal.data() + literal.size()) {
            return PyLong_FromLongLong(whole);
        }
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (error != std::errc() || end != literal.data() + literal.size() ||
        literal.find('.') == std::string_view::npos) {
        throw InvariantFailure("unsupported default literal " + std::string(literal));
    }
    return PyFloat_FromDouble(value);
}

void prepare_entry(Entry& entry) {
    std::string text = std::string(python_name(entry)) + "(";
    if (entry.receiver == Receiver::Instance) text += entry.params.empty() ? "$self" : "$self, ";
    entry.required = 0;
    entry.positional = entry.params.size();
    for (size_t i = 0; i < entry.params.size(); ++i) {
        const Param& p = entry.params[i];
        if (i > 0) text += ", ";
        if (p.keyword_only && entry.positional == entry.params.size()) {
            entry.positional = i;
            text += "*, ";
        } else if (!p.keyword_only && entry.positional != entry.params.size()) {
            throw InvariantFailure(std::string(entry.name) + ": '" + p.name +
                                   "' follows a keyword-only parameter");
        }
        text += p.name;
        if (!p.default_literal) {
            if (i != entry.required) {
                throw InvariantFailure(std::string(entry.name) + ": '" + p.name +
                                       "' has no default but follows one that has");
            }
            ++entry.required;
            continue;
        }
        text += std::string("=") + p.default_literal;
        entry.defaults[i] = literal_object(p.default_literal);
        if (!entry.defaults[i]) throw std::bad_alloc();
    }
    entry.text = text + ")\n--\n\n" + entry.doc;
}

}  // namespace

// ---- Binding

std::optional<Args> Args::bind(const Entry& entry, PyObject* args, PyObject* kwargs) {
    Args bound(entry);
    const size_t count = entry.positional;
    const Py_ssize_t given = args ? PyTuple_Size(args) : 0;
    if (given < 0) return std::nullopt;
    // Keywords are matched before the positional count is checked, as CPython does, so a
    // keyword clash is reported even when there are also too many positionals.
    const size_t positional = std::min(static_cast<size_t>(given), count);
    for (size_t i = 0; i < positional; ++i) {
        bound.slots_[i] = PyTuple_GetItem(args, static_cast<Py_ssize_t>(i));
    }
    if (kwargs && !bound.bind_keywords(kwargs)) return std::nullopt;
    if (static_cast<size_t>(given) > count) {
        raise_too_many(entry, static_cast<size_t>(given));
        return std::nullopt;
    }
    if (!bound.fill_defaults()) return std::nullopt;
    return bound;
}

bool Args::bind_keywords(PyObject* kwargs) {
    PyObject* key = nullptr;
    PyObject* value = nullptr;
    Py_ssize_t pos = 0;
    while (PyDict_Next(kwargs, &pos, &key, &value)) {
        if (!PyUnicode_Check(key)) {
            raise_type_error(callee(*entry_) + " keywords must be strings");
            return false;
        }
        std::string_view name;
        if (!convert(key, name)) return false;
        const Params& params = entry_->params;
        const auto found = std::find_if(params.begin(), params.end(),
                                        [&](const Param& p) { return name == p.name; });
        if (found == params.end()) {
            raise_type_error(callee(*entry_) + " got an unexpected keyword argument '" +
                             std::string(name) + "'");
            return false;
        }
        PyObject*& slot = slots_[static_cast<size_t>(found - params.begin())];
        if (slot) {
            raise_type_error(callee(*entry_) + " got multiple values for argument '" +
                             std::string(name) + "'");
            return false;
        }
        slot = value;
    }
    return true;
}

bool Args::fill_defaults() {
    std::vector<const char*> missing;
    for (size_t i = 0; i < entry_->params.size(); ++i) {
        if (slots_[i]) continue;
        if (i < entry_->required) {
            missing.push_back(entry_->params[i].name);
        } else {
            slots_[i] = entry_->defaults[i];
        }
    }
    if (missing.empty()) return true;
    raise_missing(*entry_, missing);
    return false;
}

bool Args::load(size_t, Interrupted& out) const {
    // Lets Ctrl-C stop a long computation: a pending signal handler runs, and when it raises,
    // the computation stops and its exception (KeyboardInterrupt) stays set for the caller.
    // Without the lock it is taken back for the check, at most every few milliseconds.
    out = [] { return signal_raised(); };
    return true;
}

void Args::check_count(size_t converted) const {
    if (converted != entry_->params.size()) {
        throw InvariantFailure(std::string(entry_->name) +
                               ": the engine call takes other parameters than the row");
    }
}

// ---- The interpreter lock

LockReleased::LockReleased() : outer_(t_released) {
    t_released = PyEval_SaveThread();
}

LockReleased::~LockReleased() {
    PyEval_RestoreThread(t_released);
    t_released = outer_;
}

// ---- Method tables

void prepare_entries(std::span<Entry> entries) {
    for (Entry& entry : entries) {
        if (entry.text.empty()) prepare_entry(entry);
    }
}

PyMethodDef method_def(const Entry& entry, PyCFunction with_arguments,
                       PyCFunction without_arguments) {
    const bool takes_arguments = !entry.params.empty();
    int flags = takes_arguments ? METH_VARARGS | METH_KEYWORDS : METH_NOARGS;
    if (entry.receiver == Receiver::Class) flags |= METH_STATIC;
    return {python_name(entry), takes_arguments ? with_arguments : without_arguments, flags,
            entry.text.c_str()};
}

}  // namespace zk::py
