// The compact JSON writer: layout, escaping and numbers that read back bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "render/json_writer.hpp"

namespace zk {
namespace {

std::string text_of(auto x) {
    return JsonWriter().value(x).take();
}

TEST(JsonWriter, ContainersNumbersAndStrings) {
    JsonWriter w;
    w.begin_object().key("b").value(1).key("a").begin_array().value(true).null();
    w.begin_object().end_object().end_array().key("n").value(uint64_t{18446744073709551615u});
    w.key("m\"\n").value(int64_t{-9223372036854775807 - 1}).end_object();
    EXPECT_EQ(w.text(), R"({"b":1,"a":[true,null,{}],"n":18446744073709551615,)"
                        R"("m\"\n":-9223372036854775808})");
    // Members in the order given; an empty optional is null, a full one its value.
    JsonWriter m;
    m.begin_object().members("z", std::optional<double>{}, "a", std::optional<unsigned>{3u}, "s",
                             std::optional<std::string>{"x"}, "b", false);
    EXPECT_EQ(m.end_object().text(), R"({"z":null,"a":3,"s":"x","b":false})");
    EXPECT_EQ(text_of(1.0), "1.0");
    EXPECT_EQ(text_of(0.1), "0.1");
    EXPECT_EQ(text_of(-0.0), "-0.0");
    EXPECT_EQ(text_of(1e15), "1000000000000000.0");
    EXPECT_EQ(text_of(1e21), "1e21");
    EXPECT_EQ(text_of(5e-324), "5e-324");
    EXPECT_EQ(text_of(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(text_of(-std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(text_of(std::string_view("say \"hi\" a\\b")), R"("say \"hi\" a\\b")");
    EXPECT_EQ(text_of(std::string_view("\b\f\n\r\t\x7f/")), "\"\\b\\f\\n\\r\\t\x7f/\"");
    EXPECT_EQ(text_of(std::string_view("\x00\x01\x1f", 3)), R"("\u0000\u0001\u001f")");
    // Devanagari, an en dash and an em dash stay as UTF-8.
    const std::string_view text = "\u0917\u091c\u0915\u0947\u0938\u0930\u0940 \u2013 \u2014";
    EXPECT_EQ(text_of(text), "\"" + std::string(text) + "\"");
}

// Every finite double reads back to the same bits and keeps a fraction or an exponent.
TEST(JsonWriter, EveryDoubleReadsBackToTheSameBits) {
    std::mt19937_64 rng(20240115);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::bit_cast<double>(rng());
        if (!std::isfinite(x)) continue;
        const std::string text = text_of(x);
        double back = 0.0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), back);
        ASSERT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(x)) << text;
        ASSERT_NE(text.find_first_of(".e"), std::string::npos) << text;
        ASSERT_EQ(text.find('+'), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace zk
