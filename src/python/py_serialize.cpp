// The chart as JSON, dict, text and SVG.
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "python/entry_points.hpp"
#include "render/chart_document.hpp"
#include "render/chart_json.hpp"
#include "render/chart_text.hpp"
#include "render/html.hpp"
#include "render/json_writer.hpp"
#include "render/svg.hpp"

namespace zk::py {
namespace {

// A str made once for the process and kept: member names and the names of the
// vocabularies, interned like the names in Python source.
PyObject* kept_str(std::string_view text) {
    PyObject* made = PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
    if (made) PyUnicode_InternInPlace(&made);
    return made;
}

template <KeyName Name>
PyObject* member_name() {
    static PyObject* name = nullptr;  // kept for the life of the process
    if (!name) name = kept_str(zk::Key<Name>::name);
    return name;
}

// The kept name of each value of a vocabulary.
template <typename Enum, std::string_view (*NameOf)(Enum)>
PyObject* enum_name(Enum item) {
    return kept_name(item, NameOf(item));
}

// Builds the Python objects json.loads would make of the chart's JSON text, from the
// records themselves: dicts in member order, lists made at their final size, str, float
// for every number written with a fraction or exponent, int for integers, True/False and
// None. Member names, vocabulary names and small number keys are str objects kept for the
// process; equal instants in the dasha tree share one str. After the first failure (a
// Python exception is set) it ignores everything.
class PythonObjects {
  public:
    Ref result() { return failed_ ? Ref() : std::move(root_); }

    void begin_object() { open(PyDict_New()); }
    void end_object() { close(); }
    void begin_array(size_t count) { open(PyList_New(static_cast<Py_ssize_t>(count))); }
    void end_array() { close(); }

    template <KeyName Name>
    void key(zk::Key<Name>) {
        set_key(member_name<Name>());
    }
    void key(std::string_view name) {
        made_key_ = new_str(name);
        set_key(made_key_.get());
    }
    void key(Planet planet) { set_key(enum_name<Planet, planet_name>(planet)); }
    void key(uint32_t number) {
        static std::array<PyObject*, 64> small{};  // the varga numbers
        if (number < small.size()) {
            if (!small[number]) small[number] = kept_str(std::to_string(number));
            return set_key(small[number]);
        }
        made_key_ = new_str(std::to_string(number));
        set_key(made_key_.get());
    }

    void value(std::string_view text) { add(new_str(text)); }
    void value(Planet planet) { add_kept(enum_name<Planet, planet_name>(planet)); }
    void value(Sign sign) { add_kept(enum_name<Sign, sign_name>(sign)); }
    void value(Nakshatra nakshatra) { add_kept(enum_name<Nakshatra, nakshatra_name>(nakshatra)); }
    void value(Karaka karaka) { add_kept(enum_name<Karaka, karaka_name>(karaka)); }
    void value(double number) {
        if (!std::isfinite(number)) return null();
        add(Ref(PyFloat_FromDouble(number)));
    }
    void value(unsigned number) { add(Ref(PyLong_FromUnsignedLong(number))); }
    void value(bool flag) { add_kept(flag ? Py_True : Py_False); }
    void value(const UtcDateTime& t) { add(new_str(format_rfc3339_z(t))); }
    void value(Instant instant) {
        if (failed_) return;
        add_kept(instant_text(instant.seconds));
    }
    void null() { add_kept(Py_None); }

    // The dasha tree, most of the document, built without the generic steps; member names
    // and order as document::dasha_period gives them.
    void dasha_periods(const std::vector<DashaPeriod>& periods) {
        if (failed_) return;
        Ref list = period_list(periods);
        if (!list || !put(list.release())) failed_ = true;
    }

  private:
    Ref period_list(const std::vector<DashaPeriod>& periods) {
        PyObject* const lord_name = member_name<"lord_name">();
        PyObject* const start = member_name<"start">();
        PyObject* const end = member_name<"end">();
        PyObject* const sub_periods = member_name<"sub_periods">();
        if (!lord_name || !start || !end || !sub_periods) return Ref();
        Ref list(PyList_New(static_cast<Py_ssize_t>(periods.size())));
        if (!list) return list;
        Py_ssize_t index = 0;
        for (const DashaPeriod& d : periods) {
            Ref period(PyDict_New());
            if (!period) return period;
            // Each instant goes in before the next is looked up: that may replace its slot.
            PyObject* lord = enum_name<Planet, planet_name>(d.lord);
            if (!lord || PyDict_SetItem(period.get(), lord_name, lord) != 0) return Ref();
            PyObject* text = instant_text(d.start);
            if (!text || PyDict_SetItem(period.get(), start, text) != 0) return Ref();
            text = instant_text(d.end);
            if (!text || PyDict_SetItem(period.get(), end, text) != 0) return Ref();
            Ref subs = period_list(d.sub_periods);
            if (!subs || PyDict_SetItem(period.get(), sub_periods, subs.get()) != 0) return Ref();
            PyList_SetItem(list.get(), index++, period.release());  // in range: cannot fail
        }
        return list;
    }

    // The str of an instant, borrowed from the document's cache (valid until the next call).
    PyObject* instant_text(int64_t seconds) {
        SharedInstant& slot = instants_[static_cast<size_t>(
            (static_cast<uint64_t>(seconds) * 0x9E3779B97F4A7C15u) >> 60)];
        if (!slot.text || slot.seconds != seconds) {
            char text[kInstantTextMax];
            slot.text =
                new_str({text, static_cast<size_t>(write_instant_text(text, seconds) - text)});
            slot.seconds = seconds;
        }
        return slot.text.get();
    }

    struct Open {
        PyObject* container;  // owned by its parent, or by root_
        Py_ssize_t next;      // the next index of a list; -1 for a dict
    };
    struct SharedInstant {
        int64_t seconds = 0;
        Ref text;
    };

    void set_key(PyObject* name) {
        key_ = name;
        if (!name) failed_ = true;
    }

    // Puts `value` (a new reference) into the open container or makes it the document.
    bool put(PyObject* value) {
        if (stack_.empty()) {
            root_ = Ref(value);
            return true;
        }
        Open& into = stack_.back();
        if (into.next < 0) {
            const bool ok = PyDict_SetItem(into.container, key_, value) == 0;
            Py_DECREF(value);
            return ok;
        }
        return PyList_SetItem(into.container, into.next++, value) == 0;  // steals
    }

    void add(Ref value) {
        if (failed_) return;
        if (!value || !put(value.release())) failed_ = true;
    }
    void add_kept(PyObject* kept) {
        if (failed_) return;
        if (!kept) {
            failed_ = true;
            return;
        }
        Py_INCREF(kept);
        if (!put(kept)) failed_ = true;
    }

    void open(PyObject* made) {
        if (failed_ || !made) {
            Py_XDECREF(made);
            failed_ = true;
            return;
        }
        const Py_ssize_t first = PyList_Check(made) ? 0 : -1;
        if (!put(made)) {
            failed_ = true;
            return;
        }
        stack_.push_back({made, first});
    }

    // After a failure the containers are no longer followed.
    void close() {
        if (!failed_) stack_.pop_back();
    }

    Ref root_;
    PyObject* key_ = nullptr;  // borrowed: kept, or held by made_key_
    Ref made_key_;
    std::vector<Open> stack_;
    std::array<SharedInstant, 16> instants_{};
    bool failed_ = false;
};

// The cyclic collector held off while a document is built: the new objects form a tree,
// none of them garbage before it is complete, and the collections their number would
// start midway are left to the next allocation after it (none at all when the caller drops
// the result at once). A collector the caller disabled stays disabled.
class CollectorHeldOff {
  public:
    CollectorHeldOff() : was_enabled_(PyGC_Disable() == 1) {}
    ~CollectorHeldOff() {
        if (was_enabled_) PyGC_Enable();
    }
    CollectorHeldOff(const CollectorHeldOff&) = delete;
    CollectorHeldOff& operator=(const CollectorHeldOff&) = delete;

  private:
    bool was_enabled_;
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
    const CollectorHeldOff held_off;
    PythonObjects objects;
    emit_chart(objects, chart);
    return objects.result();
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
