#include "chart/divisional.hpp"

#include <algorithm>
#include <cmath>

#include "core/format.hpp"

namespace zk {
namespace {

// How a varga finds the sign of the first part of a sign; later parts count on by `step`.
// Sign numbers are zero-based here (0 = Aries). "Odd" signs are Aries, Gemini, ... (even
// zero-based index).
struct VargaRule {
    enum class Start : uint8_t {
        FromSign,  // the sign itself, moved on by `by_parity` signs
        Fixed,     // the sign in `by_parity`, whatever the sign but its parity
        Table,     // `table` by sign; `beyond` for an index past Pisces
    };
    Start start = Start::FromSign;
    std::array<uint8_t, 2> by_parity{};  // odd sign, even sign
    std::array<uint8_t, 12> table{};
    uint8_t beyond = 0;
    std::array<uint8_t, 2> step{1, 1};  // odd sign, even sign
};

constexpr VargaRule from_sign(uint8_t odd_offset, uint8_t even_offset, uint8_t step = 1) {
    return {VargaRule::Start::FromSign, {odd_offset, even_offset}, {}, 0, {step, step}};
}
constexpr VargaRule fixed(uint8_t odd_start, uint8_t even_start,
                          std::array<uint8_t, 2> step = {1, 1}) {
    return {VargaRule::Start::Fixed, {odd_start, even_start}, {}, 0, step};
}
// Movable, fixed and dual signs each start from one sign.
constexpr VargaRule by_modality(uint8_t movable, uint8_t fixed_sign, uint8_t dual, uint8_t beyond) {
    VargaRule rule{VargaRule::Start::Table, {}, {}, beyond, {1, 1}};
    for (size_t i = 0; i < 12; ++i) rule.table[i] = std::array{movable, fixed_sign, dual}[i % 3];
    return rule;
}
// Fire, earth, air and water signs each start from one sign.
constexpr VargaRule by_element(uint8_t fire, uint8_t earth, uint8_t air, uint8_t water,
                               uint8_t beyond) {
    VargaRule rule{VargaRule::Start::Table, {}, {}, beyond, {1, 1}};
    for (size_t i = 0; i < 12; ++i) rule.table[i] = std::array{fire, earth, air, water}[i % 4];
    return rule;
}

constexpr uint8_t kAries = 0, kCancer = 3, kLeo = 4, kLibra = 6, kSagittarius = 8, kCapricorn = 9;

constexpr std::array<VargaRule, 61> kRules = [] {
    std::array<VargaRule, 61> rules{};  // unlisted vargas count on from the sign itself
    // D1 is the sign itself; an index past Pisces is Aries.
    rules[1] = {VargaRule::Start::Table, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, kAries};
    // Hora: odd signs run Leo then Cancer, even signs Cancer then Leo.
    rules[2] = fixed(kLeo, kCancer, {11, 1});
    rules[3] = from_sign(0, 0, 4);
    rules[4] = from_sign(0, 0, 3);
    rules[7] = from_sign(0, 6);
    rules[9] = by_element(kAries, kCapricorn, kLibra, kCancer, kCancer);
    rules[10] = from_sign(0, 8);  // even signs start from the ninth sign, counted inclusively
    rules[16] = by_modality(kAries, kLeo, kSagittarius, kSagittarius);
    rules[20] = by_modality(kAries, kSagittarius, kLeo, kLeo);
    rules[24] = fixed(kLeo, kCancer);
    rules[27] = by_element(kAries, kCancer, kLibra, kCapricorn, kCapricorn);
    rules[40] = fixed(kAries, kLibra);
    rules[45] = rules[16];  // same starts as D16
    return rules;
}();

// Trimsamsa parts are unequal: each ends below a degree within the sign, and the last one
// takes every remaining degree.
struct TrimsamsaPart {
    double below;
    uint8_t sign;  // 1..12
};
constexpr std::array<TrimsamsaPart, 5> kTrimsamsaOdd = {
    {{5, 1}, {10, 11}, {18, 9}, {25, 3}, {kSignSpanDeg, 7}}};
constexpr std::array<TrimsamsaPart, 5> kTrimsamsaEven = {
    {{5, 2}, {12, 6}, {20, 12}, {25, 10}, {kSignSpanDeg, 8}}};

uint32_t trimsamsa_sign(bool odd, double degree) {
    const auto& parts = odd ? kTrimsamsaOdd : kTrimsamsaEven;
    for (size_t k = 0; k + 1 < parts.size(); ++k) {
        if (degree < parts[k].below) return parts[k].sign;
    }
    return parts.back().sign;
}

// Zero-based part of its sign, from the degrees already past the sign's start.
uint32_t part_from_degree(uint32_t varga, double degree) {
    const double width = kSignSpanDeg / varga;
    return saturating_floor_u32(degree / width);
}

// The varga sign from the longitude's sign index and its degree in the sign, both computed
// once by callers that place one longitude in many vargas.
uint32_t sign_from_parts(uint32_t varga, uint64_t sign, double degree) {
    // Not wrapped: a longitude past Pisces takes the rule's `beyond` start.
    const bool odd = sign % 2 == 0;
    if (varga == 30) return trimsamsa_sign(odd, degree);

    const VargaRule& rule = varga < kRules.size() ? kRules[varga] : kRules[0];
    const size_t parity = odd ? 0 : 1;
    uint64_t start = 0;
    switch (rule.start) {
        case VargaRule::Start::FromSign:
            start = sign + rule.by_parity[parity];
            break;
        case VargaRule::Start::Fixed:
            start = rule.by_parity[parity];
            break;
        case VargaRule::Start::Table:
            start = sign < 12 ? rule.table[sign] : rule.beyond;
            break;
    }
    const uint64_t part = part_from_degree(varga, degree);
    return static_cast<uint32_t>((start + part * rule.step[parity]) % 12 + 1);
}

}  // namespace

uint32_t divisional_part(uint32_t varga, double longitude) {
    return part_from_degree(varga, degree_in_sign(longitude));
}

uint32_t divisional_sign(uint32_t varga, double longitude) {
    return sign_from_parts(varga, sign_index(longitude), degree_in_sign(longitude));
}

Result<double> get_divisional_longitude(double longitude, uint32_t varga) {
    if (!std::isfinite(longitude)) {
        return std::unexpected(
            ZodiakitError::invalid_input("Invalid longitude " + format_plain(longitude) +
                                         ": expected a finite number of degrees"));
    }
    const double sign_start = (divisional_sign(varga, longitude) - 1) * kSignSpanDeg;
    if (varga == 30) return sign_start + kSignSpanDeg / 2;
    const double width = kSignSpanDeg / varga;
    return sign_start + std::fmod(degree_in_sign(longitude), width) * varga;
}

VargaSigns varga_signs(double longitude) {
    const uint64_t sign = sign_index(longitude);
    const double degree = degree_in_sign(longitude);
    VargaSigns signs;
    signs.reserve(kVargaSet.size());
    for (uint32_t varga : kVargaSet) {
        signs.set(varga, sign_from_number(sign_from_parts(varga, sign, degree)));
    }
    return signs;
}

std::map<uint32_t, std::vector<VargaPosition>> build_divisional_charts(
    const std::vector<PlanetPosition>& planets) {
    std::map<uint32_t, std::vector<VargaPosition>> charts;
    std::array<std::vector<VargaPosition>*, kVargaSet.size()> lists{};
    for (size_t v = 0; v < kVargaSet.size(); ++v) {
        lists[v] =
            &charts.emplace_hint(charts.end(), kVargaSet[v], std::vector<VargaPosition>{})->second;
        lists[v]->reserve(planets.size());
    }
    // Planet by planet, so that each longitude's sign and degree are taken once; every
    // list still holds the planets in their order.
    for (const PlanetPosition& p : planets) {
        const uint64_t sign_at = sign_index(p.longitude);
        const double degree = degree_in_sign(p.longitude);
        // The pipeline has already placed the planet in every varga of the set, in its order.
        auto placed = p.divisional_signs.begin();
        for (size_t v = 0; v < kVargaSet.size(); ++v) {
            const uint32_t varga = kVargaSet[v];
            std::optional<Sign> known;
            if (placed != p.divisional_signs.end() && placed->first == varga) {
                known = (placed++)->second;
            } else {
                known = p.divisional_signs.find(varga);
            }
            const uint32_t sign =
                known ? sign_number(*known) : sign_from_parts(varga, sign_at, degree);
            VargaPosition& position = lists[v]->emplace_back();
            position.planet = p.planet;
            position.source_longitude = p.longitude;
            position.varga = varga;
            position.varga_sign = sign_from_number(sign);
            position.varga_index = part_from_degree(varga, degree);
            position.display_longitude = sign * kSignSpanDeg - kSignSpanDeg / 2;  // mid-sign
            if (varga == 60) position.warnings.emplace_back(kShashtiamsaWarning);
        }
    }
    return charts;
}

std::optional<Sign> varga_ascendant(const Chart& chart, uint32_t varga) {
    const double ascendant = normalize_degrees(chart.ascendant);
    if (varga == 1) return sign_from_longitude(ascendant);
    if (std::find(kVargaSet.begin(), kVargaSet.end(), varga) == kVargaSet.end()) {
        return std::nullopt;
    }
    if (auto known = chart.ascendant_divisional_signs.find(varga)) return known;
    return sign_from_number(divisional_sign(varga, ascendant));
}

}  // namespace zk
