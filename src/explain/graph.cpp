#include "explain/graph.hpp"

#include <array>

#include "render/json_writer.hpp"

namespace zk {

namespace {

constexpr std::array<std::string_view, 7> kEdgeNames = {
    "LocatedIn", "HasSign", "InHouse", "TriggersRule", "ProvesCondition", "DependsOn", "Cites"};

// Each kind's tag, in the order of the Node variant.
constexpr std::array<std::string_view, 6> kNodeTags = {"Planet", "Sign",      "House",
                                                       "Rule",   "Condition", "TextSource"};
static_assert(kNodeTags.size() == std::variant_size_v<Node>);

void write_fields(JsonWriter& w, const PlanetNode& n) {
    w.key("name").value(n.name).key("id").value(n.id);
}
void write_fields(JsonWriter& w, const SignNode& n) {
    w.key("name").value(n.name);
}
void write_fields(JsonWriter& w, const HouseNode& n) {
    w.key("number").value(unsigned{n.number});
}
void write_fields(JsonWriter& w, const RuleNode& n) {
    w.key("name").value(n.name).key("description").value(n.description);
}
void write_fields(JsonWriter& w, const ConditionNode& n) {
    w.key("expression").value(n.expression);
}
void write_fields(JsonWriter& w, const TextSourceNode& n) {
    w.key("title").value(n.title).key("chapter").value(n.chapter);
    w.key("verse").value(n.verse).key("snippet").value(n.snippet);
}

// {"<Kind>":{fields...}}
void write_node(JsonWriter& w, const Node& node) {
    w.begin_object().key(kNodeTags[node.index()]).begin_object();
    std::visit([&w](const auto& n) { write_fields(w, n); }, node);
    w.end_object().end_object();
}

}  // namespace

std::string_view edge_name(Edge kind) {
    return kEdgeNames[static_cast<size_t>(kind)];
}

void Graph::add_node(std::string_view id, Node node) {
    nodes.insert_or_assign(std::string(id), std::move(node));
}

void Graph::add_edge(std::string_view from, std::string_view to, Edge kind) {
    edges.push_back(GraphEdge{std::string(from), std::string(to), kind});
}

std::string graph_to_json(const Graph& graph) {
    JsonWriter w;
    w.begin_object().key("nodes").begin_object();
    for (const auto& [id, node] : graph.nodes) {
        w.key(id);
        write_node(w, node);
    }
    w.end_object().key("edges").begin_array();
    for (const GraphEdge& e : graph.edges) {
        w.begin_array().value(e.from).value(e.to).value(edge_name(e.kind)).end_array();
    }
    w.end_array().end_object();
    return w.take();
}

}  // namespace zk
