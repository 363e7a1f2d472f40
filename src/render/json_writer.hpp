// A small streaming writer of compact JSON: members in the order written, shortest
// round-trip doubles that keep a fraction or exponent, NaN and infinities as null, an
// empty optional as null, standard escaping with lower-case \u00XX, UTF-8 written
// unescaped. The writer trusts its caller: it fails nothing and checks no nesting.
// Text is appended to one buffer, numbers formatted in place; a writer given a JsonSink
// writes no text and hands the same events to the sink instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.hpp"

namespace zk {

// The longest text write_json_number writes.
inline constexpr size_t kJsonNumberMax = 32;
// A finite double as the writer writes it (shortest round-trip digits with a fraction or an
// exponent) at `at`; returns the end.
char* write_json_number(char* at, double finite);
// The room write_json_string may need for a text of `size` bytes.
constexpr size_t json_string_room(size_t size) {
    return 6 * size + 2;
}
// `text` between quotes with the writer's escaping at `at`; returns the end.
char* write_json_string(char* at, std::string_view text);

// Receives a document as events, in writing order: what a JsonWriter would have written.
// Non-finite numbers and empty optionals arrive as null.
class JsonSink {
  public:
    virtual ~JsonSink() = default;
    virtual void begin_object() = 0;
    virtual void end_object() = 0;
    virtual void begin_array() = 0;
    virtual void end_array() = 0;
    virtual void key(std::string_view name) = 0;
    virtual void string(std::string_view text) = 0;
    virtual void number(double value) = 0;
    virtual void integer(int64_t value) = 0;
    virtual void unsigned_integer(uint64_t value) = 0;
    virtual void boolean(bool flag) = 0;
    virtual void null() = 0;
};

class JsonWriter {
  public:
    JsonWriter() = default;
    // Text, with room for `expected_size` bytes reserved up front.
    explicit JsonWriter(size_t expected_size) { own_.reserve(expected_size); }
    // Text appended to `buffer` (not owned), which keeps its capacity from one document to
    // the next.
    explicit JsonWriter(std::string& buffer) : out_(buffer) {}
    // Events for `sink` (not owned) instead of text.
    explicit JsonWriter(JsonSink& sink) : sink_(&sink) {}

    JsonWriter& begin_object();
    JsonWriter& end_object();
    JsonWriter& begin_array();
    JsonWriter& end_array();
    // The next member's key; the value follows with one of the value calls.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(double number);
    JsonWriter& value(int64_t number);
    JsonWriter& value(uint64_t number);
    JsonWriter& value(int number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<uint64_t>(number)); }
    JsonWriter& value(bool flag);
    // An instant as 2000-01-01T12:00:00Z (format_rfc3339_z).
    JsonWriter& value(const UtcDateTime& instant);
    JsonWriter& null();
    // The value, or null when there is none.
    template <typename T>
    JsonWriter& value(const std::optional<T>& maybe) {
        return maybe ? value(*maybe) : null();
    }

    // Members in order from name, value pairs: members("house", 1u, "cusp", 82.5).
    template <typename Value, typename... Rest>
    JsonWriter& members(std::string_view name, const Value& member_value, const Rest&... rest) {
        key(name).value(member_value);
        if constexpr (sizeof...(rest) > 0) members(rest...);
        return *this;
    }

    const std::string& text() const { return out_; }
    std::string take() { return std::move(out_); }

    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

  private:
    JsonWriter& open(char bracket);
    JsonWriter& close(char bracket);
    void before_value();
    // One scalar: handed to the sink when there is one, else written as text.
    template <typename ToSink, typename ToText>
    JsonWriter& scalar(ToSink to_sink, ToText to_text) {
        if (sink_) {
            to_sink(*sink_);
            return *this;
        }
        before_value();
        to_text(out_);
        return *this;
    }
    void write_string(std::string_view text);

    std::string own_;
    std::string& out_ = own_;
    JsonSink* sink_ = nullptr;
    // One entry per open container: 1 once it holds an element.
    std::vector<uint8_t> has_element_;
    bool after_key_ = false;
};

}  // namespace zk
