// The chart drawn as a North-Indian diamond chart in SVG, in user units of a 500 x 500
// canvas. Drawing cannot fail.
#pragma once

#include <string>

#include "core/records.hpp"

namespace zk {

// A 500 x 500 document on one line: a dark square split by its diagonals and an inscribed
// diamond into twelve house fields (house 1 the top inner diamond, houses running
// anticlockwise). Each field shows the sign number of its cusp and the two-letter labels
// of the planets standing in it, 18 units apart in planet order. Houses missing from the
// house list get no sign label; planets without a house are not drawn.
std::string chart_to_svg(const Chart& chart);

}  // namespace zk
