#include "render/html.hpp"

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/format.hpp"
#include "panchanga/local_day.hpp"
#include "render/markup.hpp"
#include "render/svg.hpp"

namespace zk {
namespace {

// One table row: each cell escaped inside <td> (or <th>).
void append_cells(std::string& out, std::initializer_list<std::string_view> cells,
                  std::string_view tag) {
    out += "<tr>";
    for (std::string_view cell : cells) {
        out += "<";
        out += tag;
        out += ">";
        append_escaped(out, cell, "&#39;");
        out += "</";
        out += tag;
        out += ">";
    }
    out += "</tr>";
}

void append_row(std::string& out, std::initializer_list<std::string_view> cells) {
    append_cells(out, cells, "td");
}

void append_head(std::string& out, std::initializer_list<std::string_view> cells) {
    append_cells(out, cells, "th");
}

constexpr std::string_view kTableStyle =
    R"(<table style="border-collapse:collapse;font-family:sans-serif;font-size:12px">)";

}  // namespace

std::string chart_to_html(const Chart& chart) {
    std::string out = R"(<div style="display:flex;gap:16px;align-items:flex-start">)";
    out += chart_to_svg(chart, {.size = 360});
    out += kTableStyle;
    append_head(out, {"", "sign", "degree", "nakshatra", "pada", "house", ""});
    const Sign asc = sign_from_longitude(normalize_degrees(chart.ascendant));
    append_row(
        out, {"Ascendant", sign_name(asc), degrees_in_sign(chart.ascendant),
              nakshatra_display_name(nakshatra_from_longitude(normalize_degrees(chart.ascendant))),
              std::to_string(nakshatra_pada(chart.ascendant)), "1", ""});
    for (const PlanetPosition& p : chart.planets) {
        append_row(out, {planet_name(p.planet), p.sign ? sign_name(*p.sign) : "",
                         degrees_in_sign(p.longitude),
                         p.nakshatra ? nakshatra_display_name(*p.nakshatra) : "",
                         std::to_string(nakshatra_pada(p.longitude)),
                         p.house ? std::to_string(*p.house) : "", p.is_retrograde ? "R" : ""});
    }
    out += "</table></div>";
    return out;
}

std::string panchanga_to_html(const Panchanga& p) {
    std::string out(kTableStyle);
    append_head(out, {"", "", "ends"});
    append_row(out, {"Tithi", p.tithi.name + " (" + p.tithi.paksha + ")", p.tithi.end_time_local});
    append_row(out,
               {"Nakshatra", p.nakshatra.name + " (pada " + std::to_string(p.nakshatra.pada) + ")",
                p.nakshatra.end_time_local});
    append_row(out, {"Yoga", p.yoga.name, p.yoga.end_time_local});
    append_row(out, {"Karana", p.karana.name, p.karana.end_time_local});
    append_row(out, {"Vara", p.vara.name, ""});
    out += "</table>";
    return out;
}

}  // namespace zk
