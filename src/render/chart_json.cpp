#include "render/chart_json.hpp"

#include <algorithm>
#include <array>
#include <bit>
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

// "00" to "99".
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

void two_digits(char* at, unsigned value) {
    std::memcpy(at, &kDigitPairs[2 * (value % 100)], 2);
}

// "YYYY-MM-DDTHH:MM:SSZ" with its quotes, for a year from 0 to 9999.
constexpr size_t kQuotedInstant = 22;
void write_quoted_instant(char* at, unsigned year, unsigned month, unsigned day, unsigned hour,
                          unsigned minute, unsigned second) {
    static constexpr char kShape[] = "\"0000-00-00T00:00:00Z\"";
    static constexpr size_t kFieldAt[] = {1, 3, 6, 9, 12, 15, 18};
    const unsigned fields[] = {year / 100, year, month, day, hour, minute, second};
    std::memcpy(at, kShape, kQuotedInstant);
    for (size_t i = 0; i < std::size(fields); ++i) two_digits(at + kFieldAt[i], fields[i]);
}

void write_quoted_instant(char* at, const UtcDateTime& t) {
    write_quoted_instant(at, static_cast<unsigned>(t.year), t.month, t.day, t.hour, t.minute,
                         t.second);
}

// 0000-01-01T00:00:00Z and 10000-01-01T00:00:00Z in seconds since 1970.
constexpr int64_t kFirstFourDigitSecond = -62167219200;
constexpr int64_t kEndFourDigitSecond = 253402300800;

// An instant of the years 0 to 9999 in unsigned 32-bit arithmetic (Neri and Schneider's
// Euclidean affine calendar functions): days are counted from the 1st of March of year
// -400 in a calendar whose years start in March, so that every count is positive, every
// division is by a constant and the leap day comes last.
void write_quoted_instant(char* at, int64_t seconds) {
    constexpr uint64_t kDaysBefore1970 = 719468 + 146097;  // since -0400-03-01
    const uint64_t shifted = static_cast<uint64_t>(seconds) + kDaysBefore1970 * 86400;
    const auto days = static_cast<uint32_t>(shifted / 86400);
    const auto second_of_day = static_cast<unsigned>(shifted % 86400);
    const uint32_t century_days = 4 * days + 3;
    const uint32_t century = century_days / 146097;
    const uint32_t year_days = century_days % 146097 / 4 * 4 + 3;
    const uint64_t year_fraction = uint64_t{2939745} * year_days;
    const auto year_of_century = static_cast<uint32_t>(year_fraction >> 32);
    const uint32_t day_of_year = static_cast<uint32_t>(year_fraction) / 2939745 / 4;
    const uint32_t month_days = 2141 * day_of_year + 197913;
    const uint32_t month_from_march = month_days >> 16;
    const uint32_t day = (month_days & 0xFFFF) / 2141 + 1;
    const bool january_or_february = day_of_year >= 306;
    const uint32_t year = 100 * century + year_of_century + january_or_february - 400;
    const uint32_t month = january_or_february ? month_from_march - 12 : month_from_march;
    write_quoted_instant(at, year, month, day, second_of_day / 3600, second_of_day / 60 % 60,
                         second_of_day % 60);
}

}  // namespace

char* write_instant_text(char* at, int64_t seconds) {
    if (seconds < kFirstFourDigitSecond || seconds >= kEndFourDigitSecond) {
        const std::string text = format_rfc3339_z(from_unix_seconds(seconds).value());
        std::memcpy(at, text.data(), text.size());
        return at + text.size();
    }
    char quoted[kQuotedInstant];
    write_quoted_instant(quoted, seconds);
    std::memcpy(at, quoted + 1, kQuotedInstant - 2);
    return at + kQuotedInstant - 2;
}

namespace {

// A name of a vocabulary between quotes, padded so that it is copied in one fixed move.
struct QuotedName {
    uint8_t size = 0;  // 0: not made yet
    char text[23];
};
constexpr size_t kLongestQuotedName = sizeof QuotedName::text;

// The chart's text straight into a buffer: room is made once per piece, member names are
// copied whole with their quotes and colon, names of the vocabularies are copied without an
// escape check, and the dasha tree's instants (each period's end is the next one's start)
// are formatted once each.
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
        // The comma is written always and kept only after an element.
        room(text.size());
        *at_ = ',';
        at_ += comma_;
        std::memcpy(at_, text.data() + 1, text.size() - 1);
        at_ += text.size() - 1;
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
    void value(Planet planet) { name(planets_, planet, planet_name); }
    void value(Sign sign) { name(signs_, sign, sign_name); }
    void value(Nakshatra nakshatra) { name(nakshatras_, nakshatra, nakshatra_name); }
    void value(Karaka karaka) { name(karakas_, karaka, karaka_name); }
    // The varga positions repeat the planets' longitudes: a number written once is copied.
    void value(double number) {
        if (!std::isfinite(number)) return null();
        char* at = start_value(kJsonNumberMax);
        const auto bits = std::bit_cast<uint64_t>(number);
        FormattedNumber& slot = numbers_[(bits * 0x9E3779B97F4A7C15u) >> 59];
        if (slot.size == 0 || slot.bits != bits) {
            slot.size = static_cast<uint8_t>(write_json_number(slot.text, number) - slot.text);
            slot.bits = bits;
        }
        std::memcpy(at, slot.text, kJsonNumberMax);
        at_ = at + slot.size;
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
        at_ = quoted_instant(start_value(kLongestInstant), instant.seconds);
    }

    // Periods with one room check each (their sub-periods aside) and the writing position
    // held locally.
    void dasha_periods(const std::vector<DashaPeriod>& periods) {
        open('[');
        for (const DashaPeriod& d : periods) {
            room(kPeriodRoom);
            char* at = at_;
            *at = ',';
            at += comma_;
            *at++ = '{';
            at = member_name<"lord_name">(at, false);
            at = quoted_name(at, planets_, d.lord, planet_name);
            at = quoted_instant(member_name<"start">(at, true), d.start);
            at = quoted_instant(member_name<"end">(at, true), d.end);
            at_ = member_name<"sub_periods">(at, true);
            comma_ = false;
            dasha_periods(d.sub_periods);
            close('}');
        }
        close(']');
    }

  private:
    // A period's text without its sub-periods is under 150 bytes.
    static constexpr size_t kPeriodRoom = 256;

    template <KeyName Name>
    static char* member_name(char* at, bool after_another) {
        constexpr auto& text = kMemberText<Name>;
        if (after_another) {
            std::memcpy(at, text.data(), text.size());
            return at + text.size();
        }
        std::memcpy(at, text.data() + 1, text.size() - 1);  // without the comma
        return at + text.size() - 1;
    }

    struct FormattedNumber {
        uint64_t bits = 0;
        uint8_t size = 0;  // 0: empty
        char text[kJsonNumberMax];
    };
    struct FormattedInstant {
        int64_t seconds = 0;
        bool filled = false;
        char text[kQuotedInstant];
    };
    static size_t slot_of(int64_t seconds) {
        return static_cast<size_t>((static_cast<uint64_t>(seconds) * 0x9E3779B97F4A7C15u) >> 60);
    }
    using QuotedNames = std::array<QuotedName, 32>;

    // Room for the longest: a year of six digits and its sign.
    static constexpr size_t kLongestInstant = 32;
    char* quoted_instant(char* at, int64_t seconds) {
        if (seconds < kFirstFourDigitSecond || seconds >= kEndFourDigitSecond) {
            return write_json_string(at, format_rfc3339_z(from_unix_seconds(seconds).value()));
        }
        FormattedInstant& slot = instants_[slot_of(seconds)];
        if (!slot.filled || slot.seconds != seconds) {
            write_quoted_instant(slot.text, seconds);
            slot.seconds = seconds;
            slot.filled = true;
        }
        std::memcpy(at, slot.text, kQuotedInstant);
        return at + kQuotedInstant;
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
        *at_ = ',';
        at_ += comma_;
        comma_ = true;
        return at_;
    }
    void finish_key() {
        room(1);
        *at_++ = ':';
        comma_ = false;
    }
    template <typename Enum, typename NameOf>
    void name(QuotedNames& names, Enum item, NameOf name_of) {
        at_ = quoted_name(start_value(kLongestQuotedName), names, item, name_of);
    }
    // Room for kLongestQuotedName bytes is made by the caller.
    template <typename Enum, typename NameOf>
    char* quoted_name(char* at, QuotedNames& names, Enum item, NameOf name_of) {
        const auto index = static_cast<size_t>(item);
        QuotedName* quoted = index < names.size() ? &names[index] : nullptr;
        if (quoted && quoted->size == 0) {
            const std::string_view text = name_of(item);
            if (text.size() + 2 <= kLongestQuotedName) {
                quoted->text[0] = '"';
                std::memcpy(quoted->text + 1, text.data(), text.size());
                quoted->text[text.size() + 1] = '"';
                quoted->size = static_cast<uint8_t>(text.size() + 2);
            }
        }
        if (!quoted || quoted->size == 0) return plain_name(at, name_of(item));
        std::memcpy(at, quoted->text, kLongestQuotedName);
        return at + quoted->size;
    }
    // A name too long for the table; room for it is made here.
    char* plain_name(char* at, std::string_view text) {
        const size_t used = static_cast<size_t>(at - at_);
        room(used + text.size() + 2);
        at = at_ + used;
        *at++ = '"';
        std::memcpy(at, text.data(), text.size());
        at += text.size();
        *at++ = '"';
        return at;
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
    std::array<FormattedNumber, 32> numbers_{};
    QuotedNames planets_{}, signs_{}, nakshatras_{}, karakas_{};
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
