// The Panchanga class and get_panchanga.
#include "python/entry_points.hpp"
#include "python/not_implemented.hpp"

namespace zk::py {

PyTypeObject* create_panchanga_type() {
    return create_boxed_type<Placeholder>("zodiakit.Panchanga", nullptr, {});
}
PyObject* get_panchanga(PyObject*, PyObject*) { return not_implemented("get_panchanga"); }

}  // namespace zk::py
