// The chart record as one compact JSON document (UTF-8). Angles are degrees and instants
// whole seconds, as the record holds them. Writing cannot fail. The document's members are
// listed with emit_chart (render/chart_document.hpp).
#pragma once

#include <string>

#include "core/records.hpp"

namespace zk {

std::string chart_to_json(const Chart& chart);
// The same text in place of `buffer`'s contents; the buffer keeps its capacity, so a
// caller writing many documents allocates once.
void write_chart_text(std::string& buffer, const Chart& chart);

class JsonWriter;
// The same document through `w` (text, or events for a sink); the writer reserves nothing.
void write_chart(JsonWriter& w, const Chart& chart);

}  // namespace zk
