#include "render/chart_json.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "render/chart_document.hpp"
#include "render/json_writer.hpp"

namespace zk {
namespace {

// A chart's document is about 110 KB, most of it the dasha tree.
constexpr size_t kExpectedChartBytes = 160 * 1024;

// `,"name":` made when compiling; written from its second byte for a first member.
template <KeyName Name>
constexpr auto kMemberText = [] {
    constexpr std::string_view name = Key<Name>::name;
    std::array<char, name.size() + 4> text{};
    text[0] = ',';
    text[1] = '"';
    for (size_t i = 0; i < name.size(); ++i) text[2 + i] = name[i];
    text[name.size() + 2] = '"';
    text[name.size() + 3] = ':';
    return text;
}();

void two_digits(char* at, unsigned value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

// "YYYY-MM-DDTHH:MM:SSZ" with its quotes, for a year from 0 to 9999.
constexpr size_t kQuotedInstant = 22;
void write_quoted_instant(char* at, const UtcDateTime& t) {
    at[0] = '"';
    two_digits(at + 1, static_cast<unsigned>(t.year) / 100);
    two_digits(at + 3, static_cast<unsigned>(t.year) % 100);
    at[5] = '-';
    two_digits(at + 6, t.month);
    at[8] = '-';
    two_digits(at + 9, t.day);
    at[11] = 'T';
    two_digits(at + 12, t.hour);
    at[14] = ':';
    two_digits(at + 15, t.minute);
    at[17] = ':';
    two_digits(at + 18, t.second);
    at[20] = 'Z';
    at[21] = '"';
}

// The chart's text straight into a buffer: room is made once per piece, member names are
// copied whole with their quotes, colon and comma, names of the vocabularies are copied
// without an escape check, and the dasha tree's instants (each period's end is the next
// one's start) are formatted once each.
class ChartText {
  public:
    explicit ChartText(std::string& buffer) : buffer_(buffer) {
        buffer_.clear();
        grow(kExpectedChartBytes);
    }
    // Cuts the buffer to the text written.
    void finish() { buffer_.resize(static_cast<size_t>(at_ - buffer_.data())); }

    void begin_object() { open('{'); }
    void end_object() { close('}'); }
    void begin_array(size_t) { open('['); }
    void end_array() { close(']'); }

    template <KeyName Name>
    void key(Key<Name>) {
        constexpr auto& text = kMemberText<Name>;
        room(text.size());
        const size_t skip = comma_ ? 0 : 1;
        std::memcpy(at_, text.data() + skip, text.size() - skip);
        at_ += text.size() - skip;
        comma_ = false;
    }
    void key(std::string_view name) {
        value(name);
        finish_key();
    }
    void key(Planet planet) {
        value(planet);
        finish_key();
    }
    void key(uint32_t number) {
        char* at = start_value(16);
        *at++ = '"';
        at = std::to_chars(at, at + 10, number).ptr;
        *at++ = '"';
        at_ = at;
        finish_key();
    }

    void value(std::string_view text) {
        at_ = write_json_string(start_value(json_string_room(text.size())), text);
    }
    void value(Planet planet) { name(planet_name(planet)); }
    void value(Sign sign) { name(sign_name(sign)); }
    void value(Nakshatra nakshatra) { name(nakshatra_name(nakshatra)); }
    void value(Karaka karaka) { name(karaka_name(karaka)); }
    void value(double number) {
        if (!std::isfinite(number)) return null();
        at_ = write_json_number(start_value(kJsonNumberMax), number);
    }
    void value(unsigned number) {
        char* at = start_value(10);
        at_ = std::to_chars(at, at + 10, number).ptr;
    }
    void value(bool flag) { flag ? literal("true") : literal("false"); }
    void null() { literal("null"); }
    void value(const UtcDateTime& t) {
        if (t.year < 0 || t.year > 9999) return value(std::string_view(format_rfc3339_z(t)));
        char* at = start_value(kQuotedInstant);
        write_quoted_instant(at, t);
        at_ = at + kQuotedInstant;
    }
    void value(Instant instant) {
        FormattedInstant& slot = instants_[slot_of(instant.seconds)];
        if (!slot.filled || slot.seconds != instant.seconds) {
            const UtcDateTime t = from_unix_seconds(instant.seconds).value();
            if (t.year < 0 || t.year > 9999) return value(t);
            write_quoted_instant(slot.text, t);
            slot.seconds = instant.seconds;
            slot.filled = true;
        }
        char* at = start_value(kQuotedInstant);
        std::memcpy(at, slot.text, kQuotedInstant);
        at_ = at + kQuotedInstant;
    }

  private:
    struct FormattedInstant {
        int64_t seconds = 0;
        bool filled = false;
        char text[kQuotedInstant];
    };
    static size_t slot_of(int64_t seconds) {
        return static_cast<size_t>((static_cast<uint64_t>(seconds) * 0x9E3779B97F4A7C15u) >> 60);
    }

    void grow(size_t needed) {
        const size_t used = at_ ? static_cast<size_t>(at_ - buffer_.data()) : 0;
        const size_t size = std::max(buffer_.capacity(), std::max(2 * used, used + needed));
        buffer_.resize_and_overwrite(size, [](char*, size_t n) { return n; });
        at_ = buffer_.data() + used;
        limit_ = buffer_.data() + buffer_.size();
    }
    void room(size_t bytes) {
        if (static_cast<size_t>(limit_ - at_) < bytes) grow(bytes);
    }
    // Room for a value of up to `bytes` and its comma; returns where the value goes.
    char* start_value(size_t bytes) {
        room(bytes + 1);
        if (comma_) *at_++ = ',';
        comma_ = true;
        return at_;
    }
    void finish_key() {
        room(1);
        *at_++ = ':';
        comma_ = false;
    }
    void name(std::string_view text) {
        char* at = start_value(text.size() + 2);
        *at++ = '"';
        std::memcpy(at, text.data(), text.size());
        at += text.size();
        *at++ = '"';
        at_ = at;
    }
    template <size_t N>
    void literal(const char (&text)[N]) {
        char* at = start_value(N - 1);
        std::memcpy(at, text, N - 1);
        at_ = at + N - 1;
    }
    void open(char bracket) {
        *start_value(1) = bracket;
        ++at_;
        comma_ = false;
    }
    void close(char bracket) {
        room(1);
        *at_++ = bracket;
        comma_ = true;
    }

    std::string& buffer_;
    char* at_ = nullptr;
    char* limit_ = nullptr;
    bool comma_ = false;
    std::array<FormattedInstant, 16> instants_{};
};

// The document as events for a JsonWriter.
class WriterEvents {
  public:
    explicit WriterEvents(JsonWriter& w) : w_(w) {}

    void begin_object() { w_.begin_object(); }
    void end_object() { w_.end_object(); }
    void begin_array(size_t) { w_.begin_array(); }
    void end_array() { w_.end_array(); }
    template <KeyName Name>
    void key(Key<Name>) {
        w_.key(Key<Name>::name);
    }
    void key(std::string_view name) { w_.key(name); }
    void key(Planet planet) { w_.key(planet_name(planet)); }
    void key(uint32_t number) {
        char text[12];
        w_.key({text,
                static_cast<size_t>(std::to_chars(text, text + sizeof text, number).ptr - text)});
    }
    template <typename T>
    void value(const T& v) {
        w_.value(v);
    }
    void value(Planet planet) { w_.value(planet_name(planet)); }
    void value(Sign sign) { w_.value(sign_name(sign)); }
    void value(Nakshatra nakshatra) { w_.value(nakshatra_name(nakshatra)); }
    void value(Karaka karaka) { w_.value(karaka_name(karaka)); }
    void value(Instant instant) { w_.value(from_unix_seconds(instant.seconds).value()); }
    void null() { w_.null(); }

  private:
    JsonWriter& w_;
};

}  // namespace

void write_chart(JsonWriter& w, const Chart& chart) {
    WriterEvents events(w);
    emit_chart(events, chart);
}

void write_chart_text(std::string& buffer, const Chart& chart) {
    ChartText text(buffer);
    emit_chart(text, chart);
    text.finish();
}

std::string chart_to_json(const Chart& chart) {
    std::string text;
    write_chart_text(text, chart);
    return text;
}

}  // namespace zk
