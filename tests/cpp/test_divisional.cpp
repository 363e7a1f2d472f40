// Divisional signs checked against the classical rules written out sign by sign.
#include <gtest/gtest.h>

#include <cmath>

#include "charts/divisional.hpp"

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
                EXPECT_EQ(divisional_sign(c.varga, lon), expected) << "lon " << lon;
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
        CountedVarga{5, kSelf}, CountedVarga{12, kSelf}, CountedVarga{60, kSelf},
        CountedVarga{61, kSelf}, CountedVarga{150, kSelf}));

TEST(DivisionalSign, HoraAndTrimsamsaOfEverySign) {
    struct Part {
        double from, to;
        uint32_t sign;
    };
    using Parts = std::vector<Part>;
    const Parts hora_odd = {{0, 15, Leo}, {15, 30, Can}}, hora_even = {{0, 15, Can}, {15, 30, Leo}};
    const Parts trimsamsa_odd = {{0, 5, Ari}, {5, 10, Aqu}, {10, 18, Sag}, {18, 25, Gem},
                                 {25, 30, Lib}};
    const Parts trimsamsa_even = {{0, 5, Tau}, {5, 12, Vir}, {12, 20, Pis}, {20, 25, Cap},
                                  {25, 30, Sco}};
    auto check = [](uint32_t varga, uint32_t sign, const Parts& parts) {
        for (const Part& p : parts) {
            for (double degree : {p.from, (p.from + p.to) / 2, p.to - 1e-9}) {
                EXPECT_EQ(divisional_sign(varga, sign * 30 + degree), p.sign)
                    << "D" << varga << " sign " << sign + 1 << " degree " << degree;
            }
        }
    };
    for (uint32_t sign = 0; sign < 12; ++sign) {
        const bool odd = sign % 2 == 0;
        check(2, sign, odd ? hora_odd : hora_even);
        check(30, sign, odd ? trimsamsa_odd : trimsamsa_even);
    }
}

TEST(DivisionalSign, EdgesOfTheRange) {
    EXPECT_EQ(divisional_sign(1, 360.0), Ari);
    EXPECT_EQ(divisional_sign(0, 100.0), Can);  // varga 0 is the sign itself
    EXPECT_EQ(divisional_sign(9, 365.0), Leo);  // an index past Pisces starts from Cancer
    EXPECT_EQ(divisional_sign(16, 361.0), Sag);
    for (double lon : {double{NAN}, double{INFINITY}, -45.0, 1e300}) {
        for (uint32_t varga : {0u, 1u, 2u, 9u, 30u, 4294967295u}) {
            EXPECT_TRUE(divisional_sign(varga, lon) - 1 < 12) << "D" << varga << " of " << lon;
        }
    }
    EXPECT_EQ(get_divisional_longitude(15.0, 30), 255.0);  // D30 Sagittarius, its middle
    EXPECT_EQ(get_divisional_longitude(1.0, 9), 9.0);
    EXPECT_DOUBLE_EQ(get_divisional_longitude(35.0, 2), 100.0);  // 10 deg of Cancer
}

}  // namespace
}  // namespace zk
