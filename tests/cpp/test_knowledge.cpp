// The proof graph, the explainable yoga rules and the merged explanation, on hand-built charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hand_chart.hpp"
#include "knowledge/explanation.hpp"

namespace zk {
namespace {

using P = Planet;
using S = Sign;
using Edges = std::vector<GraphEdge>;

// Equal houses whose 1st cusp lies a few degrees into `rising`; aspects as (from, to) pairs.
Chart chart(Sign rising, const std::string& planets,
            std::vector<std::pair<Planet, Planet>> aspects = {}) {
    Chart c;
    for (unsigned h = 1; h <= 12; ++h) {
        c.houses.push_back({static_cast<uint8_t>(h), (sign_number(rising) + h - 2) * 30.0 + 5.0});
    }
    c.planets = testing::planets(planets);
    for (auto [from, to] : aspects) c.aspects.push_back(Aspect{from, 1, to, 1.0, false});
    return c;
}

std::optional<Graph> run(std::string_view rule_name, const Chart& c) {
    for (const auto& rule : make_rule_catalogue()) {
        if (rule->name() == rule_name) return rule->evaluate(c);
    }
    ADD_FAILURE() << "no rule " << rule_name;
    return std::nullopt;
}

std::string json_of(const Graph& g) {
    return graph_to_json(g);
}

TEST(Graph, NodesReplaceEdgesAppendAndJson) {
    EXPECT_EQ(json_of(Graph{}), R"({"nodes":{},"edges":[]})");
    Graph g;
    g.add_node("x", HouseNode{4});
    g.add_node("x", TextSourceNode{"T", "Ch. 1", "1.2", "\u0917"});
    g.add_edge("nowhere", "x", Edge::ProvesCondition);
    g.add_edge("nowhere", "x", Edge::ProvesCondition);
    EXPECT_EQ(json_of(g),
              R"({"nodes":{"x":{"TextSource":{"title":"T","chapter":"Ch. 1","verse":"1.2",)"
              "\"snippet\":\"\u0917\"}}},\"edges\":[[\"nowhere\",\"x\",\"ProvesCondition\"],"
              R"(["nowhere","x","ProvesCondition"]]})");
}

TEST(Rules, CatalogueOrder) {
    std::string names;
    for (const auto& rule : make_rule_catalogue()) names += std::string(rule->name()) + ";";
    EXPECT_EQ(names,
              "Gaja Kesari Yoga;Ruchaka Yoga;Bhadra Yoga;Hamsa Yoga;Malavya Yoga;Sasa Yoga;"
              "Dharma Karmadhipati Yoga;Budha Aditya Yoga;Lakshmi Yoga;Sunapha Yoga;Anapha Yoga;"
              "Veshi Yoga;Voshi Yoga;Amala Yoga;Dhana Yoga;Saraswati Yoga;Kemadruma Yoga;");
}

TEST(Rules, EachRuleHoldingAndNot) {
    // Aries rising: 2nd lord Venus, 9th Jupiter, 10th and 11th Saturn.
    Chart no_ninth = chart(S::Aries, "Jupiter Cancer 4");
    no_ninth.houses.erase(no_ninth.houses.begin() + 8);
    Chart far_cusp = chart(S::Aries, "Mars Aries 1");  // a 9th cusp past 360: Aries, Mars
    far_cusp.houses[8].cusp = 725.0;
    const std::vector<std::pair<Planet, Planet>> one_way = {{P::Venus, P::Saturn},
                                                            {P::Saturn, P::Jupiter}};
    const std::vector<std::pair<Planet, Planet>> mutual = {{P::Venus, P::Saturn},
                                                           {P::Saturn, P::Venus}};
    struct Case {
        const char* rule;
        Chart chart;
        bool holds;
    };
    const Case cases[] = {
        {"Amala Yoga", chart(S::Aries, "Venus Leo 10"), true},
        {"Amala Yoga", chart(S::Aries, "Moon Leo 4, Jupiter Leo 1"), true},
        {"Amala Yoga", chart(S::Aries, "Jupiter Leo 1"), false},  // no Moon: house 10 twice
        {"Veshi Yoga", chart(S::Aries, "Sun Aries 1, Mars Taurus 2"), true},
        {"Veshi Yoga", chart(S::Aries, "Sun Aries 1, Moon Taurus 2, Rahu Taurus 2"), false},
        {"Voshi Yoga", chart(S::Aries, "Sun Aries 1, Saturn Pisces 12"), true},
        {"Voshi Yoga", chart(S::Aries, "Sun Aries 1, Ketu Pisces 12"), false},
        {"Sunapha Yoga", chart(S::Aries, "Moon Pisces 12, Jupiter Aries 1"), true},
        {"Sunapha Yoga", chart(S::Aries, "Jupiter Aries 1"), false},
        {"Anapha Yoga", chart(S::Aries, "Moon Aries 1, Mercury Pisces 12"), true},
        {"Lakshmi Yoga", chart(S::Aries, "Jupiter Cancer 4"), true},
        {"Lakshmi Yoga", chart(S::Aries, "Jupiter Leo 4"), false},
        {"Lakshmi Yoga", chart(S::Sagittarius, "Sun Leo 1"), false},  // the Sun rules the 9th
        {"Lakshmi Yoga", no_ninth, false},
        {"Lakshmi Yoga", far_cusp, true},
        {"Kemadruma Yoga", chart(S::Aries, "Moon Leo 5, Venus Leo 8"), true},
        {"Kemadruma Yoga", chart(S::Aries, "Moon Leo 5, Venus Leo 4"), false},
        {"Kemadruma Yoga", chart(S::Aries, "Moon Leo 5, Venus Leo 5"), false},
        {"Kemadruma Yoga", chart(S::Aries, "Venus Leo 8"), false},
        {"Saraswati Yoga", chart(S::Aries, "Jupiter Pisces 5, Venus Libra 9, Mercury Virgo 4"),
         true},
        {"Saraswati Yoga", chart(S::Aries, "Jupiter Pisces 5, Venus Libra 9, Mercury Virgo 6"),
         false},
        {"Gaja Kesari Yoga", chart(S::Aries, "Moon Leo 3, Jupiter Leo 3"), true},
        {"Gaja Kesari Yoga", chart(S::Aries, "Moon Leo 3, Jupiter Leo 4"), false},
        {"Gaja Kesari Yoga", chart(S::Aries, "Moon Leo 3, Jupiter Leo -"), false},
        {"Budha Aditya Yoga", chart(S::Aries, "Sun Leo 3, Mercury Virgo 3"), true},
        {"Budha Aditya Yoga", chart(S::Aries, "Sun Leo 3, Mercury Leo 4"), false},
        {"Budha Aditya Yoga", chart(S::Aries, "Sun Leo -, Mercury Leo -"), true},  // both unknown
        {"Budha Aditya Yoga", chart(S::Aries, "Sun Leo 3"), false},
        {"Dhana Yoga", chart(S::Aries, "Venus Leo 5, Saturn Leo 5"), true},
        {"Dhana Yoga", chart(S::Aries, "Venus Leo 5, Saturn Libra 7", one_way), false},
        {"Dhana Yoga", chart(S::Aries, "Venus Leo 5, Saturn Libra 7", mutual), true},
        {"Dharma Karmadhipati Yoga", chart(S::Aries, "Jupiter Leo 5, Saturn Libra 7", one_way),
         false},
        {"Dharma Karmadhipati Yoga", chart(S::Aries, "Saturn Libra 7"), false},
        {"Sasa Yoga", chart(S::Aries, "Saturn Libra 6"), false},
        {"Ruchaka Yoga", chart(S::Aries, "Mars Capricorn 10"), true},
        {"Malavya Yoga", chart(S::Aries, "Venus Pisces 1"), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.rule, c.chart).has_value(), c.holds) << c.rule << " #" << (&c - cases);
    }
}

TEST(Rules, ConditionTexts) {
    const auto kemadruma = run(
        "Kemadruma Yoga", chart(S::Aries, "Sun Cancer 4, Moon Leo 5, Rahu Virgo 6, Ketu Leo 5"));
    ASSERT_TRUE(kemadruma);
    EXPECT_EQ(std::get<ConditionNode>(kemadruma->nodes.at("cond_kemadruma")).expression,
              "No planets in house 6 or 4 from Moon (house 5)");
    EXPECT_EQ(kemadruma->edges, (Edges{{"rule_kemadruma", "cond_kemadruma", Edge::DependsOn}}));

    const auto dharma =
        run("Dharma Karmadhipati Yoga", chart(S::Aries, "Jupiter Leo 5, Saturn Libra 7",
                                              {{P::Saturn, P::Jupiter}, {P::Jupiter, P::Saturn}}));
    ASSERT_TRUE(dharma);
    EXPECT_EQ(std::get<ConditionNode>(dharma->nodes.at("cond_l9_l10_related")).expression,
              "Lord of 9H (Jupiter) and Lord of 10H (Saturn) are related");
}

TEST(Rules, GajaKesariAndMahapurushaProofGraphs) {
    const auto g = run("Gaja Kesari Yoga", chart(S::Aries, "Moon Cancer 4, Jupiter Aries 1"));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->nodes.size(), 7u);
    EXPECT_EQ(std::get<HouseNode>(g->nodes.at("house_4")).number, 4);
    EXPECT_EQ(std::get<PlanetNode>(g->nodes.at("planet_moon")).id, "planet_moon");
    EXPECT_EQ(std::get<ConditionNode>(g->nodes.at("condition_jup_kendra_moon")).expression,
              "House of Jupiter (1) is in kendra from House of Moon (4)");
    EXPECT_EQ(std::get<TextSourceNode>(g->nodes.at("source_bphs_36")).verse, "36.3-4");
    EXPECT_EQ(g->edges, (Edges{{"planet_jupiter", "house_1", Edge::LocatedIn},
                               {"planet_moon", "house_4", Edge::LocatedIn},
                               {"rule_gaja_kesari", "condition_jup_kendra_moon", Edge::DependsOn},
                               {"condition_jup_kendra_moon", "planet_jupiter", Edge::DependsOn},
                               {"condition_jup_kendra_moon", "planet_moon", Edge::DependsOn},
                               {"rule_gaja_kesari", "source_bphs_36", Edge::Cites}}));

    const auto sasa = run("Sasa Yoga", chart(S::Aries, "Saturn Libra 7"));
    ASSERT_TRUE(sasa);
    EXPECT_EQ(std::get<ConditionNode>(sasa->nodes.at("cond_rule_sasa_yoga")).expression,
              "Saturn is in Kendra (house 7) and in own/exalted sign (Libra)");
    EXPECT_EQ(std::get<RuleNode>(sasa->nodes.at("rule_sasa_yoga")).description,
              "Saturn in Kendra and Own/Exalted sign.");
    EXPECT_EQ(sasa->edges, (Edges{{"planet_saturn", "house_7", Edge::LocatedIn},
                                  {"rule_sasa_yoga", "cond_rule_sasa_yoga", Edge::DependsOn},
                                  {"cond_rule_sasa_yoga", "planet_saturn", Edge::DependsOn}}));
}

TEST(Explanation, EmptyAndAmalaOnly) {
    EXPECT_EQ(json_of(get_explanation(Chart{})), R"({"nodes":{},"edges":[]})");
    Chart amala;
    amala.planets = testing::planets("Venus Aries 10");
    EXPECT_EQ(
        json_of(get_explanation(amala)),
        R"({"nodes":{"rule_amala":{"Rule":{"name":"Amala Yoga","description":"Benefic in 10th house gives pure character and success."}}},"edges":[]})");
}

TEST(Explanation, SharedNodesOnceAndEdgesGroupedByRule) {
    // Jupiter exalted in the 4th from a Moon in house 1: Gaja Kesari, Hamsa, Lakshmi (Jupiter
    // rules the 9th) and Kemadruma hold.
    const Chart c = chart(S::Aries, "Moon Aries 1, Jupiter Cancer 4");
    const Graph g = get_explanation(c);
    for (const char* id : {"rule_gaja_kesari", "rule_hamsa_yoga", "rule_lakshmi", "rule_kemadruma",
                           "planet_jupiter"}) {
        EXPECT_EQ(g.nodes.count(id), 1u) << id;
    }
    const GraphEdge located{"planet_jupiter", "house_4", Edge::LocatedIn};
    ASSERT_EQ(g.edges.size(), 10u);
    EXPECT_EQ(g.edges[0], located);
    EXPECT_EQ(g.edges[5], (GraphEdge{"rule_gaja_kesari", "source_bphs_36", Edge::Cites}));
    EXPECT_EQ(g.edges[6], located);
    EXPECT_EQ(g.edges[9], (GraphEdge{"rule_kemadruma", "cond_kemadruma", Edge::DependsOn}));
    EXPECT_EQ(std::count(g.edges.begin(), g.edges.end(), located), 2);
    EXPECT_EQ(get_explanation(c).edges, g.edges);
}

}  // namespace
}  // namespace zk
