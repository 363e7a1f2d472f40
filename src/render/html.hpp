// Charts and panchangas as small HTML fragments for notebooks. Text is HTML-escaped;
// nothing here fails.
#pragma once

#include <string>

#include "core/records.hpp"

namespace zk {

struct Panchanga;

// The default drawing beside a table of the grahas and the ascendant: sign, degree in the
// sign, nakshatra and pada, house, R for retrograde.
std::string chart_to_html(const Chart& chart);

// A table of the five elements: name (with paksha or pada) and local end time.
std::string panchanga_to_html(const Panchanga& panchanga);

}  // namespace zk
