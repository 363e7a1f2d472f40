// The embedded Hindi and Nepali name tables.
#include <gtest/gtest.h>

#include <string>

#include "core/error.hpp"
#include "locale/locale.hpp"

namespace zk {
namespace {

TEST(Locale, BothDocumentsLoadWithTheirFullTables) {
    for (const char* code : {"hi_IN", "ne_NP"}) {
        const LocaleData* data = get_locale(code);
        ASSERT_NE(data, nullptr) << code;
        EXPECT_EQ(data->tithi_names.size(), 16u) << code;
        EXPECT_EQ(data->nakshatra_names.size(), 27u) << code;
        EXPECT_EQ(data->month_names.size(), 12u) << code;
        EXPECT_EQ(data->festivals.size(), 6u) << code;
        EXPECT_EQ(data->tithi_names[0], "प्रतिपदा");
        EXPECT_EQ(data->nakshatra_names[26], "रेवती");
        EXPECT_EQ(data->festivals.at("Holi"), "होली");
        const bool hindi = code == std::string("hi_IN");
        EXPECT_EQ(data->nakshatra_names[19], hindi ? "पूर्वाषाढ़ा" : "पूर्वाषाढा");
        EXPECT_EQ(get_locale(code), data) << "built once";
    }
}

TEST(Locale, OnlyExactCodesAreFound) {
    for (const char* code : {"en", "HI_IN", "hi", "", "ne_np", "hi_IN "}) {
        EXPECT_EQ(get_locale(code), nullptr) << "'" << code << "'";
    }
    EXPECT_THROW(load_locale("fr"), InvariantFailure);
}

}  // namespace
}  // namespace zk
