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

void append_number(std::string& out, double value) {
    char buf[kJsonNumberMax];
    out.append(buf, static_cast<size_t>(write_json_number(buf, value) - buf));
}

void two_digits(char* at, unsigned value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

}  // namespace

// The shortest digits that read back to the value, laid out plainly with at least one
// decimal (".0") from 1e-5 up to 1e16, else as 1.5e-7 or 2e16.
char* write_json_number(char* at, double value) {
    if (std::signbit(value)) *at++ = '-';
    const double magnitude = std::fabs(value);
    // Whole numbers below 1e15 are their integer's digits: no shortest-digit search needed.
    if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
        at = std::to_chars(at, at + 16, static_cast<uint64_t>(magnitude)).ptr;
        *at++ = '.';
        *at++ = '0';
        return at;
    }
    char buf[40];
    const char* const end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific).ptr;
    // d[.ddd]e[+-]xx
    char digits[24];
    int n = 0;
    const char* c = buf;
    for (; *c != 'e'; ++c) {
        if (*c != '.') digits[n++] = *c;
    }
    ++c;
    const bool negative_exponent = *c == '-';
    ++c;
    int exponent = 0;
    for (; c != end; ++c) exponent = exponent * 10 + (*c - '0');
    if (negative_exponent) exponent = -exponent;
    const auto copy = [&at](const char* from, int count) {
        std::memcpy(at, from, static_cast<size_t>(count));
        at += count;
    };
    if (exponent < -5 || exponent >= 16) {
        *at++ = digits[0];
        if (n > 1) {
            *at++ = '.';
            copy(digits + 1, n - 1);
        }
        *at++ = 'e';
        return std::to_chars(at, at + 8, exponent).ptr;
    }
    if (exponent < 0) {
        *at++ = '0';
        *at++ = '.';
        for (int i = -exponent - 1; i > 0; --i) *at++ = '0';
        copy(digits, n);
        return at;
    }
    if (exponent + 1 >= n) {
        copy(digits, n);
        for (int i = exponent + 1 - n; i > 0; --i) *at++ = '0';
        *at++ = '.';
        *at++ = '0';
        return at;
    }
    copy(digits, exponent + 1);
    *at++ = '.';
    copy(digits + exponent + 1, n - exponent - 1);
    return at;
}

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

char* write_json_string(char* at, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    *at++ = '"';
    const char* plain_from = text.data();
    for (const char& c : text) {
        if (!kEscaped[static_cast<unsigned char>(c)]) continue;
        const size_t plain = static_cast<size_t>(&c - plain_from);
        std::memcpy(at, plain_from, plain);
        at += plain;
        plain_from = &c + 1;
        *at++ = '\\';
        switch (c) {
            case '"':
                *at++ = '"';
                break;
            case '\\':
                *at++ = '\\';
                break;
            case '\b':
                *at++ = 'b';
                break;
            case '\f':
                *at++ = 'f';
                break;
            case '\n':
                *at++ = 'n';
                break;
            case '\r':
                *at++ = 'r';
                break;
            case '\t':
                *at++ = 't';
                break;
            default:
                std::memcpy(at, "u00", 3);
                at[3] = kHex[(c >> 4) & 0xF];
                at[4] = kHex[c & 0xF];
                at += 5;
        }
    }
    const size_t plain = static_cast<size_t>(text.data() + text.size() - plain_from);
    std::memcpy(at, plain_from, plain);
    at += plain;
    *at++ = '"';
    return at;
}

void JsonWriter::write_string(std::string_view text) {
    const size_t used = out_.size();
    out_.resize_and_overwrite(used + json_string_room(text.size()), [&](char* data, size_t) {
        return static_cast<size_t>(write_json_string(data + used, text) - data);
    });
}

}  // namespace zk
