// The embedded Hindi and Nepali name tables.
#include <gtest/gtest.h>

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
        EXPECT_EQ(get_locale(code), data) << "built once";
    }
}

TEST(Locale, TheTwoLocalesDifferWhereTheirLanguagesDo) {
    const LocaleData& hi = *get_locale("hi_IN");
    const LocaleData& ne = *get_locale("ne_NP");
    EXPECT_EQ(hi.tithi_names[15], "अमावस्या");
    EXPECT_EQ(ne.tithi_names[15], "औंसी");
    EXPECT_EQ(hi.nakshatra_names[19], "पूर्वाषाढ़ा");
    EXPECT_EQ(ne.nakshatra_names[19], "पूर्वाषाढा");
    EXPECT_EQ(hi.nakshatra_names[20], "उत्तराषाढ़ा");
    EXPECT_EQ(ne.nakshatra_names[20], "उत्तराषाढा");
    EXPECT_EQ(hi.month_names[1], "ज्येष्ठ");
    EXPECT_EQ(ne.month_names[1], "जेठ");
    EXPECT_EQ(ne.festivals.at("Nepali New Year"), "नयाँ वर्ष");
    int differing_nakshatras = 0;
    for (size_t i = 0; i < 27; ++i) {
        differing_nakshatras += hi.nakshatra_names[i] != ne.nakshatra_names[i];
    }
    EXPECT_EQ(differing_nakshatras, 2);
}

TEST(Locale, OnlyExactCodesAreFound) {
    for (const char* code : {"en", "HI_IN", "hi", "", "ne_np", "hi_IN "}) {
        EXPECT_EQ(get_locale(code), nullptr) << "'" << code << "'";
    }
    EXPECT_THROW(load_locale("fr"), InvariantFailure);
}

}  // namespace
}  // namespace zk
