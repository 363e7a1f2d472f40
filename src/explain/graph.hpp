// The proof graph in which an explainable yoga rule states why it holds: planets, houses,
// the rule, the tested condition and the text it rests on, joined by typed edges. Plain
// data and its JSON text; nothing here fails.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

namespace zk {

struct PlanetNode {
    std::string name;  // "Jupiter"
    std::string id;    // the node's own id, "planet_jupiter"
};
struct SignNode {
    std::string name;
};
struct HouseNode {
    uint8_t number = 1;  // 1..12
};
struct RuleNode {
    std::string name;
    std::string description;
};
struct ConditionNode {
    std::string expression;  // the tested condition in words, with the chart's values
};
struct TextSourceNode {
    std::string title;
    std::string chapter;
    std::string verse;
    std::string snippet;
};

// The variant order fixes each kind's JSON tag (kNodeTags in graph.cpp).
using Node = std::variant<PlanetNode, SignNode, HouseNode, RuleNode, ConditionNode, TextSourceNode>;

enum class Edge : uint8_t {
    LocatedIn,
    HasSign,
    InHouse,
    TriggersRule,
    ProvesCondition,
    DependsOn,
    Cites
};

std::string_view edge_name(Edge kind);  // "LocatedIn", ...

struct GraphEdge {
    std::string from;
    std::string to;
    Edge kind;

    friend bool operator==(const GraphEdge&, const GraphEdge&) = default;
};

// At most one node per id (node order is unspecified); edges keep insertion order, may
// repeat, and may name ids that have no node.
struct Graph {
    std::unordered_map<std::string, Node> nodes;
    std::vector<GraphEdge> edges;

    // Replaces the node already stored under `id`, if any.
    void add_node(std::string_view id, Node node);
    void add_edge(std::string_view from, std::string_view to, Edge kind);
};

// Compact JSON: {"nodes":{"<id>":{"<Kind>":{fields...}},...},"edges":[["from","to","Kind"],...]}
std::string graph_to_json(const Graph& graph);

}  // namespace zk
