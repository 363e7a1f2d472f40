// The ChartTable class: many charts as columns, without a Python object per chart. It hands
// its columns to Arrow readers (pyarrow, pandas, polars) through the Arrow PyCapsule
// interface, built with nanoarrow, and to plain Python as a dict of lists.
#include <cstdlib>

#include "nanoarrow/nanoarrow.h"
#include "python/entry_points.hpp"
#include "render/table.hpp"

namespace zk::py {
namespace {

using Type = TableColumn::Type;

// The Arrow type of each column type, in the order of TableColumn::Type.
constexpr ArrowType kArrowTypes[] = {NANOARROW_TYPE_DOUBLE, NANOARROW_TYPE_INT32,
                                     NANOARROW_TYPE_BOOL, NANOARROW_TYPE_STRING};

ArrowType arrow_type(Type type) {
    return kArrowTypes[static_cast<size_t>(type)];
}

void check(ArrowErrorCode code, const char* what) {
    if (code != NANOARROW_OK) throw InvariantFailure(std::string("Arrow export: ") + what);
}

// Owns an Arrow structure until it is handed over.
template <typename T>
struct Owned {
    T value{};
    Owned() { value.release = nullptr; }
    ~Owned() {
        if (value.release) value.release(&value);
    }
    T* get() { return &value; }
};

// A struct schema with one field per column, in order.
void make_schema(const ChartTable& table, ArrowSchema* schema) {
    ArrowSchemaInit(schema);
    check(ArrowSchemaSetTypeStruct(schema, static_cast<int64_t>(table.columns.size())), "schema");
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const TableColumn& c = table.columns[i];
        ArrowSchema* child = schema->children[i];
        check(ArrowSchemaSetType(child, arrow_type(c.type)), "field type");
        check(ArrowSchemaSetName(child, c.name.c_str()), "field name");
        if (c.missing == 0) child->flags &= ~ARROW_FLAG_NULLABLE;
    }
}

void append_column(const TableColumn& c, ArrowArray* array) {
    for (size_t row = 0; row < c.present.size(); ++row) {
        if (!c.present[row]) {
            check(ArrowArrayAppendNull(array, 1), "null");
            continue;
        }
        switch (c.type) {
            case Type::Float64:
                check(ArrowArrayAppendDouble(array, c.floats[row]), "value");
                break;
            case Type::Int32:
                check(ArrowArrayAppendInt(array, c.ints[row]), "value");
                break;
            case Type::Bool:
                check(ArrowArrayAppendInt(array, c.bools[row]), "value");
                break;
            case Type::Text: {
                const std::string& text = c.texts[row];
                const ArrowStringView view{text.data(), static_cast<int64_t>(text.size())};
                check(ArrowArrayAppendString(array, view), "value");
                break;
            }
        }
    }
}

// The table as one struct array (one record batch) of `schema`.
void make_array(const ChartTable& table, const ArrowSchema* schema, ArrowArray* array) {
    ArrowError error;
    check(ArrowArrayInitFromSchema(array, const_cast<ArrowSchema*>(schema), &error), error.message);
    check(ArrowArrayStartAppending(array), "start");
    for (size_t i = 0; i < table.columns.size(); ++i) {
        append_column(table.columns[i], array->children[i]);
    }
    // Every row is valid: the struct's length is its columns', and it needs no validity bitmap.
    array->length = static_cast<int64_t>(table.rows);
    array->null_count = 0;
    check(ArrowArrayFinishBuildingDefault(array, &error), error.message);
}

// Capsules own what they hold: a structure still unreleased when the capsule dies (its
// consumer did not take it) is released, then freed.
template <typename T>
void free_capsule(PyObject* capsule, const char* name) {
    auto* value = static_cast<T*>(PyCapsule_GetPointer(capsule, name));
    if (!value) {
        PyErr_Clear();
        return;
    }
    if (value->release) value->release(value);
    std::free(value);
}
void free_schema_capsule(PyObject* capsule) {
    free_capsule<ArrowSchema>(capsule, "arrow_schema");
}
void free_array_capsule(PyObject* capsule) {
    free_capsule<ArrowArray>(capsule, "arrow_array");
}
void free_stream_capsule(PyObject* capsule) {
    free_capsule<ArrowArrayStream>(capsule, "arrow_array_stream");
}

// Moves `source` into a new capsule.
template <typename T>
Ref capsule_of(T* source, const char* name, PyCapsule_Destructor destructor) {
    auto* moved = static_cast<T*>(std::malloc(sizeof(T)));
    if (!moved) return Ref(PyErr_NoMemory());
    *moved = *source;
    source->release = nullptr;
    Ref capsule(PyCapsule_New(moved, name, destructor));
    if (!capsule) {
        if (moved->release) moved->release(moved);
        std::free(moved);
    }
    return capsule;
}

Ref schema_capsule(const ChartTable& table) {
    Owned<ArrowSchema> schema;
    make_schema(table, schema.get());
    return capsule_of(schema.get(), "arrow_schema", &free_schema_capsule);
}

PyObject* arrow_schema(PyObject* self, const Args&) {
    return schema_capsule(record_of<ChartTable>(self)).release();
}

// The table behind `self` as an Arrow schema and one struct array of it.
void export_table(PyObject* self, ArrowSchema* schema, ArrowArray* array) {
    const ChartTable& table = record_of<ChartTable>(self);
    make_schema(table, schema);
    make_array(table, schema, array);
}

PyObject* arrow_array(PyObject* self, const Args&) {
    Owned<ArrowSchema> schema;
    Owned<ArrowArray> array;
    export_table(self, schema.get(), array.get());
    Ref schema_object = capsule_of(schema.get(), "arrow_schema", &free_schema_capsule);
    if (!schema_object) return nullptr;
    Ref array_object = capsule_of(array.get(), "arrow_array", &free_array_capsule);
    if (!array_object) return nullptr;
    return PyTuple_Pack(2, schema_object.get(), array_object.get());
}

PyObject* arrow_stream(PyObject* self, const Args&) {
    Owned<ArrowSchema> schema;
    Owned<ArrowArray> array;
    export_table(self, schema.get(), array.get());
    Owned<ArrowArrayStream> stream;
    check(ArrowBasicArrayStreamInit(stream.get(), schema.get(), 1), "stream");
    schema.value.release = nullptr;  // the stream owns it now
    ArrowBasicArrayStreamSetArray(stream.get(), 0, array.get());
    array.value.release = nullptr;
    return capsule_of(stream.get(), "arrow_array_stream", &free_stream_capsule).release();
}

Ref column_list(const TableColumn& c) {
    Ref list(PyList_New(static_cast<Py_ssize_t>(c.present.size())));
    if (!list) return list;
    for (size_t row = 0; row < c.present.size(); ++row) {
        Ref value;
        if (!c.present[row]) {
            value = new_none();
        } else {
            switch (c.type) {
                case Type::Float64:
                    value = new_float(c.floats[row]);
                    break;
                case Type::Int32:
                    value = new_int(c.ints[row]);
                    break;
                case Type::Bool:
                    value = new_bool(c.bools[row] != 0);
                    break;
                case Type::Text:
                    value = new_str(c.texts[row]);
                    break;
            }
        }
        if (!value) return Ref();
        PyList_SetItem(list.get(), static_cast<Py_ssize_t>(row), value.release());
    }
    return list;
}

Ref table_dict(const ChartTable& table) {
    return dict_of(table.columns, [](const TableColumn& c) {
        return std::pair{new_str(c.name), column_list(c)};
    });
}

Ref column_names(const ChartTable& table) {
    return list_of(table.columns, [](const TableColumn& c) { return new_str(c.name); });
}

Ref row_count(const ChartTable& table) {
    return new_int(static_cast<long long>(table.rows));
}

Ref table_text(const ChartTable& table) {
    return new_str("<ChartTable: " + std::to_string(table.rows) + " rows, " +
                   std::to_string(table.columns.size()) + " columns>");
}

Py_ssize_t table_length(PyObject* self) {
    return static_cast<Py_ssize_t>(record_of<ChartTable>(self).rows);
}

constexpr auto kInstance = Receiver::Instance;
constexpr Params kRequestedSchema{{"requested_schema", "None"}};

Entry kTableMethods[] = {
    {"ChartTable.to_pydict",
     kInstance,
     {},
     shows<table_dict>,
     "The columns as plain Python lists.\n"
     "\n"
     "Returns:\n"
     "    dict: column name to its list of values, in column order; None where a value is\n"
     "        missing."},
    {"ChartTable.column_names",
     kInstance,
     {},
     shows<column_names>,
     "The names of the table's columns.\n"
     "\n"
     "Returns:\n"
     "    list[str]: the column names in column order."},
    {"ChartTable.num_rows",
     kInstance,
     {},
     shows<row_count>,
     "The number of rows: one per input chart.\n"
     "\n"
     "Returns:\n"
     "    int: the row count."},
    {"ChartTable.__arrow_c_schema__",
     kInstance,
     {},
     arrow_schema,
     "The table's Arrow schema (a struct of its columns) in a PyCapsule."},
    {"ChartTable.__arrow_c_array__", kInstance, kRequestedSchema, arrow_array,
     "The table as one Arrow struct array: a PyCapsule pair (schema, array)."},
    {"ChartTable.__arrow_c_stream__", kInstance, kRequestedSchema, arrow_stream,
     "The table as an Arrow array stream of one record batch, in a PyCapsule."},
    {"ChartTable.__copy__", kInstance, {}, same_object},
    {"ChartTable.__deepcopy__", kInstance, Params{{"memo"}}, same_object},
};

}  // namespace

Ref wrap_table(ChartTable table) {
    return wrap(Class::ChartTable, std::move(table));
}

PyTypeObject* create_chart_table_type() {
    return create_boxed_type<ChartTable>(
        "zodiakit.ChartTable",
        "Charts as columns, one row per chart (compute_chart_table). pyarrow.table(t), "
        "polars.DataFrame(t) and pandas (through pyarrow) read it without copying per chart.",
        {{Py_tp_methods, method_table<kTableMethods>()},
         {Py_tp_repr, reinterpret_cast<void*>(&show_slot<table_text>)},
         {Py_sq_length, reinterpret_cast<void*>(&table_length)}});
}

}  // namespace zk::py
