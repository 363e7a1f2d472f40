#include "render/svg.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/divisional.hpp"
#include "core/format.hpp"
#include "render/markup.hpp"
#include "time/timezone.hpp"

namespace zk {
namespace {

struct Point {
    double x;
    double y;
};

using Polygon = std::vector<Point>;

// ---------------------------------------------------------------- geometry

// North: anchor of boxes 1..12 and their fields (four inner diamonds and eight triangles).
constexpr std::array<Point, 12> kNorthAnchors = {{{250, 150},
                                                  {150, 100},
                                                  {100, 150},
                                                  {150, 250},
                                                  {100, 350},
                                                  {150, 400},
                                                  {250, 350},
                                                  {350, 400},
                                                  {400, 350},
                                                  {350, 250},
                                                  {400, 150},
                                                  {350, 100}}};

Polygon north_field(unsigned box) {
    constexpr Point tl{50, 50}, tr{450, 50}, br{450, 450}, bl{50, 450};
    constexpr Point t{250, 50}, r{450, 250}, b{250, 450}, l{50, 250}, c{250, 250};
    constexpr Point itl{150, 150}, itr{350, 150}, ibr{350, 350}, ibl{150, 350};
    struct Field {
        std::array<Point, 4> corners;
        size_t count;
    };
    constexpr std::array<Field, 12> kFields = {{{{t, itl, c, itr}, 4},
                                                {{tl, t, itl}, 3},
                                                {{tl, itl, l}, 3},
                                                {{l, itl, c, ibl}, 4},
                                                {{l, ibl, bl}, 3},
                                                {{bl, ibl, b}, 3},
                                                {{b, ibl, c, ibr}, 4},
                                                {{b, ibr, br}, 3},
                                                {{br, ibr, r}, 3},
                                                {{r, ibr, c, itr}, 4},
                                                {{r, itr, tr}, 3},
                                                {{tr, itr, t}, 3}}};
    const Field& f = kFields[box >= 1 && box <= 12 ? box - 1 : 11];
    return {f.corners.begin(), f.corners.begin() + static_cast<std::ptrdiff_t>(f.count)};
}

// South: the cell (column, row) of signs 1..12, Pisces top left, running clockwise.
constexpr std::array<std::array<int, 2>, 12> kSouthCells = {{{1, 0},
                                                             {2, 0},
                                                             {3, 0},
                                                             {3, 1},
                                                             {3, 2},
                                                             {3, 3},
                                                             {2, 3},
                                                             {1, 3},
                                                             {0, 3},
                                                             {0, 2},
                                                             {0, 1},
                                                             {0, 0}}};

Polygon south_cell(unsigned sign) {
    const double x = 50.0 + 100.0 * kSouthCells[sign - 1][0];
    const double y = 50.0 + 100.0 * kSouthCells[sign - 1][1];
    return {{x, y}, {x + 100, y}, {x + 100, y + 100}, {x, y + 100}};
}

// Distance-to-edge test of a point against a convex polygon (either winding).
bool inside(Point p, const Polygon& polygon, double margin) {
    double area = 0.0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        area += a.x * b.y - b.x * a.y;
    }
    const double sense = area > 0 ? 1.0 : -1.0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        if (sense * cross < margin * std::hypot(b.x - a.x, b.y - a.y)) return false;
    }
    return true;
}

// ---------------------------------------------------------------- labels

struct Label {
    std::string text;
    std::string_view fill;
    bool bold = false;
    int font = 14;
    int x = 0;
    int y = 0;
};

size_t characters(std::string_view text) {
    return static_cast<size_t>(std::ranges::count_if(
        text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Widths in font units, generous for the common fonts: capitals, small letters, figures
// and the narrow marks.
double character_widths(std::string_view text, bool bold) {
    double em = 0.0;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u & 0xC0) == 0x80) continue;
        if (c >= 'A' && c <= 'Z') {
            em += bold ? 0.85 : 0.75;
        } else if (c >= 'a' && c <= 'z') {
            em += bold ? 0.66 : 0.6;
        } else if (c >= '0' && c <= '9') {
            em += bold ? 0.72 : 0.66;
        } else {
            em += 0.45;  // space, degree, minute mark
        }
    }
    return em;
}

// Label boxes as a viewer draws them: the typical metrics of the common default fonts
// (judges the classic stack, which the drawing has always used), and a generous estimate,
// wider and taller than those fonts, for the layouts chosen here.
struct Metrics {
    double bold_width, width, ascent, descent, margin;  // per character, per font unit
};
constexpr Metrics kTypical{0.72, 0.56, 0.9, 0.23, 0.5};
constexpr Metrics kGenerous{0.8, 0.66, 0.96, 0.27, 1.5};

double label_width(const Label& l, const Metrics& m = kGenerous) {
    if (&m == &kGenerous) return character_widths(l.text, l.bold) * l.font;
    return static_cast<double>(characters(l.text)) * (l.bold ? m.bold_width : m.width) * l.font;
}

bool fits(const Label& l, const Polygon& field, const Metrics& m) {
    const double half = label_width(l, m) / 2.0;
    const double top = l.y - m.ascent * l.font, bottom = l.y + m.descent * l.font;
    for (const Point p : {Point{l.x - half, top}, Point{l.x + half, top}, Point{l.x + half, bottom},
                          Point{l.x - half, bottom}}) {
        if (!inside(p, field, m.margin)) return false;
    }
    return true;
}

// The horizontal span of a convex field over a band of heights (the narrower of its spans
// at the band's top and bottom), less a margin for slanted sides.
std::pair<double, double> band(const Polygon& field, double top, double bottom) {
    auto span = [&](double y) {
        double left = 1e9, right = -1e9;
        for (size_t i = 0; i < field.size(); ++i) {
            const Point a = field[i], b = field[(i + 1) % field.size()];
            if ((y < std::min(a.y, b.y)) || (y > std::max(a.y, b.y))) continue;
            if (a.y == b.y) {
                left = std::min({left, a.x, b.x});
                right = std::max({right, a.x, b.x});
            } else {
                const double x = a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        return std::pair{left, right};
    };
    const auto [l1, r1] = span(top);
    const auto [l2, r2] = span(bottom);
    return {std::max(l1, l2) + 3.0, std::min(r1, r2) - 3.0};
}

bool all_fit(const std::vector<Label>& labels, const Polygon& field, const Metrics& m = kGenerous) {
    return std::ranges::all_of(labels, [&](const Label& l) { return fits(l, field, m); });
}

// The classic stack under the anchor: heading 30 units above it, planets from 10 above it,
// 18 apart.
void stack_classic(std::vector<Label>& labels, bool has_heading, Point anchor) {
    int k = 0;
    for (size_t i = 0; i < labels.size(); ++i) {
        Label& l = labels[i];
        l.x = static_cast<int>(anchor.x);
        if (has_heading && i == 0) {
            l.y = static_cast<int>(anchor.y) - 30;
        } else {
            l.y = static_cast<int>(anchor.y) - 10 + 18 * k++;
        }
    }
}

// How many labels from `first` (up to `end`) fit side by side in [left, right], in columns
// as wide as the widest of them and half a font apart; `used` is their total width.
size_t row_length(const std::vector<Label>& labels, size_t first, size_t end, int row_font,
                  double left, double right, double& used) {
    size_t n = 0;
    double widest = 0.0;
    used = 0.0;
    while (first + n < end) {
        const double w = label_width(labels[first + n]);
        const double column = std::max(widest, w) + 0.5 * row_font;
        if (n > 0 && column * static_cast<double>(n + 1) > right - left) break;
        if (n == 0 && w > right - left) break;
        widest = std::max(widest, w);
        used = column * static_cast<double>(n + 1);
        ++n;
    }
    return n;
}

// Rows from height `start` down, each as full as the field's width there allows, centred.
// The bottom of the last row, or nothing when some label fits in no row.
std::optional<double> fill_rows(std::vector<Label>& labels, bool has_heading, const Polygon& field,
                                double start) {
    double y = start;
    size_t i = 0;
    while (i < labels.size()) {
        const int row_font = labels[i].font;
        const double top = y, bottom = y + (kGenerous.ascent + kGenerous.descent) * row_font;
        const auto [left, right] = band(field, top, bottom);
        // The heading keeps a row of its own.
        const size_t end = has_heading && i == 0 ? 1 : labels.size();
        double used = 0.0;
        const size_t n = row_length(labels, i, end, row_font, left, right, used);
        if (n == 0) return std::nullopt;
        const double column = used / static_cast<double>(n);
        const double centre = (left + right) / 2.0;
        for (size_t k = 0; k < n; ++k) {
            Label& l = labels[i + k];
            l.x = static_cast<int>(std::lround(
                centre + (static_cast<double>(k) - (static_cast<double>(n) - 1) / 2.0) * column));
            l.y = static_cast<int>(std::ceil(top + kGenerous.ascent * row_font));
        }
        i += n;
        y = bottom + 0.15 * row_font;
    }
    return y;
}

// The largest font for which rows from some start fit, and of its starts the one whose block
// is centred nearest the anchor. False when nothing fits even in the smallest font.
bool lay_out_rows(std::vector<Label>& labels, bool has_heading, Point anchor, const Polygon& field,
                  double top_of_field, double bottom_of_field) {
    for (int font = 14; font >= 5; --font) {
        for (size_t i = 0; i < labels.size(); ++i) {
            labels[i].font = has_heading && i == 0 ? std::min(12, font) : font;
        }
        std::vector<Label> chosen;
        double chosen_distance = 1e9;
        for (double start = top_of_field + 2; start < bottom_of_field; start += 3) {
            std::vector<Label> tried = labels;
            const std::optional<double> y = fill_rows(tried, has_heading, field, start);
            if (!y || !all_fit(tried, field)) continue;
            const double distance = std::fabs((start + *y) / 2.0 - anchor.y);
            if (distance < chosen_distance) {
                chosen_distance = distance;
                chosen = std::move(tried);
            }
        }
        if (!chosen.empty()) {
            labels = std::move(chosen);
            return true;
        }
    }
    return false;
}

// The heading label (a sign number) and the planet labels of one box, laid out: first the
// classic stack under the anchor, else the largest font, fewest columns and nearest position
// where every label fits. Labels of a grid never overlap: rows are further apart than a label
// is tall and columns wider than the widest label.
void lay_out(std::vector<Label>& labels, bool has_heading, Point anchor, const Polygon& field,
             bool classic_first) {
    if (labels.empty()) return;
    if (classic_first) {
        stack_classic(labels, has_heading, anchor);
        if (all_fit(labels, field, kTypical)) return;
    }
    double top_of_field = field[0].y, bottom_of_field = field[0].y;
    for (const Point p : field) {
        top_of_field = std::min(top_of_field, p.y);
        bottom_of_field = std::max(bottom_of_field, p.y);
    }
    if (lay_out_rows(labels, has_heading, anchor, field, top_of_field, bottom_of_field)) return;
    // Nothing fits even in the smallest font: one column from the top.
    for (size_t i = 0; i < labels.size(); ++i) {
        labels[i].x = static_cast<int>(anchor.x);
        labels[i].y = static_cast<int>(top_of_field) + 8 + 7 * static_cast<int>(i);
    }
}

// ---------------------------------------------------------------- text

// <text x=".." y=".." {attributes}>{label}</text>
void append_text(std::string& out, const Label& l) {
    out += "<text x=\"";
    out += std::to_string(l.x);
    out += "\" y=\"";
    out += std::to_string(l.y);
    out += "\" fill=\"";
    out += l.fill;
    out += "\" font-size=\"";
    out += std::to_string(l.font);
    out += l.bold ? R"(" font-weight="bold" text-anchor="middle">)" : R"(" text-anchor="middle">)";
    append_escaped(out, l.text, "&apos;");
    out += "</text>";
}

struct Theme {
    std::string_view background, stroke, heading;
    std::array<std::string_view, 9> planets;
};

constexpr Theme kDark = {"#1a1a1a",
                         "#444",
                         "#888",
                         {"#ffcc00", "#ffffff", "#ff4444", "#00ccff", "#ffff44", "#00ccff",
                          "#00ccff", "#00ccff", "#00ccff"}};
constexpr Theme kLight = {"#ffffff",
                          "#999",
                          "#666",
                          {"#b36b00", "#444444", "#cc2222", "#00779e", "#7a6a00", "#00779e",
                           "#00779e", "#00779e", "#00779e"}};

std::string frame(const SvgOptions& o, const Theme& theme) {
    const std::string size = std::to_string(o.size);
    std::string out = "<svg width=\"" + size + "\" height=\"" + size +
                      R"(" viewBox="0 0 500 500" xmlns="http://www.w3.org/2000/svg">)";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"" + std::string(theme.background) + "\" />";
    const std::string stroke = "stroke=\"" + std::string(theme.stroke) + "\"";
    out += R"(<rect x="50" y="50" width="400" height="400" )" + stroke +
           R"( fill="none" stroke-width="2" />)";
    auto line = [&](int x1, int y1, int x2, int y2) {
        out += "<line x1=\"" + std::to_string(x1) + "\" y1=\"" + std::to_string(y1) + "\" x2=\"" +
               std::to_string(x2) + "\" y2=\"" + std::to_string(y2) + "\" " + stroke +
               R"( stroke-width="2" />)";
    };
    if (o.style == SvgOptions::Style::North) {
        line(50, 50, 450, 450);
        line(450, 50, 50, 450);
        out += R"(<polygon points="250,50 450,250 250,450 50,250" )" + stroke +
               R"( fill="none" stroke-width="2" />)";
    } else {
        line(150, 50, 150, 450);
        line(350, 50, 350, 450);
        line(50, 150, 450, 150);
        line(50, 350, 450, 350);
        line(250, 50, 250, 150);
        line(250, 350, 250, 450);
        line(50, 250, 150, 250);
        line(350, 250, 450, 250);
    }
    return out;
}

// "1990-05-15 10:15 Asia/Kathmandu (+05:45), 27.70°N 85.30°E" and the varga or bhava.
std::string title(const Chart& chart, const SvgOptions& o) {
    UtcDateTime at = chart.datetime;
    std::string zone = "UTC";
    if (chart.metadata.timezone && *chart.metadata.timezone != "UTC") {
        if (auto tz = tz::lookup(*chart.metadata.timezone)) {
            const tz::LocalReading local = tz::to_local(chart.datetime, *tz);
            at = local.civil;
            const int32_t offset = local.offset_seconds;
            const int32_t minutes = (offset < 0 ? -offset : offset) / 60;
            char sign_text[16];
            std::snprintf(sign_text, sizeof sign_text, " (%c%02d:%02d)", offset < 0 ? '-' : '+',
                          minutes / 60, minutes % 60);
            zone = *chart.metadata.timezone + sign_text;
        }
    }
    char when[48];
    std::snprintf(when, sizeof when, "%04d-%02u-%02u %02u:%02u ", at.year, at.month, at.day,
                  at.hour, at.minute);
    const double lat = chart.location.latitude, lon = chart.location.longitude;
    std::string text = when + zone + ", " + format_fixed(std::fabs(lat), 2) + "\u00b0" +
                       (lat < 0 ? "S " : "N ") + format_fixed(std::fabs(lon), 2) + "\u00b0" +
                       (lon < 0 ? "W" : "E");
    if (o.kind == SvgOptions::Kind::Bhava) text += ", bhava";
    if (o.varga != 1) text += ", D" + std::to_string(o.varga);
    return text;
}

// The sign a planet stands in for the drawing's varga, if it has one.
std::optional<unsigned> planet_sign(const PlanetPosition& p, uint32_t varga) {
    if (!p.sign) return std::nullopt;
    if (varga == 1) return sign_number(*p.sign);
    if (auto s = p.divisional_signs.find(varga)) return sign_number(*s);
    return divisional_sign(varga, normalize_degrees(p.longitude));
}

// A chart's longitudes are finite, so the varga longitude always exists.
double varga_longitude(double longitude, uint32_t varga) {
    if (varga == 1) return longitude;
    return get_divisional_longitude(normalize_degrees(longitude), varga).value_or(longitude);
}

const HouseCusp* find_house(const std::vector<HouseCusp>& houses, unsigned n) {
    for (const HouseCusp& h : houses) {
        if (h.house == n) return &h;
    }
    return nullptr;
}

// Labels stack in planet order whatever the order of the record.
std::vector<const PlanetPosition*> planets_in_order(const Chart& chart) {
    std::vector<const PlanetPosition*> planets;
    for (const PlanetPosition& p : chart.planets) planets.push_back(&p);
    std::stable_sort(
        planets.begin(), planets.end(),
        [](const PlanetPosition* a, const PlanetPosition* b) { return a->planet < b->planet; });
    return planets;
}

// South style: the stroke across the top left corner of the ascendant's cell.
void append_ascendant_mark(std::string& out, unsigned ascendant_sign, const Theme& theme) {
    const Polygon cell = south_cell(ascendant_sign);
    const int x = static_cast<int>(cell[0].x), y = static_cast<int>(cell[0].y);
    out += "<line x1=\"" + std::to_string(x) + "\" y1=\"" + std::to_string(y + 22) + "\" x2=\"" +
           std::to_string(x + 22) + "\" y2=\"" + std::to_string(y) + "\" stroke=\"" +
           std::string(theme.heading) + "\" stroke-width=\"2\" />";
}

// What every box of one drawing shares.
struct Drawing {
    const Chart& chart;
    const SvgOptions& o;
    const Theme& theme;
    const std::vector<const PlanetPosition*>& planets;
    unsigned ascendant_sign;
    bool north;
    bool bhava;
};

// Box n's sign (0 when unknown).
unsigned box_sign(const Drawing& d, unsigned n) {
    unsigned sign = 0;
    if (d.bhava) {
        if (const HouseCusp* house = find_house(d.chart.houses, n)) {
            sign = sign_number(sign_from_longitude(normalize_degrees(house->cusp)));
        }
    } else {
        sign = d.north ? nth_house_from(d.ascendant_sign, n) : n;
    }
    return sign;
}

// The labels of box n holding `sign`: the sign number, "Asc" where it belongs, then its
// planets.
std::vector<Label> box_labels(const Drawing& d, unsigned n, unsigned sign) {
    const SvgOptions& o = d.o;
    std::vector<Label> labels;
    if (sign != 0) labels.push_back({std::to_string(sign), d.theme.heading, false, 12});
    const bool holds_ascendant = d.bhava ? n == 1 : (d.north ? n == 1 : sign == d.ascendant_sign);
    if (holds_ascendant && (o.details || !d.north)) {
        std::string text = "Asc";
        if (o.details) text += " " + degrees_in_sign(varga_longitude(d.chart.ascendant, o.varga));
        labels.push_back({text, d.theme.heading, true, 14});
    }
    for (const PlanetPosition* p : d.planets) {
        if (d.bhava) {
            if (p->house != n) continue;
        } else {
            const auto s = planet_sign(*p, o.varga);
            if (!s || *s != sign) continue;
        }
        std::string text(planet_name(p->planet).substr(0, 2));
        if (o.details) {
            text += " " + degrees_in_sign(varga_longitude(p->longitude, o.varga));
            if (p->is_retrograde) text += " R";
        }
        labels.push_back({text, d.theme.planets[planet_index(p->planet)], true, 14});
    }
    return labels;
}

void append_box(std::string& out, const Drawing& d, unsigned n) {
    const unsigned sign = box_sign(d, n);
    std::vector<Label> labels = box_labels(d, n, sign);
    const bool has_heading = sign != 0;
    if (d.north) {
        lay_out(labels, has_heading, kNorthAnchors[n - 1], north_field(n), !d.o.details);
    } else {
        const Polygon cell = south_cell(n);
        lay_out(labels, has_heading, {cell[0].x + 50, cell[0].y + 50}, cell, false);
    }
    for (const Label& l : labels) append_text(out, l);
}

// The option the caller wrote, among `choices`; else "Unknown {what} '{text}'. Valid
// options: " and their names.
template <class Option>
Result<Option> choose(std::string_view what, std::string_view text,
                      std::initializer_list<std::pair<std::string_view, Option>> choices) {
    std::string valid;
    for (const auto& [name, option] : choices) {
        if (name == text) return option;
        if (!valid.empty()) valid += ", ";
        valid += name;
    }
    return std::unexpected(ZodiakitError::invalid_input(
        "Unknown " + std::string(what) + " '" + std::string(text) + "'. Valid options: " + valid));
}

}  // namespace

std::string chart_to_svg(const Chart& chart, const SvgOptions& o) {
    const Theme& theme = o.theme == SvgOptions::Theme::Light ? kLight : kDark;
    const bool north = o.style == SvgOptions::Style::North;
    const bool bhava = o.kind == SvgOptions::Kind::Bhava;
    std::string out = frame(o, theme);
    out.reserve(4096);

    const std::vector<const PlanetPosition*> planets = planets_in_order(chart);
    const unsigned ascendant_sign =
        o.varga == 1 ? sign_number(sign_from_longitude(normalize_degrees(chart.ascendant)))
                     : divisional_sign(o.varga, normalize_degrees(chart.ascendant));

    if (o.details) {
        append_text(out, {title(chart, o), theme.heading, false, 13, 250, 30});
    }
    if (!north) append_ascendant_mark(out, ascendant_sign, theme);

    const Drawing drawing{chart, o, theme, planets, ascendant_sign, north, bhava};
    for (unsigned n = 1; n <= 12; ++n) append_box(out, drawing, n);
    out += "</svg>";
    return out;
}

Result<std::string> draw_chart(const Chart& chart, std::string_view style, uint32_t varga,
                               bool details, int32_t size, std::string_view theme,
                               std::string_view kind) {
    SvgOptions o;
    o.details = details;
    ZK_TRY(chosen_style, choose<SvgOptions::Style>("style", style,
                                                   {{"north", SvgOptions::Style::North},
                                                    {"south", SvgOptions::Style::South}}));
    o.style = chosen_style;
    ZK_TRY(chosen_theme, choose<SvgOptions::Theme>("theme", theme,
                                                   {{"dark", SvgOptions::Theme::Dark},
                                                    {"light", SvgOptions::Theme::Light}}));
    o.theme = chosen_theme;
    ZK_TRY(chosen_kind, choose<SvgOptions::Kind>("chart", kind,
                                                 {{"rasi", SvgOptions::Kind::Rasi},
                                                  {"bhava", SvgOptions::Kind::Bhava}}));
    o.kind = chosen_kind;
    if (varga != 1 && std::ranges::find(kVargaSet, varga) == kVargaSet.end()) {
        std::string valid = "1";
        for (uint32_t v : kVargaSet) valid += ", " + std::to_string(v);
        return std::unexpected(ZodiakitError::invalid_input(
            "Unknown varga " + std::to_string(varga) + ". Valid options: " + valid));
    }
    o.varga = varga;
    if (size < 100 || size > 4000) {
        return std::unexpected(ZodiakitError::invalid_input("Invalid size " + std::to_string(size) +
                                                            ": expected 100..4000"));
    }
    o.size = size;
    if (o.kind == SvgOptions::Kind::Bhava &&
        (o.varga != 1 || o.style != SvgOptions::Style::North)) {
        return std::unexpected(ZodiakitError::invalid_input(
            "A bhava chart is drawn for varga 1 in the north style only"));
    }
    return chart_to_svg(chart, o);
}

}  // namespace zk
