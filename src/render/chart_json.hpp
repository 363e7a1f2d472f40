// The chart record as one compact JSON document (UTF-8). Angles are degrees and instants
// whole seconds, as the record holds them. Writing cannot fail.
#pragma once

#include <string>

#include "core/records.hpp"

namespace zk {

// Members in a fixed order: datetime, location, ayanamsa, planets, ascendant, houses, dasha,
// divisional_charts, karakas, aspects, ashtakavarga, yogas, metadata, warnings. Nested records
// keep their field order; enumerations are written by name, the custom ayanamsa as
// {"Custom":24.0}, instants as 2000-01-01T12:00:00Z, and maps keyed by numbers use the
// number in decimal as the key ("9"). A planet without a house, sign, nakshatra or
// strength entry writes null there.
std::string chart_to_json(const Chart& chart);

class JsonWriter;
// The same document through `w` (text, or events for a sink); the writer reserves nothing.
void write_chart(JsonWriter& w, const Chart& chart);

}  // namespace zk
