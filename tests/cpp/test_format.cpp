// The number texts shown to users: shortest round-trip, plain decimal, fixed point, and the
// decimal parser behind the custom ayanamsa option.
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

TEST(FormatShortest, KeepsAFractionAndSwitchesToExponentOutsideTheFixedRange) {
    EXPECT_EQ(format_shortest(24.0), "24.0");
    EXPECT_EQ(format_shortest(23.5), "23.5");
    EXPECT_EQ(format_shortest(0.0001), "0.0001");
    EXPECT_EQ(format_shortest(1e-5), "1e-5");
    EXPECT_EQ(format_shortest(1e16), "1e16");
    EXPECT_EQ(format_shortest(1.5e16), "1.5e16");
    EXPECT_EQ(format_shortest(9999999999999998.0), "9999999999999998.0");
    EXPECT_EQ(format_shortest(-1.0), "-1.0");
    EXPECT_EQ(format_shortest(0.1), "0.1");
    EXPECT_EQ(format_shortest(0.0), "0.0");
    EXPECT_EQ(format_shortest(kNaN), "NaN");
    EXPECT_EQ(format_shortest(kInf), "inf");
    EXPECT_EQ(format_shortest(-kInf), "-inf");
}

TEST(FormatPlain, NeverUsesAnExponentNorATrailingPointZero) {
    EXPECT_EQ(format_plain(91.0), "91");
    EXPECT_EQ(format_plain(91.5), "91.5");
    EXPECT_EQ(format_plain(90.0001), "90.0001");
    EXPECT_EQ(format_plain(-180.5), "-180.5");
    EXPECT_EQ(format_plain(1e-7), "0.0000001");
    EXPECT_EQ(format_plain(1e300), "1" + std::string(300, '0'));
    EXPECT_EQ(format_plain(kNaN), "NaN");
    EXPECT_EQ(format_plain(kInf), "inf");
    EXPECT_EQ(format_plain(-kInf), "-inf");
}

TEST(FormatFixed, RoundsTheExactBinaryValueHalfToEven) {
    // 0.25 and 0.375 are exact ties; 0.35 and 1.45 are stored just below their decimal
    // text, 0.05 just above.
    EXPECT_EQ(format_fixed(0.25, 1), "0.2");
    EXPECT_EQ(format_fixed(0.75, 1), "0.8");
    EXPECT_EQ(format_fixed(0.375, 2), "0.38");
    EXPECT_EQ(format_fixed(0.35, 1), "0.3");
    EXPECT_EQ(format_fixed(1.45, 1), "1.4");
    EXPECT_EQ(format_fixed(0.05, 1), "0.1");
    EXPECT_EQ(format_fixed(82.9712457092609, 2), "82.97");
    EXPECT_EQ(format_fixed(359.96, 1), "360.0");
    EXPECT_EQ(format_fixed(-0.25, 1), "-0.2");
    EXPECT_EQ(format_fixed(7.0, 2), "7.00");
    EXPECT_EQ(format_fixed(1e300, 1).size(), 303u);
}

TEST(FormatFixed, IgnoresTheHostProgramsNumericLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    }
    const std::string fixed = format_fixed(82.97, 2);
    const auto parsed = parse_decimal("1.5e400");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(fixed, "82.97");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, kInf);
}

TEST(ParseDecimal, AcceptsDecimalNumbersAndSpecialValues) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c : {Case{"23.5", 23.5}, Case{"-1", -1.0}, Case{".5", 0.5},
                          Case{"5.", 5.0}, Case{"1e3", 1000.0}, Case{"+2.5E-1", 0.25},
                          Case{"inf", kInf}, Case{"-Infinity", -kInf}, Case{"1e400", kInf},
                          Case{"1e-400", 0.0}}) {
        const auto parsed = parse_decimal(c.text);
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(*parsed, c.value) << c.text;
    }
    for (const char* nan_text : {"NaN", "nan", "-nan"}) {
        const auto parsed = parse_decimal(nan_text);
        ASSERT_TRUE(parsed) << nan_text;
        EXPECT_TRUE(std::isnan(*parsed)) << nan_text;
    }
}

TEST(ParseDecimal, RejectsEverythingElse) {
    for (const char* text : {"", " 1", "1 ", "abc", "0x10", "+-1", "--1", "+", "-", "1e", "e5",
                             ".", "1.2.3", "nan(1)", "0x1p3", "1,5", "in"}) {
        EXPECT_FALSE(parse_decimal(text)) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace zk
