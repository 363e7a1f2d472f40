// The chart as JSON, dict, text and SVG.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "python/entry_points.hpp"
#include "render/chart_json.hpp"
#include "render/chart_text.hpp"
#include "render/html.hpp"
#include "render/json_writer.hpp"
#include "render/svg.hpp"

namespace zk::py {
namespace {

struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Builds the Python objects json.loads would make of the chart's JSON text, from the
// writer's events: dicts in member order, lists, str, float for every number written with
// a fraction or exponent, int for integers, True/False and None. Short texts (member names,
// planet and sign names) are made once per document. After the first failure (a Python
// exception is set) it ignores everything.
class PythonSink final : public JsonSink {
  public:
    Ref result() { return failed_ ? Ref() : std::move(root_); }

    void begin_object() override { open(PyDict_New()); }
    void end_object() override { stack_.pop_back(); }
    void begin_array() override { open(PyList_New(0)); }
    void end_array() override { stack_.pop_back(); }
    void key(std::string_view name) override {
        if (failed_) return;
        key_ = text(name);
        if (!key_) failed_ = true;
    }
    void string(std::string_view value) override { add(text(value)); }
    void number(double value) override { add(Ref(PyFloat_FromDouble(value))); }
    void integer(int64_t value) override { add(Ref(PyLong_FromLongLong(value))); }
    void unsigned_integer(uint64_t value) override { add(Ref(PyLong_FromUnsignedLongLong(value))); }
    void boolean(bool flag) override { add(Ref(PyBool_FromLong(flag))); }
    void null() override { add(Ref::borrow(Py_None)); }

  private:
    static constexpr size_t kLongestShared = 16;

    Ref text(std::string_view value) {
        if (value.size() > kLongestShared) {
            return Ref(
                PyUnicode_FromStringAndSize(value.data(), static_cast<Py_ssize_t>(value.size())));
        }
        const auto found = shared_.find(value);
        if (found != shared_.end()) return Ref::borrow(found->second.get());
        Ref made(PyUnicode_FromStringAndSize(value.data(), static_cast<Py_ssize_t>(value.size())));
        if (!made) return made;
        Ref kept = Ref::borrow(made.get());
        shared_.emplace(std::string(value), std::move(kept));
        return made;
    }

    // Puts `value` into the open container (under the pending key) or makes it the document.
    bool put(const Ref& value) {
        if (stack_.empty()) {
            root_ = Ref::borrow(value.get());
            return true;
        }
        PyObject* into = stack_.back();
        if (PyList_Check(into)) return PyList_Append(into, value.get()) == 0;
        const bool ok = PyDict_SetItem(into, key_.get(), value.get()) == 0;
        key_ = Ref();
        return ok;
    }

    void add(Ref value) {
        if (failed_) return;
        if (!value || !put(value)) failed_ = true;
    }

    void open(PyObject* made) {
        Ref container(made);
        if (failed_) return;
        if (!container || !put(container)) {
            failed_ = true;
            return;
        }
        stack_.push_back(container.get());  // owned by its parent, or by root_
    }

    Ref root_;
    Ref key_;
    std::vector<PyObject*> stack_;
    std::unordered_map<std::string, Ref, TextHash, std::equal_to<>> shared_;
    bool failed_ = false;
};

}  // namespace

Ref json_text(const Chart& chart) {
    // One buffer for the documents of the thread, so that a large one is not mapped and
    // unmapped afresh each time.
    thread_local std::string buffer;
    without_lock([&] { write_chart_text(buffer, chart); });
    Ref text = new_str(buffer);
    if (buffer.capacity() > (1u << 20)) std::string().swap(buffer);
    return text;
}

Ref json_dict(const Chart& chart) {
    PythonSink sink;
    JsonWriter writer(sink);
    write_chart(writer, chart);
    return sink.result();
}

Ref svg_text(const Chart& chart) {
    return new_str(chart_to_svg(chart));
}

Ref new_text(const std::string& text) {
    return new_str(text);
}

PyObject* draw_svg(PyObject* self, const Args& args) {
    return run(args, draw_chart, new_text, record_of<Chart>(self));
}

Ref html_text(const Chart& chart) {
    return new_str(chart_to_html(chart));
}

Ref panchanga_html(const Panchanga& panchanga) {
    return new_str(panchanga_to_html(panchanga));
}

Ref summary_text(const Chart& chart) {
    return new_str(chart_summary(chart));
}

Ref listing_text(const Chart& chart) {
    return new_str(chart_listing(chart));
}

}  // namespace zk::py
