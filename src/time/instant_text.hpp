// Reading the instant a date text names, as searches over time are given them: UTC in
// whole seconds. Errors: InvalidInput, saying why the text is no date.
#pragma once

#include <string_view>

#include "core/datetime.hpp"
#include "core/error.hpp"

namespace zk {

// The UTC instant a date text names, in whole seconds. The forms, tried in this order:
//   RFC 3339              2024-03-01T10:30:00+05:45, 2024-03-01T05:00:00Z
//   date, time, offset    2024-03-01 10:30:00+0545
//   bare date             2024-03-01 (00:00:00 UTC)
// A fraction of a second (2024-03-01T10:30:00.75Z) is dropped. On failure the text says
// why the bare-date form did not fit, e.g. "Invalid date '2024-3-1': invalid characters".
Result<UtcDateTime> parse_instant_text(std::string_view text);

}  // namespace zk
