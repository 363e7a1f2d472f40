// Which explainable yogas hold in a chart, and why, as one merged proof graph. Reads the
// chart only; never fails (a rule whose facts are missing simply does not hold).
#pragma once

#include <memory>
#include <vector>

#include "core/records.hpp"
#include "explain/graph.hpp"
#include "explain/rules.hpp"

namespace zk {

// Runs the rule catalogue over a chart and merges the graphs of the rules that hold.
class Reasoner {
  public:
    Reasoner();
    // Edges are grouped by rule in catalogue order; a node id shared by several rules keeps
    // the node of the first rule that added it.
    Graph explain(const Chart& chart) const;

  private:
    std::vector<std::unique_ptr<AstroRule>> rules_;
};

// The merged graph of every rule that holds; never fails.
Graph get_explanation(const Chart& chart);

}  // namespace zk
