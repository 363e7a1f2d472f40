// The compact JSON writer: layout, escaping and numbers that read back bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "core/json_writer.hpp"

namespace zk {
namespace {

std::string number_text(double x) {
    JsonWriter w;
    w.value(x);
    return w.take();
}

std::string string_text(std::string_view s) {
    JsonWriter w;
    w.value(s);
    return w.take();
}

TEST(JsonWriter, WritesCompactNestedContainersInOrder) {
    JsonWriter w;
    w.begin_object();
    w.key("b").value(1);
    w.key("a").begin_array().value(true).null().begin_object().end_object().end_array();
    w.key("e").begin_array().end_array();
    w.key("n").value(uint64_t{18446744073709551615u});
    w.key("m").value(int64_t{-9223372036854775807 - 1});
    w.key("s").value("x");
    w.end_object();
    EXPECT_EQ(w.text(),
              R"({"b":1,"a":[true,null,{}],"e":[],"n":18446744073709551615,)"
              R"("m":-9223372036854775808,"s":"x"})");
}

TEST(JsonWriter, WritesDoublesShortestWithAFractionOrExponent) {
    EXPECT_EQ(number_text(1.0), "1.0");
    EXPECT_EQ(number_text(0.1), "0.1");
    EXPECT_EQ(number_text(-0.0), "-0.0");
    EXPECT_EQ(number_text(24.0), "24.0");
    EXPECT_EQ(number_text(0.00001), "0.00001");
    EXPECT_EQ(number_text(1.234e-7), "1.234e-7");
    EXPECT_EQ(number_text(1e15), "1000000000000000.0");
    EXPECT_EQ(number_text(1e16), "1e16");
    EXPECT_EQ(number_text(1e21), "1e21");
    EXPECT_EQ(number_text(5e-324), "5e-324");
    EXPECT_EQ(number_text(1.7976931348623157e308), "1.7976931348623157e308");
}

TEST(JsonWriter, WritesNonFiniteNumbersAsNull) {
    EXPECT_EQ(number_text(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(number_text(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(number_text(-std::numeric_limits<double>::infinity()), "null");
}

TEST(JsonWriter, EscapesOnlyWhatJsonRequires) {
    EXPECT_EQ(string_text("say \"hi\""), R"("say \"hi\"")");
    EXPECT_EQ(string_text("a\\b"), R"("a\\b")");
    EXPECT_EQ(string_text("\b\f\n\r\t"), R"("\b\f\n\r\t")");
    EXPECT_EQ(string_text(std::string("\x00\x01\x1f", 3)), R"("\u0000\u0001\u001f")");
    EXPECT_EQ(string_text("\x7f/"), "\"\x7f/\"");
    // Devanagari, an en dash and an em dash stay as UTF-8.
    const std::string text = "\u0917\u091c\u0915\u0947\u0938\u0930\u0940 \u2013 \u2014";
    EXPECT_EQ(string_text(text), "\"" + text + "\"");
}

TEST(JsonWriter, KeysAreEscapedLikeValues) {
    JsonWriter w;
    w.begin_object().key("a\"\n").value(2.5).end_object();
    EXPECT_EQ(w.text(), R"({"a\"\n":2.5})");
}

// Every finite double is written so that reading the text back gives the same bits, and the
// text is a JSON number that keeps a fraction or an exponent.
TEST(JsonWriter, EveryDoubleReadsBackToTheSameBits) {
    std::mt19937_64 rng(20240115);
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        const double x = std::bit_cast<double>(rng());
        if (!std::isfinite(x)) continue;
        const std::string text = number_text(x);
        double back = 0.0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_EQ(ec, std::errc()) << text;
        ASSERT_EQ(end, text.data() + text.size()) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(x)) << text;
        ASSERT_NE(text.find_first_of(".e"), std::string::npos) << text;
        ASSERT_EQ(text.find('+'), std::string::npos) << text;
        ++checked;
    }
    EXPECT_GT(checked, 190000);
}

}  // namespace
}  // namespace zk
