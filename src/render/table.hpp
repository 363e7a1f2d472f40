// Many charts as one table: a column per quantity, a row per chart, in the order of the
// charts. Columns: the instant and place, the ascendant, and for each graha (sun ... ketu)
// its longitude, speed, sign, nakshatra, pada, house, retrograde flag, dignity flags and
// navamsa (D9) sign. A sign, nakshatra or house a chart does not give is missing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/records.hpp"

namespace zk {

struct TableColumn {
    enum class Type : uint8_t { Float64, Int32, Bool, Text };
    std::string name;
    Type type = Type::Float64;
    // The values of the column's type, one per row; the others stay empty.
    std::vector<double> floats;
    std::vector<int32_t> ints;
    std::vector<uint8_t> bools;
    std::vector<std::string> texts;
    // One per row: 0 where the value is missing (its slot holds a zero or "").
    std::vector<uint8_t> present;
    size_t missing = 0;
};

struct ChartTable {
    std::vector<TableColumn> columns;
    size_t rows = 0;
};

// A table with every column and no row.
ChartTable empty_chart_table();

// Appends one row per chart, in order.
void append_charts(ChartTable& table, const std::vector<Chart>& charts);

}  // namespace zk
