#include "render/html.hpp"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/format.hpp"
#include "panchanga/local_day.hpp"
#include "render/svg.hpp"

namespace zk {
namespace {

void append_escaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
}

void append_row(std::string& out, std::initializer_list<std::string_view> cells) {
    out += "<tr>";
    for (std::string_view cell : cells) {
        out += "<td>";
        append_escaped(out, cell);
        out += "</td>";
    }
    out += "</tr>";
}

void append_head(std::string& out, std::initializer_list<std::string_view> cells) {
    out += "<tr>";
    for (std::string_view cell : cells) {
        out += "<th>";
        append_escaped(out, cell);
        out += "</th>";
    }
    out += "</tr>";
}

// "12°05'" inside the sign.
std::string degrees(double longitude) {
    double within = std::fmod(normalize_degrees(longitude), 30.0);
    if (!(within >= 0.0)) within = 0.0;
    const long minutes = std::min(30L * 60 - 1, static_cast<long>(std::floor(within * 60.0)));
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%ld\u00b0%02ld'", minutes / 60, minutes % 60);
    return buffer;
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
        out, {"Ascendant", sign_name(asc), degrees(chart.ascendant),
              nakshatra_display_name(nakshatra_from_longitude(normalize_degrees(chart.ascendant))),
              std::to_string(nakshatra_pada(chart.ascendant)), "1", ""});
    for (const PlanetPosition& p : chart.planets) {
        append_row(out,
                   {planet_name(p.planet), p.sign ? sign_name(*p.sign) : "", degrees(p.longitude),
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
