// The number texts shown to users, and the decimal parser behind the custom ayanamsa option.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "core/format.hpp"

namespace zk {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Format, ShortestPlainAndFixedForms) {
    using P = std::pair<double, const char*>;
    for (auto [x, want] : {P{24.0, "24.0"}, P{0.0001, "0.0001"}, P{1e-5, "1e-5"}, P{1e16, "1e16"},
                           P{9999999999999998.0, "9999999999999998.0"}, P{-kInf, "-inf"}}) {
        EXPECT_EQ(format_shortest(x), want);
    }
    for (auto [x, want] : {P{91.0, "91"}, P{1e-7, "0.0000001"}, P{kNaN, "NaN"}}) {
        EXPECT_EQ(format_plain(x), want);
    }
    EXPECT_EQ(format_plain(1e300), "1" + std::string(300, '0'));
    // 0.25 and 0.375 are exact ties; 0.35 is stored just below its text, 0.05 just above.
    for (auto [x, want] :
         {P{0.25, "0.2"}, P{0.35, "0.3"}, P{0.05, "0.1"}, P{359.96, "360.0"}, P{-0.25, "-0.2"}}) {
        EXPECT_EQ(format_fixed(x, 1), want);
    }
    EXPECT_EQ(format_fixed(0.375, 2), "0.38");
}

TEST(Format, IgnoresTheHostProgramsNumericLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    const std::string texts = format_fixed(82.97, 2) + " " + format_shortest(0.5);
    const auto parsed = parse_decimal("1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(texts, "82.97 0.5");
    EXPECT_EQ(parsed, 1.5);
}

TEST(SaturatingConversions, AtTheEdgesOfTheirRanges) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr uint32_t kMaxU32 = std::numeric_limits<uint32_t>::max();
    // The floor taken inside the conversion: fractions below 0 still give 0, never wrap.
    for (double v : {-inf, -1e300, -1.0, -0.5, -0.0, 0.0, 0.25, 0.999999, 1.0, 29.9999999,
                     4294967294.5, 4294967295.0, 4294967295.5, 4294967296.0, 1e300, inf, nan}) {
        EXPECT_EQ(saturating_floor_u32(v), saturating_u32(std::floor(v))) << v;
    }
    EXPECT_EQ(saturating_floor_u32(-0.5), 0u);
    EXPECT_EQ(saturating_floor_u32(4294967294.5), 4294967294u);
    EXPECT_EQ(saturating_floor_u32(inf), kMaxU32);
    EXPECT_EQ(saturating_i64(nan), 0);
    EXPECT_EQ(saturating_i64(-inf), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(saturating_i64(9.3e18), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(saturating_i64(-2.5), -2);
}

TEST(ParseDecimal, AcceptsDecimalsAndSpecialValuesOnly) {
    using Case = std::pair<const char*, double>;
    for (const auto& [text, value] :
         {Case{".5", 0.5}, Case{"5.", 5.0}, Case{"+2.5E-1", 0.25}, Case{"-Infinity", -kInf},
          Case{"1e400", kInf}, Case{"1e-400", 0.0}}) {
        EXPECT_EQ(parse_decimal(text), value) << text;
    }
    EXPECT_TRUE(std::isnan(parse_decimal("-nan").value_or(0.0)));
    for (const char* text : {"", " 1", "1 ", "0x10", "+-1", "1e", ".", "1.2.3", "nan(1)", "1,5"})
        EXPECT_FALSE(parse_decimal(text)) << '"' << text << '"';
}

}  // namespace
}  // namespace zk
