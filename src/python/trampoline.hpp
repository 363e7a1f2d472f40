// Adapters from the entry points to CPython's calling conventions, each run inside `guarded`.
#pragma once

#include "python/py_core.hpp"

namespace zk::py {

template <PyObject* (*Body)(PyObject*, PyObject*)>
PyObject* with_keywords(PyObject*, PyObject* args, PyObject* kwargs) {
    return guarded([&] { return Body(args, kwargs); });
}

template <PyObject* (*Body)(PyObject*, PyObject*, PyObject*)>
PyObject* method_with_keywords(PyObject* self, PyObject* args, PyObject* kwargs) {
    return guarded([&] { return Body(self, args, kwargs); });
}

template <PyObject* (*Body)(PyObject*)>
PyObject* no_arguments(PyObject* self, PyObject*) {
    return guarded([&] { return Body(self); });
}

template <PyObject* (*Body)(PyObject*)>
PyObject* unary_slot(PyObject* self) {
    return guarded([&] { return Body(self); });
}

// CPython stores every method as a PyCFunction; the flags tell it the real signature.
template <typename F>
PyCFunction as_cfunction(F* f) {
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

}  // namespace zk::py
