// The chart record as one compact JSON document (UTF-8). Angles are degrees and instants
// whole seconds, as the record holds them. Writing cannot fail. The document's members are
// listed with emit_chart (render/chart_document.hpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/records.hpp"

namespace zk {

std::string chart_to_json(const Chart& chart);
// The same text in place of `buffer`'s contents; the buffer keeps its capacity, so a
// caller writing many documents allocates once.
void write_chart_text(std::string& buffer, const Chart& chart);

// An instant given in seconds since 1970 as the document writes it (2000-01-01T12:00:00Z,
// without quotes) at `at`, which has room for kInstantTextMax bytes; returns the end.
inline constexpr size_t kInstantTextMax = 32;
char* write_instant_text(char* at, int64_t seconds);

class JsonWriter;
// The same document through `w` (text, or events for a sink); the writer reserves nothing.
void write_chart(JsonWriter& w, const Chart& chart);

}  // namespace zk
