// The explainable yoga rules. Each rule inspects a chart and, when its condition holds,
// returns a proof graph naming the rule and the facts that make it hold.
//
// Facts come only from the chart's planet list (first record of a planet), its house
// cusps (the lord of a house rules the sign of its cusp) and its aspect list. A missing
// fact makes a rule not hold; no rule reports an error.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.hpp"
#include "explain/graph.hpp"

namespace zk {

class AstroRule {
  public:
    virtual ~AstroRule() = default;
    virtual std::string_view name() const = 0;
    virtual std::string_view description() const = 0;
    // The proof graph when the rule holds, nothing otherwise. Never changes the chart.
    virtual std::optional<Graph> evaluate(const Chart& chart) const = 0;
};

// The seventeen rules in the order in which they are evaluated and their graphs merged:
// Gaja Kesari; the five Pancha Mahapurusha rules (Ruchaka, Bhadra, Hamsa, Malavya, Sasa);
// Dharma Karmadhipati, Budha Aditya, Lakshmi, Sunapha, Anapha, Veshi, Voshi, Amala, Dhana,
// Saraswati and Kemadruma. Each condition is written beside its check in rules.cpp.
std::vector<std::unique_ptr<AstroRule>> make_rule_catalogue();

}  // namespace zk
