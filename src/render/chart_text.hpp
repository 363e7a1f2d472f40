// Short human-readable texts of a chart; angles in degrees. Writing cannot fail.
#pragma once

#include <string>

#include "core/records.hpp"

namespace zk {

// One line: <Chart asc=82.97° Moon 199.5° ayanamsa=Lahiri>. Without a Moon record the Moon
// text is empty, leaving two spaces before "ayanamsa=".
std::string chart_summary(const Chart& chart);

// "ZodiaKit Chart", "Ascendant: 82.97°", "Planets:", then "  Sun: 256.5° Sagittarius" for
// each planet record in order; lines joined by "\n", no trailing newline.
std::string chart_listing(const Chart& chart);

}  // namespace zk
