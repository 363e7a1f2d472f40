// Divisional signs checked against the classical rules written out sign by sign.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/divisional.hpp"

namespace zk {
namespace {

enum : uint32_t { Ari = 1, Tau, Gem, Can, Leo, Vir, Lib, Sco, Sag, Cap, Aqu, Pis };
constexpr std::array<uint32_t, 12> kSelf = {Ari, Tau, Gem, Can, Leo, Vir,
                                            Lib, Sco, Sag, Cap, Aqu, Pis};

// A varga whose parts count on, `step` signs at a time, from the sign of a sign's first part.
struct CountedVarga {
    uint32_t varga;
    std::array<uint32_t, 12> first_part;  // for Aries .. Pisces
    uint32_t step = 1;
};
class CountedVargaTest : public testing::TestWithParam<CountedVarga> {};

TEST_P(CountedVargaTest, StartMiddleAndEndOfEveryPart) {
    const CountedVarga& c = GetParam();
    const double width = 30.0 / c.varga;
    for (uint32_t sign = 0; sign < 12; ++sign) {
        for (uint32_t part = 0; part < c.varga; ++part) {
            const uint32_t expected = (c.first_part[sign] - 1 + part * c.step) % 12 + 1;
            for (double at : {0.001, 0.5, 0.999}) {
                const double lon = sign * 30.0 + (part + at) * width;
                EXPECT_EQ(divisional_sign(c.varga, lon), expected)
                    << "D" << c.varga << " of " << lon;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CountedVargaTest,
    testing::Values(CountedVarga{1, kSelf}, CountedVarga{3, kSelf, 4}, CountedVarga{4, kSelf, 3},
                    CountedVarga{7, {Ari, Sco, Gem, Cap, Leo, Pis, Lib, Tau, Sag, Can, Aqu, Vir}},
                    CountedVarga{9, {Ari, Cap, Lib, Can, Ari, Cap, Lib, Can, Ari, Cap, Lib, Can}},
                    // D10: even signs count from the ninth sign (Taurus from Capricorn).
                    CountedVarga{10, {Ari, Cap, Gem, Pis, Leo, Tau, Lib, Can, Sag, Vir, Aqu, Sco}},
                    CountedVarga{16, {Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag}},
                    CountedVarga{20, {Ari, Sag, Leo, Ari, Sag, Leo, Ari, Sag, Leo, Ari, Sag, Leo}},
                    CountedVarga{24, {Leo, Can, Leo, Can, Leo, Can, Leo, Can, Leo, Can, Leo, Can}},
                    CountedVarga{27, {Ari, Can, Lib, Cap, Ari, Can, Lib, Cap, Ari, Can, Lib, Cap}},
                    CountedVarga{40, {Ari, Lib, Ari, Lib, Ari, Lib, Ari, Lib, Ari, Lib, Ari, Lib}},
                    CountedVarga{45, {Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag}},
                    // Vargas without a rule of their own count on from the sign itself.
                    CountedVarga{12, kSelf}, CountedVarga{60, kSelf}, CountedVarga{61, kSelf}));

TEST(DivisionalSign, HoraAndTrimsamsaOfEverySign) {
    // {varga, from, to, sign for odd signs, sign for even signs}
    // clang-format off
    const std::array<std::array<double, 5>, 9> parts = {{
        {2, 0, 15, Leo, Can}, {2, 15, 30, Can, Leo},
        {30, 0, 5, Ari, Tau}, {30, 5, 10, Aqu, Vir}, {30, 10, 12, Sag, Vir}, {30, 12, 18, Sag, Pis},
        {30, 18, 20, Gem, Pis}, {30, 20, 25, Gem, Cap}, {30, 25, 30, Lib, Sco}}};
    // clang-format on
    for (uint32_t sign = 0; sign < 12; ++sign) {
        for (const auto& [varga, from, to, odd, even] : parts) {
            for (double degree : {from, (from + to) / 2, to - 1e-9}) {
                EXPECT_EQ(divisional_sign(varga, sign * 30 + degree), sign % 2 ? even : odd)
                    << "D" << varga << " sign " << sign + 1 << " degree " << degree;
            }
        }
    }
}

TEST(DivisionalSign, EdgesOfTheRange) {
    EXPECT_EQ(divisional_sign(1, 360.0), Ari);
    EXPECT_EQ(divisional_sign(0, 100.0), Can);             // varga 0 is the sign itself
    EXPECT_EQ(get_divisional_longitude(15.0, 30), 255.0);  // D30 Sagittarius, its middle
    EXPECT_FALSE(get_divisional_longitude(NAN, 9));        // never a NaN longitude
    EXPECT_EQ(get_divisional_longitude(1.0, 9), 9.0);
}

// Longitudes on and beside part boundaries, and outside [0, 360): every one is placed the
// same way by itself and as part of a whole set of vargas.
constexpr std::array<double, 10> kAwkwardLongitudes = {0.0,   29.999999, 30.0,   133.3333333, 200.5,
                                                       359.9, 360.0,     -0.001, 725.25,      NAN};

TEST(VargaSigns, AgreeWithEachVargaAlone) {
    for (double lon : kAwkwardLongitudes) {
        const VargaSigns signs = varga_signs(lon);
        ASSERT_EQ(signs.size(), kVargaSet.size());
        size_t i = 0;
        for (const auto& [varga, sign] : signs) {
            EXPECT_EQ(varga, kVargaSet[i++]);
            EXPECT_EQ(sign_number(sign), divisional_sign(varga, lon)) << "D" << varga << " " << lon;
        }
    }
}

TEST(DivisionalCharts, OneListPerVargaInPlanetOrderWithOrWithoutPlacedSigns) {
    std::vector<PlanetPosition> placed, bare;
    for (size_t i = 0; i < kAllPlanets.size(); ++i) {
        PlanetPosition p;
        p.planet = kAllPlanets[i];
        p.longitude = kAwkwardLongitudes[i];
        bare.push_back(p);
        p.divisional_signs = varga_signs(p.longitude);
        placed.push_back(p);
    }
    const auto charts = build_divisional_charts(placed);
    ASSERT_EQ(charts.size(), kVargaSet.size());
    for (uint32_t varga : kVargaSet) {
        const std::vector<VargaPosition>& list = charts.at(varga);
        ASSERT_EQ(list.size(), placed.size());
        for (size_t i = 0; i < list.size(); ++i) {
            const VargaPosition& v = list[i];
            const double lon = placed[i].longitude;
            EXPECT_EQ(v.planet, placed[i].planet);
            EXPECT_EQ(v.varga, varga);
            EXPECT_EQ(sign_number(v.varga_sign), divisional_sign(varga, lon)) << "D" << varga;
            EXPECT_EQ(v.varga_index, divisional_part(varga, lon)) << "D" << varga << " " << lon;
            EXPECT_EQ(v.display_longitude, sign_number(v.varga_sign) * 30.0 - 15.0);
            EXPECT_EQ(v.warnings.size(), varga == 60 ? 1u : 0u);
        }
    }
    // Planets the pipeline has not placed are placed here, alike.
    const auto from_bare = build_divisional_charts(bare);
    for (uint32_t varga : kVargaSet) {
        for (size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(from_bare.at(varga)[i].varga_sign, charts.at(varga)[i].varga_sign);
        }
    }
    // Signs already placed are read whatever their order; the others are placed here.
    bare[0].divisional_signs = {{60, Sign::Leo}, {9, Sign::Pisces}, {2, Sign::Virgo}};
    const auto partly = build_divisional_charts(bare);
    EXPECT_EQ(partly.at(60)[0].varga_sign, Sign::Leo);
    EXPECT_EQ(partly.at(9)[0].varga_sign, Sign::Pisces);
    EXPECT_EQ(partly.at(2)[0].varga_sign, Sign::Virgo);
    EXPECT_EQ(partly.at(3)[0].varga_sign, charts.at(3)[0].varga_sign);
    EXPECT_EQ(partly.at(45)[0].varga_sign, charts.at(45)[0].varga_sign);
}

}  // namespace
}  // namespace zk
