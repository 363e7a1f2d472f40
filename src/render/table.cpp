#include "render/table.hpp"

#include <string_view>

#include "core/vocab.hpp"
#include "core/zodiac.hpp"

namespace zk {
namespace {

using Type = TableColumn::Type;

// The columns of one graha, in order, after the prefix "<graha>_".
struct GrahaColumn {
    const char* suffix;
    Type type;
};
constexpr GrahaColumn kGrahaColumns[] = {
    {"longitude", Type::Float64}, {"speed", Type::Float64},     {"sign", Type::Text},
    {"nakshatra", Type::Text},    {"pada", Type::Int32},        {"house", Type::Int32},
    {"retrograde", Type::Bool},   {"exalted", Type::Bool},      {"debilitated", Type::Bool},
    {"own_sign", Type::Bool},     {"moolatrikona", Type::Bool}, {"vargottama", Type::Bool},
    {"d9_sign", Type::Text},
};
constexpr size_t kLeadingColumns = 6;  // utc_datetime, latitude, longitude, altitude, ...

// Calls `f` with the column's vector of values, the one of its type.
template <typename F>
void with_values(TableColumn& c, F f) {
    switch (c.type) {
        case Type::Float64:
            return f(c.floats);
        case Type::Int32:
            return f(c.ints);
        case Type::Bool:
            return f(c.bools);
        case Type::Text:
            return f(c.texts);
    }
}

// Appends values to the columns in order.
class RowWriter {
  public:
    explicit RowWriter(std::vector<TableColumn>& columns) : columns_(columns) {}

    void add(double value) {
        TableColumn& c = next();
        c.floats.push_back(value);
        c.present.push_back(1);
    }
    void add(int32_t value) {
        TableColumn& c = next();
        c.ints.push_back(value);
        c.present.push_back(1);
    }
    void add(bool value) {
        TableColumn& c = next();
        c.bools.push_back(value ? 1 : 0);
        c.present.push_back(1);
    }
    void add(std::string_view value) {
        TableColumn& c = next();
        c.texts.emplace_back(value);
        c.present.push_back(1);
    }
    // A missing value of the next column's type.
    void add_missing() {
        TableColumn& c = next();
        with_values(c, [](auto& values) { values.emplace_back(); });
        c.present.push_back(0);
        ++c.missing;
    }
    template <typename T, typename Show>
    void add(const std::optional<T>& value, Show show) {
        if (value) {
            add(show(*value));
        } else {
            add_missing();
        }
    }

  private:
    TableColumn& next() { return columns_[index_++]; }
    std::vector<TableColumn>& columns_;
    size_t index_ = 0;
};

void write_row(RowWriter& row, const Chart& chart) {
    row.add(std::string_view(chart.metadata.utc_datetime));
    row.add(chart.location.latitude);
    row.add(chart.location.longitude);
    row.add(chart.location.altitude);
    row.add(chart.ascendant);
    row.add(std::string_view(sign_name(sign_from_longitude(chart.ascendant))));
    for (Planet planet : kAllPlanets) {
        const PlanetPosition* p = find_planet(chart.planets, planet);
        if (!p) {
            for (size_t i = 0; i < std::size(kGrahaColumns); ++i) row.add_missing();
            continue;
        }
        row.add(p->longitude);
        row.add(p->speed);
        row.add(p->sign, [](Sign s) { return sign_name(s); });
        row.add(p->nakshatra, [](Nakshatra n) { return nakshatra_name(n); });
        row.add(static_cast<int32_t>(nakshatra_pada(p->longitude)));
        row.add(p->house, [](uint8_t h) { return static_cast<int32_t>(h); });
        row.add(p->is_retrograde);
        row.add(p->is_exalted);
        row.add(p->is_debilitated);
        row.add(p->is_own_sign);
        row.add(p->is_moolatrikona);
        row.add(p->is_vargottama);
        row.add(p->divisional_signs.find(9), [](Sign s) { return sign_name(s); });
    }
}

}  // namespace

ChartTable empty_chart_table() {
    ChartTable table;
    auto add = [&](std::string name, Type type) {
        TableColumn column;
        column.name = std::move(name);
        column.type = type;
        table.columns.push_back(std::move(column));
    };
    add("utc_datetime", Type::Text);
    add("latitude", Type::Float64);
    add("longitude", Type::Float64);
    add("altitude", Type::Float64);
    add("ascendant", Type::Float64);
    add("ascendant_sign", Type::Text);
    static_assert(kLeadingColumns == 6);
    for (Planet planet : kAllPlanets) {
        for (const GrahaColumn& c : kGrahaColumns) {
            add(std::string(planet_key(planet)) + "_" + c.suffix, c.type);
        }
    }
    return table;
}

void append_charts(ChartTable& table, const std::vector<Chart>& charts) {
    for (TableColumn& c : table.columns) {
        const size_t size = table.rows + charts.size();
        c.present.reserve(size);
        with_values(c, [size](auto& values) { values.reserve(size); });
    }
    for (const Chart& chart : charts) {
        RowWriter row(table.columns);
        write_row(row, chart);
        ++table.rows;
    }
}

}  // namespace zk
