// Divisional signs checked against the classical rules written out sign by sign.
#include <gtest/gtest.h>

#include <cmath>
#include <span>

#include "charts/divisional.hpp"

namespace zk {
namespace {

enum : uint32_t { Ari = 1, Tau, Gem, Can, Leo, Vir, Lib, Sco, Sag, Cap, Aqu, Pis };
constexpr std::array<uint32_t, 12> kSelf = {Ari, Tau, Gem, Can, Leo, Vir,
                                            Lib, Sco, Sag, Cap, Aqu, Pis};

// A varga whose parts count on from the sign of a sign's first part.
struct CountedVarga {
    uint32_t varga;
    std::array<uint32_t, 12> first_part;  // for Aries .. Pisces
    uint32_t step = 1;                    // signs counted on from one part to the next
};

std::ostream& operator<<(std::ostream& os, const CountedVarga& c) { return os << "D" << c.varga; }

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
                    << "D" << c.varga << " lon " << lon << " part " << part;
                EXPECT_EQ(divisional_part(c.varga, lon), part) << "lon " << lon;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CountedVargaTest,
    testing::Values(
        CountedVarga{1, kSelf}, CountedVarga{3, kSelf, 4}, CountedVarga{4, kSelf, 3},
        CountedVarga{7, {Ari, Sco, Gem, Cap, Leo, Pis, Lib, Tau, Sag, Can, Aqu, Vir}},
        CountedVarga{9, {Ari, Cap, Lib, Can, Ari, Cap, Lib, Can, Ari, Cap, Lib, Can}},
        CountedVarga{10, {Ari, Aqu, Gem, Ari, Leo, Gem, Lib, Leo, Sag, Lib, Aqu, Sag}},
        CountedVarga{16, {Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag}},
        CountedVarga{20, {Ari, Sag, Leo, Ari, Sag, Leo, Ari, Sag, Leo, Ari, Sag, Leo}},
        CountedVarga{24, {Leo, Can, Leo, Can, Leo, Can, Leo, Can, Leo, Can, Leo, Can}},
        CountedVarga{27, {Ari, Can, Lib, Cap, Ari, Can, Lib, Cap, Ari, Can, Lib, Cap}},
        CountedVarga{40, {Ari, Lib, Ari, Lib, Ari, Lib, Ari, Lib, Ari, Lib, Ari, Lib}},
        CountedVarga{45, {Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag, Ari, Leo, Sag}},
        // Vargas without a rule of their own count on from the sign itself.
        CountedVarga{5, kSelf}, CountedVarga{6, kSelf}, CountedVarga{12, kSelf},
        CountedVarga{60, kSelf}, CountedVarga{61, kSelf}, CountedVarga{150, kSelf}));

TEST(Hora, OddSignsRunLeoThenCancerAndEvenSignsTheReverse) {
    for (uint32_t sign = 0; sign < 12; ++sign) {
        const bool odd = sign % 2 == 0;
        for (double degree : {0.001, 7.5, 14.999}) {
            EXPECT_EQ(divisional_sign(2, sign * 30 + degree), odd ? Leo : Can);
            EXPECT_EQ(divisional_sign(2, sign * 30 + 15 + degree), odd ? Can : Leo);
        }
    }
}

TEST(Trimsamsa, UnequalPartsByDegree) {
    struct Part {
        double from, to;
        uint32_t odd_sign, even_sign;
    };
    const Part odd[] = {{0, 5, Ari, 0}, {5, 10, Aqu, 0}, {10, 18, Sag, 0}, {18, 25, Gem, 0},
                        {25, 30, Lib, 0}};
    const Part even[] = {{0, 5, 0, Tau}, {5, 12, 0, Vir}, {12, 20, 0, Pis}, {20, 25, 0, Cap},
                         {25, 30, 0, Sco}};
    for (uint32_t sign = 0; sign < 12; ++sign) {
        const bool is_odd = sign % 2 == 0;
        for (const Part& p : is_odd ? std::span<const Part>(odd) : std::span<const Part>(even)) {
            for (double degree : {p.from, (p.from + p.to) / 2, p.to - 1e-9}) {
                const uint32_t expected = is_odd ? p.odd_sign : p.even_sign;
                EXPECT_EQ(divisional_sign(30, sign * 30 + degree), expected)
                    << "sign " << sign + 1 << " degree " << degree;
            }
        }
    }
}

TEST(DivisionalSign, ClassicalExamples) {
    EXPECT_EQ(divisional_sign(2, 10.0), Leo);
    EXPECT_EQ(divisional_sign(2, 20.0), Can);
    EXPECT_EQ(divisional_sign(2, 40.0), Can);
    EXPECT_EQ(divisional_sign(2, 50.0), Leo);
    EXPECT_EQ(divisional_sign(9, 2.0), Ari);
    EXPECT_EQ(divisional_sign(9, 32.0), Cap);
    EXPECT_EQ(divisional_sign(9, 62.0), Lib);
    EXPECT_EQ(divisional_sign(9, 92.0), Can);
    EXPECT_EQ(divisional_sign(9, 359.0), Pis);
    EXPECT_EQ(divisional_sign(10, 31.0), Aqu);
    EXPECT_EQ(divisional_sign(7, 34.0), Sco);
    EXPECT_EQ(divisional_sign(30, 4.99), Ari);
    EXPECT_EQ(divisional_sign(30, 5.0), Aqu);
    EXPECT_EQ(divisional_sign(30, 41.99), Vir);
    EXPECT_EQ(divisional_sign(30, 42.0), Pis);
    EXPECT_EQ(divisional_sign(1, 360.0), Ari);
    EXPECT_EQ(divisional_sign(0, 100.0), Can);  // varga 0 is the sign itself
}

TEST(DivisionalSign, OutOfRangeLongitudesStillGiveASign) {
    // Indexes past Pisces start from the table's last entry.
    EXPECT_EQ(divisional_sign(9, 365.0), Leo);   // from Cancer, second part
    EXPECT_EQ(divisional_sign(16, 361.0), Sag);
    EXPECT_EQ(divisional_sign(20, 361.0), Leo);
    EXPECT_EQ(divisional_sign(27, 361.0), Cap);
    for (double lon : {double{NAN}, double{INFINITY}, -double{INFINITY}, -45.0, 1e300}) {
        for (uint32_t varga : {0u, 1u, 2u, 9u, 30u, 60u, 4294967295u}) {
            const uint32_t sign = divisional_sign(varga, lon);
            EXPECT_TRUE(sign >= 1 && sign <= 12) << "D" << varga << " of " << lon;
        }
    }
}

TEST(DivisionalLongitude, PositionInsideThePartStretchedToASign) {
    EXPECT_EQ(get_divisional_longitude(15.0, 30), 255.0);
    EXPECT_EQ(get_divisional_longitude(1.0, 9), 9.0);
    EXPECT_DOUBLE_EQ(get_divisional_longitude(35.0, 2), 90.0 + 5.0 * 2);  // Cancer, 10 deg
    EXPECT_EQ(get_divisional_longitude(100.0, 1), 100.0);
}

TEST(DivisionalCharts, FifteenVargasOfNinePositions) {
    std::vector<PlanetPosition> planets;
    for (Planet p : kAllPlanets) {
        PlanetPosition& position = planets.emplace_back();
        position.planet = p;
        position.longitude = 37.0 * planet_index(p);
    }
    const auto charts = build_divisional_charts(planets);
    ASSERT_EQ(charts.size(), kVargaSet.size());
    for (uint32_t varga : kVargaSet) {
        const auto& positions = charts.at(varga);
        ASSERT_EQ(positions.size(), 9u);
        for (size_t i = 0; i < 9; ++i) {
            const VargaPosition& v = positions[i];
            EXPECT_EQ(v.planet, kAllPlanets[i]);
            EXPECT_EQ(v.varga, varga);
            EXPECT_EQ(v.source_longitude, planets[i].longitude);
            EXPECT_EQ(sign_number(v.varga_sign), divisional_sign(varga, v.source_longitude));
            EXPECT_EQ(v.varga_index, divisional_part(varga, v.source_longitude));
            EXPECT_EQ(v.display_longitude, sign_number(v.varga_sign) * 30.0 - 15.0);
            EXPECT_EQ(v.warnings.size(), varga == 60 ? 1u : 0u);
        }
    }
}

}  // namespace
}  // namespace zk
