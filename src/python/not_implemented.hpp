// Placeholder bodies for entry points whose features have not landed yet.
#pragma once

#include "python/py_core.hpp"

namespace zk::py {

inline PyObject* not_implemented(const char* what) {
    PyErr_Format(PyExc_NotImplementedError, "%s: not implemented yet", what);
    return nullptr;
}

// A class with no attributes yet, so that the module registers all seven classes.
struct Placeholder {};

}  // namespace zk::py
