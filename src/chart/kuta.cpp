#include "chart/kuta.hpp"

#include <array>

namespace zk {

namespace {

// Indexed by sign number - 1 (Aries first).
constexpr std::array<int, 12> kVarnaRank = {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4};
constexpr std::array<int, 12> kVasyaGroup = {1, 1, 2, 3, 4, 2, 2, 5, 1, 3, 2, 3};
// Indexed by the count of one Moon sign from the other, less one (same sign first).
constexpr std::array<double, 12> kBhakut = {7, 0, 7, 7, 0, 0, 7, 0, 0, 7, 7, 0};

// Indexed by nakshatra number - 1 (Ashwini first).
constexpr std::array<int, 27> kYoniGroup = {1, 2,  3,  4,  4, 5,  6,  3,  6,  7, 7,  8, 9, 10,
                                            9, 10, 11, 11, 5, 12, 13, 12, 14, 1, 14, 8, 2};
constexpr std::array<std::array<int, 2>, 7> kYoniEnemies = {
    {{1, 9}, {2, 14}, {3, 12}, {4, 13}, {5, 11}, {6, 7}, {8, 10}}};

enum class Gana { Deva, Manushya, Rakshasa };
constexpr Gana D = Gana::Deva, M = Gana::Manushya, R = Gana::Rakshasa;
constexpr std::array<Gana, 27> kGana = {D, M, R, M, D, M, D, D, R, M, M, M, D, R,
                                        D, R, D, R, R, M, M, D, R, R, R, M, D};
// Indexed [self][other].
constexpr std::array<std::array<double, 3>, 3> kGanaScore = {{
    {6.0, 5.0, 0.0},  // Deva
    {5.0, 6.0, 0.0},  // Manushya
    {1.0, 0.0, 6.0},  // Rakshasa
}};

// Nadi class repeats every nine nakshatras.
constexpr std::array<int, 9> kNadiCycle = {0, 1, 2, 2, 1, 0, 0, 1, 2};

// Friendship sides of the sign lords: Sun, Moon, Mars, Jupiter against Mercury, Venus, Saturn.
bool on_first_side(Planet p) {
    return p == Planet::Sun || p == Planet::Moon || p == Planet::Mars || p == Planet::Jupiter;
}

double tara_part(unsigned count) {
    const unsigned r = count % 9;
    return (r == 3 || r == 5 || r == 7) ? 0.0 : 1.5;
}

bool yoni_enemies(int a, int b) {
    for (const auto& pair : kYoniEnemies) {
        if ((pair[0] == a && pair[1] == b) || (pair[0] == b && pair[1] == a)) return true;
    }
    return false;
}

}  // namespace

KutaResult match_kuta(const Chart& self, const Chart& other) {
    KutaResult r;
    const PlanetPosition* moon_a = find_planet(self.planets, Planet::Moon);
    const PlanetPosition* moon_b = find_planet(other.planets, Planet::Moon);
    if (!moon_a || !moon_b) return r;

    const unsigned sa = sign_number(moon_a->sign.value_or(Sign::Aries)) - 1;
    const unsigned sb = sign_number(moon_b->sign.value_or(Sign::Aries)) - 1;
    const unsigned na = static_cast<unsigned>(moon_a->nakshatra.value_or(Nakshatra::Ashwini)) - 1;
    const unsigned nb = static_cast<unsigned>(moon_b->nakshatra.value_or(Nakshatra::Ashwini)) - 1;

    r.varna = kVarnaRank[sa] >= kVarnaRank[sb] ? 1.0 : 0.0;

    const int va = kVasyaGroup[sa], vb = kVasyaGroup[sb];
    const bool merchant_and_lion = (va == 2 && vb == 4) || (va == 4 && vb == 2);
    r.vasya = va == vb ? 2.0 : merchant_and_lion ? 0.0 : 1.0;

    r.tara = tara_part(count_from(na, nb, 27)) + tara_part(count_from(nb, na, 27));

    const int ya = kYoniGroup[na], yb = kYoniGroup[nb];
    r.yoni = ya == yb ? 4.0 : yoni_enemies(ya, yb) ? 0.0 : 2.0;

    const Planet la = sign_lord(sign_from_number(sa + 1));
    const Planet lb = sign_lord(sign_from_number(sb + 1));
    if (la == lb || on_first_side(la) == on_first_side(lb)) {
        r.graha_maitri = 5.0;
    } else if (la == Planet::Moon || lb == Planet::Moon) {
        r.graha_maitri = 2.5;
    }

    r.gana = kGanaScore[static_cast<size_t>(kGana[na])][static_cast<size_t>(kGana[nb])];
    r.bhakut = kBhakut[count_from(sa, sb, 12) - 1];
    r.nadi = kNadiCycle[na % 9] == kNadiCycle[nb % 9] ? 0.0 : 8.0;

    r.total_score =
        r.varna + r.vasya + r.tara + r.yoni + r.graha_maitri + r.gana + r.bhakut + r.nadi;
    r.is_compatible = r.total_score >= 18.0;
    return r;
}

}  // namespace zk
