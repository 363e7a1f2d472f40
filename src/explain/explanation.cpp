#include "explain/explanation.hpp"

namespace zk {

Reasoner::Reasoner() : rules_(make_rule_catalogue()) {}

Graph Reasoner::explain(const Chart& chart) const {
    Graph merged;
    for (const auto& rule : rules_) {
        std::optional<Graph> proof = rule->evaluate(chart);
        if (!proof) continue;
        for (auto& [id, node] : proof->nodes) merged.nodes.try_emplace(id, std::move(node));
        merged.edges.insert(merged.edges.end(), std::make_move_iterator(proof->edges.begin()),
                            std::make_move_iterator(proof->edges.end()));
    }
    return merged;
}

Graph get_explanation(const Chart& chart) {
    return Reasoner().explain(chart);
}

}  // namespace zk
