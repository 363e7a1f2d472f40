#include "core/format.hpp"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <limits>

namespace zk {
namespace {

// The shortest decimal digits that read back to `value` (finite, non-zero magnitude),
// as digits d1 d2 ... and the exponent e of value = d1.d2... x 10^e.
struct ShortestDigits {
    std::string digits;
    int exponent = 0;
};

ShortestDigits shortest_digits(double magnitude) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    std::string_view text(buf, static_cast<size_t>(end - buf));
    size_t e_pos = text.find('e');
    ShortestDigits out;
    for (char c : text.substr(0, e_pos)) {
        if (c != '.') out.digits.push_back(c);
    }
    std::string_view exp_text = text.substr(e_pos + 1);
    if (!exp_text.empty() && exp_text.front() == '+') exp_text.remove_prefix(1);
    std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), out.exponent);
    return out;
}

// Plain decimal layout of digits with exponent; `min_fraction` forces ".0".
std::string layout_fixed(const ShortestDigits& d, bool min_fraction) {
    std::string out;
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent < 0) {
        out = "0.";
        out.append(static_cast<size_t>(-d.exponent - 1), '0');
        out += d.digits;
    } else if (d.exponent + 1 >= n) {
        out = d.digits;
        out.append(static_cast<size_t>(d.exponent + 1 - n), '0');
        if (min_fraction) out += ".0";
    } else {
        out = d.digits.substr(0, static_cast<size_t>(d.exponent + 1));
        out += '.';
        out += d.digits.substr(static_cast<size_t>(d.exponent + 1));
    }
    return out;
}

std::string layout_exponent(const ShortestDigits& d) {
    std::string out = d.digits.substr(0, 1);
    if (d.digits.size() > 1) {
        out += '.';
        out += d.digits.substr(1);
    }
    out += 'e';
    out += std::to_string(d.exponent);
    return out;
}

// Shared skeleton: sign, specials, zero, then the chosen layout of the magnitude.
template <typename Layout>
std::string format_with(double value, const char* zero_text, Layout layout) {
    if (std::isnan(value)) return "NaN";
    std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) return sign + "inf";
    if (value == 0.0) return sign + zero_text;
    return sign + layout(shortest_digits(std::fabs(value)));
}

}  // namespace

std::string format_shortest(double value) {
    return format_with(value, "0.0", [](const ShortestDigits& d) {
        return (d.exponent < -4 || d.exponent >= 16) ? layout_exponent(d) : layout_fixed(d, true);
    });
}

std::string format_plain(double value) {
    return format_with(value, "0", [](const ShortestDigits& d) { return layout_fixed(d, false); });
}

std::string format_json_number(double value) {
    return format_with(value, "0.0", [](const ShortestDigits& d) {
        return (d.exponent < -5 || d.exponent >= 16) ? layout_exponent(d) : layout_fixed(d, true);
    });
}

std::string format_fixed(double value, int decimals) {
    // to_chars, unlike printf, ignores the C locale that a Python program may have set, so
    // the decimal point stays a point; it rounds the exact binary value half to even.
    std::string out(512, '\0');
    for (;;) {
        auto [end, ec] = std::to_chars(out.data(), out.data() + out.size(), value,
                                       std::chars_format::fixed, decimals);
        if (ec == std::errc()) {
            out.resize(static_cast<size_t>(end - out.data()));
            return out;
        }
        out.resize(out.size() * 2);
    }
}

std::optional<double> parse_decimal(std::string_view text) {
    std::string_view body = text;
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body.empty() || body.front() == '+' || body.front() == '-') return std::nullopt;
    for (char c : body) {
        // from_chars also reads "nan(...)" and hex forms, which are not decimal numbers.
        if (c == '(' || c == 'x' || c == 'X' || c == 'p' || c == 'P') return std::nullopt;
    }
    double value = 0.0;
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (end != body.data() + body.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Decimal overflow reads as infinity and underflow as zero; the "C" locale keeps the
        // decimal point a point whatever locale the host program has set.
        static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
        value = strtod_l(std::string(body).c_str(), nullptr, c_locale);
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace zk
