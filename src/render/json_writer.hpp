// A small streaming writer of compact JSON: members in the order written, shortest
// round-trip doubles that keep a fraction or exponent, NaN and infinities as null,
// standard escaping with lower-case \u00XX, UTF-8 written unescaped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

class JsonWriter {
  public:
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
    JsonWriter& null();

    const std::string& text() const { return out_; }
    std::string take() { return std::move(out_); }

  private:
    void before_value();
    void write_string(std::string_view text);

    std::string out_;
    // One entry per open container: true once it holds an element.
    std::vector<bool> has_element_;
    bool after_key_ = false;
};

}  // namespace zk
