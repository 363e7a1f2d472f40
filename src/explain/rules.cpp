#include "explain/rules.hpp"

#include <algorithm>
#include <array>

#include "core/dignity.hpp"

namespace zk {

namespace {

// Only these planets count as occupying a house around the Sun or the Moon, and only they
// can be strong.
constexpr std::array<Planet, 5> kStarPlanets = {Planet::Mars, Planet::Mercury, Planet::Jupiter,
                                                Planet::Venus, Planet::Saturn};

// In an own or exalted sign; the luminaries and the nodes never count as strong.
bool in_strong_sign(const PlanetPosition& p) {
    if (!p.sign) return false;
    return std::find(kStarPlanets.begin(), kStarPlanets.end(), p.planet) != kStarPlanets.end() &&
           is_own_or_exalted(p.planet, *p.sign);
}

// Two absent houses count as the same house; one absent and one present do not.
bool same_house(const PlanetPosition& a, const PlanetPosition& b) {
    return a.house == b.house;
}

bool aspects(const Chart& chart, Planet from, Planet to) {
    return std::any_of(chart.aspects.begin(), chart.aspects.end(),
                       [&](const Aspect& a) { return a.from_planet == from && a.to_planet == to; });
}

bool mutual_aspect(const Chart& chart, Planet a, Planet b) {
    return aspects(chart, a, b) && aspects(chart, b, a);
}

// The lord of the sign in which the house's cusp lies.
std::optional<Planet> house_lord(const Chart& chart, unsigned house) {
    for (const HouseCusp& h : chart.houses) {
        if (h.house != house) continue;
        return sign_lord(sign_from_longitude(normalize_degrees(h.cusp)));
    }
    return std::nullopt;
}

bool star_planet_in_house(const Chart& chart, unsigned house) {
    return std::any_of(kStarPlanets.begin(), kStarPlanets.end(), [&](Planet planet) {
        const PlanetPosition* p = find_planet(chart.planets, planet);
        return p && p->house == house;
    });
}

std::optional<uint8_t> house_of(const Chart& chart, Planet planet) {
    const PlanetPosition* p = find_planet(chart.planets, planet);
    return p ? p->house : std::nullopt;
}

// Whether one of Mars ... Saturn stands in the `nth` house from `anchor`'s house.
bool occupied_from(const Chart& chart, Planet anchor, unsigned nth) {
    const auto h = house_of(chart, anchor);
    return h && star_planet_in_house(chart, nth_house_from(*h, nth));
}

// Two lords in the same house, or else each aspecting the other.
struct LordPair {
    Planet first;
    Planet second;
};
std::optional<LordPair> related_lords(const Chart& chart, unsigned house_a, unsigned house_b) {
    const auto lord_a = house_lord(chart, house_a);
    const auto lord_b = house_lord(chart, house_b);
    if (!lord_a || !lord_b) return std::nullopt;
    const PlanetPosition* a = find_planet(chart.planets, *lord_a);
    const PlanetPosition* b = find_planet(chart.planets, *lord_b);
    if (!a || !b) return std::nullopt;
    if (same_house(*a, *b) || mutual_aspect(chart, *lord_a, *lord_b)) {
        return LordPair{*lord_a, *lord_b};
    }
    return std::nullopt;
}

Graph rule_only(std::string_view id, const AstroRule& rule) {
    Graph g;
    g.add_node(id, RuleNode{std::string(rule.name()), std::string(rule.description())});
    return g;
}

// The rule node alone, when the rule holds.
std::optional<Graph> rule_only_if(bool holds, std::string_view id, const AstroRule& rule) {
    if (!holds) return std::nullopt;
    return rule_only(id, rule);
}

Graph rule_with_condition(std::string_view rule_id, const AstroRule& rule,
                          std::string_view condition_id, std::string expression) {
    Graph g = rule_only(rule_id, rule);
    g.add_node(condition_id, ConditionNode{std::move(expression)});
    g.add_edge(rule_id, condition_id, Edge::DependsOn);
    return g;
}

std::string planet_node_id(Planet planet) {
    return "planet_" + std::string(planet_key(planet));
}

std::string house_node_id(unsigned house) {
    return "house_" + std::to_string(house);
}

PlanetNode planet_node(Planet planet) {
    return PlanetNode{std::string(planet_name(planet)), planet_node_id(planet)};
}

// ---------------------------------------------------------------- the checks
// Each gives the proof graph of `rule` when its condition holds in the chart.

// Jupiter in the 1st, 4th, 7th or 10th house from the Moon's house.
std::optional<Graph> gaja_kesari(const Chart& chart, const AstroRule& rule) {
    const auto j = house_of(chart, Planet::Jupiter);
    const auto m = house_of(chart, Planet::Moon);
    if (!j || !m) return std::nullopt;
    if (!is_kendra(houses_from(*j, *m))) return std::nullopt;

    const std::string jupiter_house = house_node_id(*j);
    const std::string moon_house = house_node_id(*m);
    constexpr std::string_view kRule = "rule_gaja_kesari";
    constexpr std::string_view kCondition = "condition_jup_kendra_moon";
    constexpr std::string_view kSource = "source_bphs_36";
    Graph g;
    g.add_node("planet_jupiter", planet_node(Planet::Jupiter));
    g.add_node("planet_moon", planet_node(Planet::Moon));
    g.add_node(jupiter_house, HouseNode{*j});
    g.add_node(moon_house, HouseNode{*m});
    g.add_edge("planet_jupiter", jupiter_house, Edge::LocatedIn);
    g.add_edge("planet_moon", moon_house, Edge::LocatedIn);
    g.add_node(kRule, RuleNode{std::string(rule.name()), std::string(rule.description())});
    g.add_node(kCondition,
               ConditionNode{"House of Jupiter (" + std::to_string(*j) +
                             ") is in kendra from House of Moon (" + std::to_string(*m) + ")"});
    g.add_edge(kRule, kCondition, Edge::DependsOn);
    g.add_edge(kCondition, "planet_jupiter", Edge::DependsOn);
    g.add_edge(kCondition, "planet_moon", Edge::DependsOn);
    g.add_node(kSource,
               TextSourceNode{"Brihat Parashara Hora Shastra", "Ch. 36", "36.3-4",
                              "If Jupiter is in a kendra from the Moon, Gaja Kesari Yoga is "
                              "formed..."});
    g.add_edge(kRule, kSource, Edge::Cites);
    return g;
}

// Lords of houses 9 and 10 in the same house, or in mutual aspect.
std::optional<Graph> dharma_karmadhipati(const Chart& chart, const AstroRule& rule) {
    const auto lords = related_lords(chart, 9, 10);
    if (!lords) return std::nullopt;
    return rule_with_condition("rule_dharma_karmadhipati", rule, "cond_l9_l10_related",
                               "Lord of 9H (" + std::string(planet_name(lords->first)) +
                                   ") and Lord of 10H (" + std::string(planet_name(lords->second)) +
                                   ") are related");
}

// Sun and Mercury in the same house.
std::optional<Graph> budha_aditya(const Chart& chart, const AstroRule& rule) {
    const PlanetPosition* sun = find_planet(chart.planets, Planet::Sun);
    const PlanetPosition* mercury = find_planet(chart.planets, Planet::Mercury);
    if (!sun || !mercury || !same_house(*sun, *mercury)) return std::nullopt;
    return rule_with_condition("rule_budha_aditya", rule, "cond_sun_merc_conjunct",
                               "Sun and Mercury are in the same house");
}

// The 9th lord in a kendra and in an own or exalted sign.
std::optional<Graph> lakshmi(const Chart& chart, const AstroRule& rule) {
    const auto lord = house_lord(chart, 9);
    const PlanetPosition* p = lord ? find_planet(chart.planets, *lord) : nullptr;
    return rule_only_if(in_kendra(p) && in_strong_sign(*p), "rule_lakshmi", rule);
}

// One of Mars ... Saturn in the 2nd house from the Moon.
std::optional<Graph> sunapha(const Chart& chart, const AstroRule& rule) {
    return rule_only_if(occupied_from(chart, Planet::Moon, 2), "rule_sunapha", rule);
}

// One of Mars ... Saturn in the 12th house from the Moon.
std::optional<Graph> anapha(const Chart& chart, const AstroRule& rule) {
    return rule_only_if(occupied_from(chart, Planet::Moon, 12), "rule_anapha", rule);
}

// One of Mars ... Saturn in the 2nd house from the Sun.
std::optional<Graph> veshi(const Chart& chart, const AstroRule& rule) {
    return rule_only_if(occupied_from(chart, Planet::Sun, 2), "rule_veshi", rule);
}

// One of Mars ... Saturn in the 12th house from the Sun.
std::optional<Graph> voshi(const Chart& chart, const AstroRule& rule) {
    return rule_only_if(occupied_from(chart, Planet::Sun, 12), "rule_voshi", rule);
}

// Mercury, Jupiter or Venus in house 10, or else in the 10th from the Moon.
std::optional<Graph> amala(const Chart& chart, const AstroRule& rule) {
    // Without a Moon house the second test falls back to house 10 itself.
    const auto moon = house_of(chart, Planet::Moon);
    const unsigned tenth_from_moon = moon ? nth_house_from(*moon, 10) : 10u;
    const auto benefic_in = [&](unsigned house) {
        constexpr std::array<Planet, 3> kBenefics = {Planet::Mercury, Planet::Jupiter,
                                                     Planet::Venus};
        return std::any_of(kBenefics.begin(), kBenefics.end(),
                           [&](Planet planet) { return house_of(chart, planet) == house; });
    };
    return rule_only_if(benefic_in(10) || benefic_in(tenth_from_moon), "rule_amala", rule);
}

// Lords of houses 2 and 11 in the same house, or in mutual aspect.
std::optional<Graph> dhana(const Chart& chart, const AstroRule& rule) {
    return rule_only_if(related_lords(chart, 2, 11).has_value(), "rule_dhana", rule);
}

// Jupiter, Venus and Mercury all in houses 1, 4, 5, 7, 9 or 10 and in own or exalted signs.
std::optional<Graph> saraswati(const Chart& chart, const AstroRule& rule) {
    constexpr std::array<Planet, 3> kBenefics = {Planet::Jupiter, Planet::Venus, Planet::Mercury};
    const auto strong = [&](Planet planet) {
        const PlanetPosition* p = find_planet(chart.planets, planet);
        if (!p || !p->house) return false;
        const unsigned h = *p->house;
        const bool auspicious = is_kendra(h) || h == 5 || h == 9;
        return auspicious && in_strong_sign(*p);
    };
    return rule_only_if(std::all_of(kBenefics.begin(), kBenefics.end(), strong), "rule_saraswati",
                        rule);
}

// None of Mars ... Saturn in the Moon's house or the 2nd or 12th from it.
std::optional<Graph> kemadruma(const Chart& chart, const AstroRule& rule) {
    const auto m = house_of(chart, Planet::Moon);
    if (!m) return std::nullopt;
    const unsigned second = nth_house_from(*m, 2);
    const unsigned twelfth = nth_house_from(*m, 12);
    if (star_planet_in_house(chart, second) || star_planet_in_house(chart, twelfth) ||
        star_planet_in_house(chart, *m)) {
        return std::nullopt;
    }
    return rule_with_condition("rule_kemadruma", rule, "cond_kemadruma",
                               "No planets in house " + std::to_string(second) + " or " +
                                   std::to_string(twelfth) + " from Moon (house " +
                                   std::to_string(*m) + ")");
}

// ---------------------------------------------------------------- the rule types

using RuleCheck = std::optional<Graph> (*)(const Chart& chart, const AstroRule& rule);

// A rule's name or description as a template argument.
template <size_t N>
struct RuleText {
    constexpr RuleText(const char (&text)[N]) { std::copy_n(text, N, chars); }
    char chars[N];
    constexpr std::string_view view() const { return {chars, N - 1}; }
};

// A rule type that carries no data: its name and description are constants.
template <RuleText Name, RuleText Description, RuleCheck Check>
class FixedRule final : public AstroRule {
  public:
    std::string_view name() const override { return Name.view(); }
    std::string_view description() const override { return Description.view(); }
    std::optional<Graph> evaluate(const Chart& chart) const override { return Check(chart, *this); }
};

using GajaKesariYoga =
    FixedRule<"Gaja Kesari Yoga", "Jupiter in a kendra from the Moon gives wisdom and prosperity.",
              &gaja_kesari>;
using DharmaKarmadhipatiYoga =
    FixedRule<"Dharma Karmadhipati Yoga",
              "Relationship between 9th and 10th lords gives great success and authority.",
              &dharma_karmadhipati>;
using BudhaAdityaYoga =
    FixedRule<"Budha Aditya Yoga",
              "Sun and Mercury conjunction gives intelligence and communication skills.",
              &budha_aditya>;
using LakshmiYoga =
    FixedRule<"Lakshmi Yoga", "Strong 9th lord or its relation with Venus gives wealth and grace.",
              &lakshmi>;
using SunaphaYoga =
    FixedRule<"Sunapha Yoga", "Planets in 2nd from Moon indicate self-acquired wealth.", &sunapha>;
using AnaphaYoga =
    FixedRule<"Anapha Yoga", "Planets in 12th from Moon indicate spirituality or luxury.", &anapha>;
using VeshiYoga =
    FixedRule<"Veshi Yoga", "Planets in 2nd from Sun give good name and fame.", &veshi>;
using VoshiYoga =
    FixedRule<"Voshi Yoga", "Planets in 12th from Sun give learning and knowledge.", &voshi>;
using AmalaYoga =
    FixedRule<"Amala Yoga", "Benefic in 10th house gives pure character and success.", &amala>;
using DhanaYoga =
    FixedRule<"Dhana Yoga",
              "Relationship between wealth lords (2H and 11H) indicates great riches.", &dhana>;
using SaraswatiYoga =
    FixedRule<"Saraswati Yoga",
              "Jupiter, Venus, and Mercury strong in auspicious houses give learning.", &saraswati>;
using KemadrumaYoga =
    FixedRule<"Kemadruma Yoga",
              "Moon with no planets in 2nd or 12th from it indicates struggle and isolation.",
              &kemadruma>;

// One planet in a kendra and in an own or exalted sign; instantiated once per planet.
class PanchaMahapurushaYoga final : public AstroRule {
  public:
    PanchaMahapurushaYoga(std::string name, std::string description, Planet planet)
        : name_(std::move(name)), description_(std::move(description)), planet_(planet) {}

    std::string_view name() const override { return name_; }
    std::string_view description() const override { return description_; }
    std::optional<Graph> evaluate(const Chart& chart) const override;

  private:
    std::string name_;
    std::string description_;
    Planet planet_;
};

std::optional<Graph> PanchaMahapurushaYoga::evaluate(const Chart& chart) const {
    const PlanetPosition* p = find_planet(chart.planets, planet_);
    if (!in_kendra(p) || !in_strong_sign(*p)) return std::nullopt;

    std::string slug = to_lower(name_);
    std::replace(slug.begin(), slug.end(), ' ', '_');
    const std::string planet_id = planet_node_id(planet_);
    const std::string house_id = house_node_id(*p->house);
    const std::string rule_id = "rule_" + slug;
    const std::string condition_id = "cond_" + rule_id;
    Graph g;
    g.add_node(planet_id, planet_node(planet_));
    g.add_node(house_id, HouseNode{*p->house});
    g.add_edge(planet_id, house_id, Edge::LocatedIn);
    g.add_node(rule_id, RuleNode{name_, description_});
    g.add_node(condition_id,
               ConditionNode{std::string(planet_name(planet_)) + " is in Kendra (house " +
                             std::to_string(*p->house) + ") and in own/exalted sign (" +
                             std::string(sign_name(*p->sign)) + ")"});
    g.add_edge(rule_id, condition_id, Edge::DependsOn);
    g.add_edge(condition_id, planet_id, Edge::DependsOn);
    return g;
}

}  // namespace

std::vector<std::unique_ptr<AstroRule>> make_rule_catalogue() {
    std::vector<std::unique_ptr<AstroRule>> rules;
    rules.push_back(std::make_unique<GajaKesariYoga>());
    for (auto [planet, name] :
         {std::pair{Planet::Mars, "Ruchaka Yoga"}, std::pair{Planet::Mercury, "Bhadra Yoga"},
          std::pair{Planet::Jupiter, "Hamsa Yoga"}, std::pair{Planet::Venus, "Malavya Yoga"},
          std::pair{Planet::Saturn, "Sasa Yoga"}}) {
        rules.push_back(std::make_unique<PanchaMahapurushaYoga>(
            name, std::string(planet_name(planet)) + " in Kendra and Own/Exalted sign.", planet));
    }
    rules.push_back(std::make_unique<DharmaKarmadhipatiYoga>());
    rules.push_back(std::make_unique<BudhaAdityaYoga>());
    rules.push_back(std::make_unique<LakshmiYoga>());
    rules.push_back(std::make_unique<SunaphaYoga>());
    rules.push_back(std::make_unique<AnaphaYoga>());
    rules.push_back(std::make_unique<VeshiYoga>());
    rules.push_back(std::make_unique<VoshiYoga>());
    rules.push_back(std::make_unique<AmalaYoga>());
    rules.push_back(std::make_unique<DhanaYoga>());
    rules.push_back(std::make_unique<SaraswatiYoga>());
    rules.push_back(std::make_unique<KemadrumaYoga>());
    return rules;
}

}  // namespace zk
