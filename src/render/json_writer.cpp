#include "render/json_writer.hpp"

#include <cmath>
#include <string>

#include "core/format.hpp"

namespace zk {

void JsonWriter::before_value() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!has_element_.empty()) {
        if (has_element_.back()) out_.push_back(',');
        has_element_.back() = true;
    }
}

JsonWriter& JsonWriter::open(char bracket) {
    before_value();
    out_.push_back(bracket);
    has_element_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    out_.push_back(bracket);
    has_element_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::begin_object() {
    return open('{');
}
JsonWriter& JsonWriter::end_object() {
    return close('}');
}
JsonWriter& JsonWriter::begin_array() {
    return open('[');
}
JsonWriter& JsonWriter::end_array() {
    return close(']');
}

JsonWriter& JsonWriter::key(std::string_view name) {
    before_value();
    write_string(name);
    out_.push_back(':');
    after_key_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    before_value();
    write_string(text);
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    before_value();
    if (std::isfinite(number)) {
        out_ += format_json_number(number);
    } else {
        out_ += "null";
    }
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    before_value();
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(uint64_t number) {
    before_value();
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    before_value();
    out_ += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    before_value();
    out_ += "null";
    return *this;
}

void JsonWriter::write_string(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_.push_back('"');
    for (char c : text) {
        switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\b':
                out_ += "\\b";
                break;
            case '\f':
                out_ += "\\f";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out_ += "\\u00";
                    out_.push_back(kHex[(c >> 4) & 0xF]);
                    out_.push_back(kHex[c & 0xF]);
                } else {
                    out_.push_back(c);
                }
        }
    }
    out_.push_back('"');
}

}  // namespace zk
