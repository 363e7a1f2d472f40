// The proof graph, the explainable yoga rules and the merged explanation, on hand-built charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "knowledge/explanation.hpp"
#include "knowledge/graph.hpp"
#include "knowledge/rules.hpp"

namespace zk {
namespace {

PlanetPosition at(Planet planet, Sign sign, std::optional<uint8_t> house) {
    PlanetPosition p;
    p.planet = planet;
    p.sign = sign;
    p.house = house;
    return p;
}

// Equal houses whose 1st cusp lies a few degrees into `rising`.
Chart chart_rising(Sign rising, std::vector<PlanetPosition> planets) {
    Chart c;
    for (unsigned h = 1; h <= 12; ++h) {
        c.houses.push_back(
            HouseCusp{static_cast<uint8_t>(h), (sign_number(rising) - 1 + h - 1) * 30.0 + 5.0});
    }
    c.planets = std::move(planets);
    return c;
}

void add_aspect(Chart& c, Planet from, Planet to) {
    Aspect a;
    a.from_planet = from;
    a.to_planet = to;
    c.aspects.push_back(a);
}

const Node* node(const Graph& g, const std::string& id) {
    auto it = g.nodes.find(id);
    return it == g.nodes.end() ? nullptr : &it->second;
}

std::string expression_of(const Graph& g, const std::string& id) {
    const Node* n = node(g, id);
    return n && std::holds_alternative<ConditionNode>(*n) ? std::get<ConditionNode>(*n).expression
                                                          : "<missing>";
}

// ---------------------------------------------------------------- Graph

TEST(Graph, ReaddingAnIdKeepsTheLastNode) {
    Graph g;
    g.add_node("house_4", HouseNode{4});
    g.add_node("house_4", SignNode{"Leo"});
    ASSERT_EQ(g.nodes.size(), 1u);
    EXPECT_EQ(graph_to_json(g), R"({"nodes":{"house_4":{"Sign":{"name":"Leo"}}},"edges":[]})");
}

TEST(Graph, JsonForm) {
    EXPECT_EQ(graph_to_json(Graph{}), R"({"nodes":{},"edges":[]})");

    Graph g;
    g.add_node("x", TextSourceNode{"T \"q\"", "Ch. 1", "1.2", "Gaja Kesari \u2014 \u0917\n"});
    g.add_edge("nowhere", "x", Edge::ProvesCondition);
    g.add_edge("nowhere", "x", Edge::ProvesCondition);
    g.add_edge("a", "b", Edge::HasSign);
    EXPECT_EQ(graph_to_json(g),
              "{\"nodes\":{\"x\":{\"TextSource\":{\"title\":\"T \\\"q\\\"\",\"chapter\":\"Ch. "
              "1\",\"verse\":\"1.2\",\"snippet\":\"Gaja Kesari \u2014 \u0917\\n\"}}},"
              "\"edges\":[[\"nowhere\",\"x\",\"ProvesCondition\"],[\"nowhere\",\"x\","
              "\"ProvesCondition\"],[\"a\",\"b\",\"HasSign\"]]}");

    Graph h;
    h.add_node("planet_mars", PlanetNode{"Mars", "planet_mars"});
    EXPECT_EQ(graph_to_json(h),
              R"({"nodes":{"planet_mars":{"Planet":{"name":"Mars","id":"planet_mars"}}},"edges":[]})");
}

// ---------------------------------------------------------------- rules

TEST(Rules, CatalogueOrderAndNames) {
    std::vector<std::string> names;
    for (const auto& rule : make_rule_catalogue()) names.emplace_back(rule->name());
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Gaja Kesari Yoga", "Ruchaka Yoga", "Bhadra Yoga", "Hamsa Yoga",
                         "Malavya Yoga", "Sasa Yoga", "Dharma Karmadhipati Yoga",
                         "Budha Aditya Yoga", "Lakshmi Yoga", "Sunapha Yoga", "Anapha Yoga",
                         "Veshi Yoga", "Voshi Yoga", "Amala Yoga", "Dhana Yoga", "Saraswati Yoga",
                         "Kemadruma Yoga"}));
    EXPECT_EQ(make_rule_catalogue()[5]->description(), "Saturn in Kendra and Own/Exalted sign.");
}

TEST(Rules, AmalaTestsHouseTenThenTenthFromMoon) {
    const AmalaYoga amala;
    EXPECT_TRUE(amala.evaluate(chart_rising(Sign::Aries, {at(Planet::Venus, Sign::Leo, 10)})));
    // Moon in 4: its 10th is house 1.
    EXPECT_TRUE(amala.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Moon, Sign::Leo, 4), at(Planet::Jupiter, Sign::Leo, 1)})));
    // Without a Moon the second test is house 10 again, so house 1 does not count.
    EXPECT_FALSE(amala.evaluate(chart_rising(Sign::Aries, {at(Planet::Jupiter, Sign::Leo, 1)})));
    EXPECT_FALSE(amala.evaluate(chart_rising(Sign::Aries, {at(Planet::Mars, Sign::Leo, 10)})));
}

TEST(Rules, PlanetsAroundSunAndMoon) {
    const VeshiYoga veshi;
    const VoshiYoga voshi;
    const SunaphaYoga sunapha;
    const AnaphaYoga anapha;
    const Chart sun_mars = chart_rising(
        Sign::Aries, {at(Planet::Sun, Sign::Aries, 1), at(Planet::Mars, Sign::Taurus, 2),
                      at(Planet::Saturn, Sign::Pisces, 12)});
    EXPECT_TRUE(veshi.evaluate(sun_mars));
    EXPECT_TRUE(voshi.evaluate(sun_mars));
    // The Moon, Rahu and Ketu never occupy for these rules.
    const Chart only_nodes = chart_rising(
        Sign::Aries, {at(Planet::Sun, Sign::Aries, 1), at(Planet::Moon, Sign::Taurus, 2),
                      at(Planet::Rahu, Sign::Taurus, 2), at(Planet::Ketu, Sign::Pisces, 12)});
    EXPECT_FALSE(veshi.evaluate(only_nodes));
    EXPECT_FALSE(voshi.evaluate(only_nodes));

    // Moon in 12: the 2nd from it wraps to house 1, the 12th is house 11.
    const Chart moon = chart_rising(
        Sign::Aries, {at(Planet::Moon, Sign::Pisces, 12), at(Planet::Jupiter, Sign::Aries, 1),
                      at(Planet::Mercury, Sign::Aquarius, 11)});
    EXPECT_TRUE(sunapha.evaluate(moon));
    EXPECT_TRUE(anapha.evaluate(moon));
    const Chart no_moon = chart_rising(Sign::Aries, {at(Planet::Jupiter, Sign::Aries, 1),
                                                     at(Planet::Mercury, Sign::Aquarius, 11)});
    EXPECT_FALSE(sunapha.evaluate(no_moon));
    EXPECT_FALSE(anapha.evaluate(no_moon));
    EXPECT_FALSE(KemadrumaYoga().evaluate(no_moon));
    EXPECT_FALSE(GajaKesariYoga().evaluate(no_moon));
}

TEST(Rules, KemadrumaIgnoresSunAndNodes) {
    const KemadrumaYoga kemadruma;
    const Chart lonely = chart_rising(
        Sign::Aries, {at(Planet::Sun, Sign::Cancer, 4), at(Planet::Moon, Sign::Leo, 5),
                      at(Planet::Rahu, Sign::Virgo, 6), at(Planet::Ketu, Sign::Leo, 5),
                      at(Planet::Mars, Sign::Libra, 7)});
    const auto g = kemadruma.evaluate(lonely);
    ASSERT_TRUE(g);
    EXPECT_EQ(expression_of(*g, "cond_kemadruma"), "No planets in house 6 or 4 from Moon (house 5)");
    EXPECT_EQ(g->edges, (std::vector<GraphEdge>{{"rule_kemadruma", "cond_kemadruma",
                                                 Edge::DependsOn}}));
    for (uint8_t house : {4, 5, 6}) {
        Chart near = lonely;
        near.planets.push_back(at(Planet::Venus, Sign::Leo, house));
        EXPECT_FALSE(kemadruma.evaluate(near)) << int(house);
    }
}

TEST(Rules, LakshmiNeedsNinthLordStrongInKendra) {
    const LakshmiYoga lakshmi;
    // Aries rising: the 9th cusp is in Sagittarius, ruled by Jupiter.
    EXPECT_TRUE(lakshmi.evaluate(chart_rising(Sign::Aries, {at(Planet::Jupiter, Sign::Cancer, 4)})));
    EXPECT_FALSE(lakshmi.evaluate(chart_rising(Sign::Aries, {at(Planet::Jupiter, Sign::Leo, 4)})));
    EXPECT_FALSE(
        lakshmi.evaluate(chart_rising(Sign::Aries, {at(Planet::Jupiter, Sign::Cancer, 5)})));
    // Sagittarius rising: the 9th is Leo, ruled by the Sun, which never qualifies.
    EXPECT_FALSE(lakshmi.evaluate(chart_rising(Sign::Sagittarius, {at(Planet::Sun, Sign::Leo, 1)})));
    // A missing 9th house cusp means no lord.
    Chart no_ninth = chart_rising(Sign::Aries, {at(Planet::Jupiter, Sign::Cancer, 4)});
    no_ninth.houses.erase(no_ninth.houses.begin() + 8);
    EXPECT_FALSE(lakshmi.evaluate(no_ninth));
}

TEST(Rules, HouseLordUsesTheCuspSign) {
    // A cusp written past 360 degrees is reduced first: 725 is Aries, so the 9th lord is Mars.
    Chart c = chart_rising(Sign::Aries, {at(Planet::Mars, Sign::Aries, 1)});
    c.houses[8].cusp = 725.0;
    EXPECT_TRUE(LakshmiYoga().evaluate(c));
    c.houses[8].cusp = -355.0;  // also Aries
    EXPECT_TRUE(LakshmiYoga().evaluate(c));
}

TEST(Rules, SaraswatiNeedsAllThreeBenefics) {
    const SaraswatiYoga saraswati;
    std::vector<PlanetPosition> strong = {at(Planet::Jupiter, Sign::Pisces, 5),
                                          at(Planet::Venus, Sign::Libra, 9),
                                          at(Planet::Mercury, Sign::Virgo, 4)};
    EXPECT_TRUE(saraswati.evaluate(chart_rising(Sign::Aries, strong)));
    strong[2] = at(Planet::Mercury, Sign::Virgo, 6);
    EXPECT_FALSE(saraswati.evaluate(chart_rising(Sign::Aries, strong)));
    strong.pop_back();
    EXPECT_FALSE(saraswati.evaluate(chart_rising(Sign::Aries, strong)));
}

TEST(Rules, BudhaAdityaComparesHouses) {
    const BudhaAdityaYoga rule;
    const auto g = rule.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Sun, Sign::Leo, 3), at(Planet::Mercury, Sign::Virgo, 3)}));
    ASSERT_TRUE(g);
    EXPECT_EQ(expression_of(*g, "cond_sun_merc_conjunct"), "Sun and Mercury are in the same house");
    EXPECT_FALSE(rule.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Sun, Sign::Leo, 3), at(Planet::Mercury, Sign::Leo, 4)})));
    EXPECT_FALSE(rule.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Sun, Sign::Leo, 3), at(Planet::Mercury, Sign::Leo, std::nullopt)})));
    // Two unknown houses count as the same house.
    EXPECT_TRUE(rule.evaluate(chart_rising(Sign::Aries, {at(Planet::Sun, Sign::Leo, std::nullopt),
                                                         at(Planet::Mercury, Sign::Leo,
                                                            std::nullopt)})));
    EXPECT_FALSE(rule.evaluate(chart_rising(Sign::Aries, {at(Planet::Sun, Sign::Leo, 3)})));
}

TEST(Rules, LordPairsNeedSameHouseOrMutualAspect) {
    // Aries rising: 2nd Taurus (Venus), 11th Aquarius (Saturn), 9th Sagittarius (Jupiter),
    // 10th Capricorn (Saturn).
    const DhanaYoga dhana;
    const DharmaKarmadhipatiYoga dharma;
    Chart apart = chart_rising(Sign::Aries, {at(Planet::Venus, Sign::Leo, 5),
                                             at(Planet::Jupiter, Sign::Leo, 6),
                                             at(Planet::Saturn, Sign::Libra, 7)});
    add_aspect(apart, Planet::Venus, Planet::Saturn);
    add_aspect(apart, Planet::Saturn, Planet::Jupiter);
    EXPECT_FALSE(dhana.evaluate(apart));
    EXPECT_FALSE(dharma.evaluate(apart));

    add_aspect(apart, Planet::Saturn, Planet::Venus);
    add_aspect(apart, Planet::Jupiter, Planet::Saturn);
    EXPECT_TRUE(dhana.evaluate(apart));
    const auto g = dharma.evaluate(apart);
    ASSERT_TRUE(g);
    EXPECT_EQ(expression_of(*g, "cond_l9_l10_related"),
              "Lord of 9H (Jupiter) and Lord of 10H (Saturn) are related");

    const Chart together = chart_rising(Sign::Aries, {at(Planet::Venus, Sign::Leo, 5),
                                                      at(Planet::Saturn, Sign::Leo, 5)});
    EXPECT_TRUE(dhana.evaluate(together));
    EXPECT_FALSE(dharma.evaluate(together));  // Jupiter is missing

    Chart no_eleventh = together;
    no_eleventh.houses.pop_back();
    no_eleventh.houses.pop_back();
    EXPECT_FALSE(dhana.evaluate(no_eleventh));
}

TEST(Rules, GajaKesariProofGraph) {
    const GajaKesariYoga rule;
    EXPECT_FALSE(rule.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Moon, Sign::Aries, 1), at(Planet::Jupiter, Sign::Taurus, 2)})));
    // Jupiter with the Moon is the 1st from it: one house node.
    const auto same = rule.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Moon, Sign::Aries, 1), at(Planet::Jupiter, Sign::Aries, 1)}));
    ASSERT_TRUE(same);
    EXPECT_EQ(same->nodes.size(), 6u);

    const auto g = rule.evaluate(chart_rising(
        Sign::Aries, {at(Planet::Moon, Sign::Cancer, 4), at(Planet::Jupiter, Sign::Aries, 1)}));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->nodes.size(), 7u);
    EXPECT_EQ(std::get<HouseNode>(*node(*g, "house_1")).number, 1);
    EXPECT_EQ(std::get<PlanetNode>(*node(*g, "planet_moon")).id, "planet_moon");
    EXPECT_EQ(expression_of(*g, "condition_jup_kendra_moon"),
              "House of Jupiter (1) is in kendra from House of Moon (4)");
    const auto& source = std::get<TextSourceNode>(*node(*g, "source_bphs_36"));
    EXPECT_EQ(source.snippet,
              "If Jupiter is in a kendra from the Moon, Gaja Kesari Yoga is formed...");
    EXPECT_EQ(g->edges,
              (std::vector<GraphEdge>{
                  {"planet_jupiter", "house_1", Edge::LocatedIn},
                  {"planet_moon", "house_4", Edge::LocatedIn},
                  {"rule_gaja_kesari", "condition_jup_kendra_moon", Edge::DependsOn},
                  {"condition_jup_kendra_moon", "planet_jupiter", Edge::DependsOn},
                  {"condition_jup_kendra_moon", "planet_moon", Edge::DependsOn},
                  {"rule_gaja_kesari", "source_bphs_36", Edge::Cites}}));
}

TEST(Rules, PanchaMahapurushaProofGraph) {
    const auto catalogue = make_rule_catalogue();
    const AstroRule& sasa = *catalogue[5];
    const auto g = sasa.evaluate(chart_rising(Sign::Aries, {at(Planet::Saturn, Sign::Libra, 7)}));
    ASSERT_TRUE(g);
    EXPECT_EQ(expression_of(*g, "cond_rule_sasa_yoga"),
              "Saturn is in Kendra (house 7) and in own/exalted sign (Libra)");
    EXPECT_EQ(std::get<RuleNode>(*node(*g, "rule_sasa_yoga")).name, "Sasa Yoga");
    EXPECT_EQ(g->edges, (std::vector<GraphEdge>{
                            {"planet_saturn", "house_7", Edge::LocatedIn},
                            {"rule_sasa_yoga", "cond_rule_sasa_yoga", Edge::DependsOn},
                            {"cond_rule_sasa_yoga", "planet_saturn", Edge::DependsOn}}));
    EXPECT_FALSE(sasa.evaluate(chart_rising(Sign::Aries, {at(Planet::Saturn, Sign::Libra, 6)})));
    EXPECT_FALSE(sasa.evaluate(chart_rising(Sign::Aries, {at(Planet::Saturn, Sign::Leo, 7)})));
    // Ruchaka accepts Mars exalted in Capricorn.
    EXPECT_TRUE(
        catalogue[1]->evaluate(chart_rising(Sign::Aries, {at(Planet::Mars, Sign::Capricorn, 10)})));
}

// ---------------------------------------------------------------- explanation

TEST(Explanation, NothingHoldsGivesTheEmptyGraph) {
    EXPECT_EQ(graph_to_json(get_explanation(Chart{})), R"({"nodes":{},"edges":[]})");
}

TEST(Explanation, OnlyAmala) {
    const Chart c = [] {
        Chart chart;
        chart.planets = {at(Planet::Venus, Sign::Aries, 10)};
        return chart;
    }();
    EXPECT_EQ(graph_to_json(get_explanation(c)),
              R"({"nodes":{"rule_amala":{"Rule":{"name":"Amala Yoga","description":"Benefic in 10th house gives pure character and success."}}},"edges":[]})");
}

TEST(Explanation, SharedNodesOnceAndEdgesGroupedByRule) {
    // Jupiter exalted in the 4th from a Moon in house 1: Gaja Kesari and Hamsa both hold.
    const Chart c = chart_rising(
        Sign::Aries, {at(Planet::Moon, Sign::Aries, 1), at(Planet::Jupiter, Sign::Cancer, 4)});
    const Graph g = get_explanation(c);
    EXPECT_EQ(g.nodes.count("planet_jupiter"), 1u);
    ASSERT_GE(g.edges.size(), 9u);
    const GraphEdge located{"planet_jupiter", "house_4", Edge::LocatedIn};
    EXPECT_EQ(g.edges[0], located);
    EXPECT_EQ(g.edges[5], (GraphEdge{"rule_gaja_kesari", "source_bphs_36", Edge::Cites}));
    EXPECT_EQ(g.edges[6], located);
    EXPECT_EQ(g.edges[7], (GraphEdge{"rule_hamsa_yoga", "cond_rule_hamsa_yoga", Edge::DependsOn}));
    EXPECT_EQ(std::count(g.edges.begin(), g.edges.end(), located), 2);
    // Lakshmi (Jupiter rules the 9th) and Kemadruma also hold here; every proof is present.
    for (const char* id : {"rule_gaja_kesari", "rule_hamsa_yoga", "rule_lakshmi",
                           "rule_kemadruma"}) {
        EXPECT_NE(node(g, id), nullptr) << id;
    }
    // Deterministic apart from node order.
    const Graph again = get_explanation(c);
    EXPECT_EQ(again.edges, g.edges);
    EXPECT_EQ(again.nodes.size(), g.nodes.size());
}

}  // namespace
}  // namespace zk
