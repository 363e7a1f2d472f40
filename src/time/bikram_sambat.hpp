// The Bikram Sambat civil calendar of Nepal, BS 2000 to 2100, converted to Gregorian dates.
// Month lengths follow no rule; they come from the embedded table data/bs_calendar.json.
// Errors: DateTimeError for a date the table does not hold; an unreadable embedded table
// is an InvariantFailure.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "core/datetime.hpp"
#include "core/error.hpp"

namespace zk {

// BS year -> its twelve month lengths in days, Baisakh ... Chaitra.
using CalendarData = std::map<int32_t, std::vector<uint32_t>>;

// Reads a month table document: members keyed by a decimal year whose value is an array;
// of an array only the non-negative integers count, and a year needs exactly twelve.
// Every other member is skipped. Nothing when the text is not JSON.
std::optional<CalendarData> parse_calendar_data(std::string_view json_text);

// The embedded table, read once per process on first use.
const CalendarData& calendar_data();

// Gregorian date of a BS date (BS 2000 Baisakh 1 is 1943-04-14). DateTimeError for a year
// outside the table, a month outside 1..12, day 0, a day past the month's end as the table
// has it (BS 2081 Baisakh has 31 days, so 2081-01-32 is refused), or a date past the
// representable years.
Result<CivilDate> bs_to_gregorian(int32_t bs_year, uint32_t bs_month, uint32_t bs_day);

}  // namespace zk
