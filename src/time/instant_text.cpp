#include "time/instant_text.hpp"

#include <array>
#include <optional>

namespace zk {
namespace {

// Reads fixed-width fields left to right; the first problem met is kept as the reason.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool ok() const { return !reason_; }
    const char* reason() const { return reason_ ? reason_ : ""; }
    bool at_end() const { return pos_ == text_.size(); }

    // Exactly `width` decimal digits.
    uint32_t digits(size_t width) {
        uint32_t value = 0;
        for (size_t i = 0; i < width && ok(); ++i) {
            if (at_end()) return fail("premature end of input");
            const char c = text_[pos_];
            if (c < '0' || c > '9') return fail("invalid characters");
            value = value * 10 + static_cast<uint32_t>(c - '0');
            ++pos_;
        }
        return value;
    }

    // One of `choices`; returns it, or 0 when another character (or nothing) is there.
    char one_of(std::string_view choices) {
        if (!ok()) return 0;
        if (at_end()) return fail("premature end of input");
        const char c = text_[pos_];
        if (choices.find(c) == std::string_view::npos) return fail("invalid characters");
        ++pos_;
        return c;
    }

    // Skips ".digits" when present.
    void fraction() {
        if (!ok() || at_end() || text_[pos_] != '.') return;
        ++pos_;
        const size_t first = pos_;
        while (!at_end() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        if (pos_ == first) fail(at_end() ? "premature end of input" : "invalid characters");
    }

    void expect_end() {
        if (ok() && !at_end()) fail("trailing input");
    }

    int fail(const char* reason) {
        if (!reason_) reason_ = reason;
        return 0;
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
    const char* reason_ = nullptr;
};

struct Fields {
    std::array<uint32_t, 3> date{0, 1, 1};   // year, month, day
    std::array<uint32_t, 3> clock{0, 0, 0};  // hour, minute, second
    int64_t offset_seconds = 0;
};

// Three fixed-width numbers joined by `separator`: the first `first_width` digits wide,
// the others two (2024-03-01, 10:30:00).
std::array<uint32_t, 3> read_triple(Cursor& c, size_t first_width, std::string_view separator) {
    std::array<uint32_t, 3> parts{};
    parts[0] = c.digits(first_width);
    for (size_t i = 1; i < parts.size(); ++i) {
        c.one_of(separator);
        parts[i] = c.digits(2);
    }
    return parts;
}

// RFC 3339 writes the offset "+hh:mm" or Z; the spaced form writes "+hhmm".
void read_offset(Cursor& c, Fields& f, bool rfc3339) {
    const char sign = c.one_of(rfc3339 ? "+-Zz" : "+-");
    if (sign == 'Z' || sign == 'z' || !c.ok()) return;
    const uint32_t hours = c.digits(2);
    if (rfc3339) c.one_of(":");
    const uint32_t minutes = c.digits(2);
    if (c.ok() && (hours > 23 || minutes > 59)) c.fail("input is out of range");
    const int64_t magnitude = static_cast<int64_t>(hours) * 3600 + minutes * 60;
    f.offset_seconds = sign == '-' ? -magnitude : magnitude;
}

std::optional<UtcDateTime> to_utc(Cursor& c, const Fields& f) {
    if (!c.ok()) return std::nullopt;
    const auto& [year, month, day] = f.date;
    const auto& [hour, minute, second] = f.clock;
    auto local = make_utc(year, month, day, hour, minute, second);
    if (!local) {
        c.fail("input is out of range");
        return std::nullopt;
    }
    auto utc = from_unix_seconds(to_unix_seconds(*local) - f.offset_seconds);
    if (!utc) c.fail("input is out of range");
    return utc;
}

// RFC 3339 (a T, a space or a t between date and time, an optional fraction, "+hh:mm" or Z)
// or the spaced form (a space, no fraction, "+hhmm").
std::optional<UtcDateTime> parse_with_offset(std::string_view text, bool rfc3339) {
    Cursor c(text);
    Fields f;
    f.date = read_triple(c, 4, "-");
    c.one_of(rfc3339 ? "Tt " : " ");
    f.clock = read_triple(c, 2, ":");
    if (rfc3339) c.fraction();
    read_offset(c, f, rfc3339);
    c.expect_end();
    return to_utc(c, f);
}

}  // namespace

Result<UtcDateTime> parse_instant_text(std::string_view text) {
    if (auto t = parse_with_offset(text, true)) return *t;
    if (auto t = parse_with_offset(text, false)) return *t;
    Cursor c(text);
    Fields f;
    f.date = read_triple(c, 4, "-");
    c.expect_end();
    if (auto t = to_utc(c, f)) return *t;
    return std::unexpected(
        ZodiakitError::invalid_input("Invalid date '" + std::string(text) + "': " + c.reason()));
}

}  // namespace zk
