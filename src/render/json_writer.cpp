#include "render/json_writer.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "core/format.hpp"

namespace zk {
namespace {

void append_integer(std::string& out, auto number) {
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number);
    out.append(buf, static_cast<size_t>(end - buf));
}

// format_json_number in place: the shortest digits that read back to the value, laid out
// plainly with at least one decimal (".0") from 1e-5 up to 1e16, else as 1.5e-7 or 2e16.
void append_number(std::string& out, double value) {
    if (std::signbit(value)) out.push_back('-');
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        out += "0.0";
        return;
    }
    char buf[40];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const char* e = static_cast<const char*>(std::memchr(buf, 'e', static_cast<size_t>(end - buf)));
    char digits[24];
    int n = 0;
    for (const char* c = buf; c != e; ++c) {
        if (*c != '.') digits[n++] = *c;
    }
    const char* exp_text = e + 1;
    if (*exp_text == '+') ++exp_text;
    int exponent = 0;
    std::from_chars(exp_text, end, exponent);
    if (exponent < -5 || exponent >= 16) {
        out.push_back(digits[0]);
        if (n > 1) {
            out.push_back('.');
            out.append(digits + 1, static_cast<size_t>(n - 1));
        }
        out.push_back('e');
        append_integer(out, exponent);
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<size_t>(n));
    } else if (exponent + 1 >= n) {
        out.append(digits, static_cast<size_t>(n));
        out.append(static_cast<size_t>(exponent + 1 - n), '0');
        out += ".0";
    } else {
        out.append(digits, static_cast<size_t>(exponent + 1));
        out.push_back('.');
        out.append(digits + exponent + 1, static_cast<size_t>(n - exponent - 1));
    }
}

void two_digits(char* at, unsigned value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

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
    if (sink_) {
        bracket == '{' ? sink_->begin_object() : sink_->begin_array();
        return *this;
    }
    before_value();
    out_.push_back(bracket);
    has_element_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    if (sink_) {
        bracket == '}' ? sink_->end_object() : sink_->end_array();
        return *this;
    }
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
    if (sink_) {
        sink_->key(name);
        return *this;
    }
    before_value();
    write_string(name);
    out_.push_back(':');
    after_key_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    return scalar([text](JsonSink& sink) { sink.string(text); },
                  [this, text](std::string&) { write_string(text); });
}

JsonWriter& JsonWriter::value(double number) {
    if (!std::isfinite(number)) return null();
    return scalar([number](JsonSink& sink) { sink.number(number); },
                  [number](std::string& out) { append_number(out, number); });
}

JsonWriter& JsonWriter::value(int64_t number) {
    return scalar([number](JsonSink& sink) { sink.integer(number); },
                  [number](std::string& out) { append_integer(out, number); });
}

JsonWriter& JsonWriter::value(uint64_t number) {
    return scalar([number](JsonSink& sink) { sink.unsigned_integer(number); },
                  [number](std::string& out) { append_integer(out, number); });
}

JsonWriter& JsonWriter::value(bool flag) {
    return scalar([flag](JsonSink& sink) { sink.boolean(flag); },
                  [flag](std::string& out) { out += flag ? "true" : "false"; });
}

JsonWriter& JsonWriter::value(const UtcDateTime& t) {
    if (t.year < 0 || t.year > 9999) return value(format_rfc3339_z(t));
    // YYYY-MM-DDTHH:MM:SSZ
    char buf[20];
    two_digits(buf, static_cast<unsigned>(t.year) / 100);
    two_digits(buf + 2, static_cast<unsigned>(t.year) % 100);
    buf[4] = '-';
    two_digits(buf + 5, t.month);
    buf[7] = '-';
    two_digits(buf + 8, t.day);
    buf[10] = 'T';
    two_digits(buf + 11, t.hour);
    buf[13] = ':';
    two_digits(buf + 14, t.minute);
    buf[16] = ':';
    two_digits(buf + 17, t.second);
    buf[19] = 'Z';
    return value(std::string_view(buf, sizeof buf));
}

JsonWriter& JsonWriter::null() {
    return scalar([](JsonSink& sink) { sink.null(); }, [](std::string& out) { out += "null"; });
}

// The characters a JSON string escapes: quote, backslash and the controls.
constexpr auto kEscaped = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 0x20; ++c) table[c] = true;
    table['"'] = table['\\'] = true;
    return table;
}();

void JsonWriter::write_string(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto escaped = [](char c) { return kEscaped[static_cast<unsigned char>(c)]; };
    if (std::none_of(text.begin(), text.end(), escaped)) {
        // The common case: the text between quotes as it is.
        out_.push_back('"');
        out_.append(text);
        out_.push_back('"');
        return;
    }
    out_.push_back('"');
    size_t plain_from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!kEscaped[static_cast<unsigned char>(c)]) continue;
        out_.append(text.data() + plain_from, i - plain_from);
        plain_from = i + 1;
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
                out_ += "\\u00";
                out_.push_back(kHex[(c >> 4) & 0xF]);
                out_.push_back(kHex[c & 0xF]);
        }
    }
    out_.append(text.data() + plain_from, text.size() - plain_from);
    out_.push_back('"');
}

}  // namespace zk
