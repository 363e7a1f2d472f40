// Number texts in the three forms the library shows, and safe number conversions. Nothing
// here fails: every double has a text, conversions saturate, and a text that is not a
// number parses to no value.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// Shortest round-trip text that always keeps a fraction or an exponent, with an exponent
// below 1e-4 or from 1e16 in magnitude: 24.0, 23.5, 0.0001, 1e-5, 1.5e16, NaN, inf.
// This is the form of Custom(24.0).
std::string format_shortest(double value);

// Shortest round-trip plain decimal, never an exponent, no ".0" on whole numbers:
// 91, 91.5, 0.0000001, NaN, inf, -inf. This is the form of values in validation messages.
std::string format_plain(double value);

// Shortest round-trip text for JSON: fixed notation for decimal exponents -5..15
// (1.0, 0.1, 0.00001), otherwise 1e16, 1.234e-7; always a fraction or an exponent.
// NaN and infinities are not numbers in JSON: callers write null for them.
std::string format_json_number(double value);

// Fixed-point with `decimals` digits, rounding the exact binary value half to even.
std::string format_fixed(double value, int decimals);

// Parses a whole text as a decimal floating-point number: optional sign, digits with an
// optional fraction and exponent, or inf/infinity/nan in any case. No spaces, no hex.
std::optional<double> parse_decimal(std::string_view text);

// Double to integer conversions that saturate: NaN and negatives give 0, too large gives max.
// Inline: the chart pipeline converts a few thousand values per chart.
inline uint32_t saturating_u32(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(value);
}

// saturating_u32(std::floor(value)) without the floor: above 0 the conversion truncates,
// which is the floor, and at or below 0 (or NaN) both give 0.
inline uint32_t saturating_floor_u32(double value) {
    return saturating_u32(value);
}

inline int64_t saturating_i64(double value) {
    if (std::isnan(value)) return 0;
    if (value <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    if (value >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(value);
}

}  // namespace zk
