// The North-Indian chart drawing, on hand-built records: a well-formed 500 x 500 document whose
// twelve house fields show the sign of their cusp and the planets standing in them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <expected>
#include <iterator>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "render/svg.hpp"

// Records below are built with designated initialisers that leave the other members default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zk {
namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string, std::less<>> attributes;
    std::string text;
    size_t depth = 0;  // 0 for the root
};

bool is_name_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

// Text and attribute values: no '<', and '&' only where it starts a predefined entity.
bool well_escaped(std::string_view s) {
    constexpr std::array<std::string_view, 5> kEntities = {"&amp;", "&lt;", "&gt;", "&quot;",
                                                           "&apos;"};
    if (s.find('<') != std::string_view::npos) return false;
    for (size_t i = s.find('&'); i != std::string_view::npos; i = s.find('&', i + 1)) {
        if (std::ranges::none_of(kEntities, [&](auto e) { return s.substr(i).starts_with(e); })) {
            return false;
        }
    }
    return true;
}

// The elements of an XML document in document order, or the first well-formedness fault
// found: text outside the root, unbalanced tags, unquoted or repeated attributes, a raw '<'
// or a bare '&'. Enough XML for a drawing: no comments, declarations or CDATA.
std::expected<std::vector<Element>, std::string> parse_xml(std::string_view doc) {
    std::vector<Element> elements;
    std::vector<size_t> open;  // elements not yet closed, innermost last
    size_t at = 0;
    auto fault = [&](std::string_view what) {
        return std::unexpected(std::string(what) + " at offset " + std::to_string(at));
    };
    while (at < doc.size()) {
        if (doc[at] != '<') {
            const std::string_view text = doc.substr(at, doc.find('<', at) - at);
            if (open.empty()) return fault("text outside the root");
            if (!well_escaped(text)) return fault("unescaped text");
            elements[open.back()].text += text;
            at += text.size();
            continue;
        }
        const size_t close = doc.find('>', at);
        if (close == std::string_view::npos) return fault("an unclosed tag");
        std::string_view tag = doc.substr(at + 1, close - at - 1);
        if (tag.starts_with('/')) {
            if (open.empty() || elements[open.back()].name != tag.substr(1)) {
                return fault("a mismatched end tag");
            }
            open.pop_back();
            at = close + 1;
            continue;
        }
        if (open.empty() && !elements.empty()) return fault("a second root");
        const bool self_closing = tag.ends_with('/');
        if (self_closing) tag.remove_suffix(1);
        Element e{.depth = open.size()};
        size_t k = 0;
        while (k < tag.size() && is_name_char(tag[k])) ++k;
        e.name = tag.substr(0, k);
        if (e.name.empty()) return fault("a tag without a name");
        for (;;) {
            const size_t gap = k;
            while (k < tag.size() && tag[k] == ' ') ++k;
            if (k == tag.size()) break;
            if (k == gap) return fault("attributes run together");
            const size_t name_start = k;
            while (k < tag.size() && is_name_char(tag[k])) ++k;
            const std::string name(tag.substr(name_start, k - name_start));
            if (name.empty() || tag.substr(k, 2) != "=\"") return fault("an unquoted attribute");
            const size_t value_end = tag.find('"', k + 2);
            if (value_end == std::string_view::npos) return fault("an unterminated value");
            const std::string_view value = tag.substr(k + 2, value_end - k - 2);
            if (!well_escaped(value)) return fault("an unescaped attribute value");
            if (!e.attributes.emplace(name, value).second) return fault("a repeated attribute");
            k = value_end + 1;
        }
        elements.push_back(std::move(e));
        if (!self_closing) open.push_back(elements.size() - 1);
        at = close + 1;
    }
    if (elements.empty() || !open.empty()) return fault("an unclosed element");
    return elements;
}

double number(const Element& e, std::string_view attribute) {
    const auto it = e.attributes.find(attribute);
    double value = -1.0;
    if (it == e.attributes.end() ||
        std::from_chars(it->second.data(), it->second.data() + it->second.size(), value).ec !=
            std::errc{}) {
        ADD_FAILURE() << "<" << e.name << "> lacks a numeric " << attribute;
    }
    return value;
}

struct Point {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Point&) const = default;
};

// The frame is a 400-unit square at (50, 50). Its diagonals and the diamond joining the
// midpoints of its sides cut it into the twelve house fields: four inner diamonds (houses 1,
// 4, 7, 10) and eight corner triangles, house 1 the top diamond, the houses running
// anticlockwise.
constexpr Point kTopLeft{50, 50}, kTopRight{450, 50}, kBottomRight{450, 450}, kBottomLeft{50, 450};
constexpr Point kTop{250, 50}, kRight{450, 250}, kBottom{250, 450}, kLeft{50, 250};
constexpr Point kCentre{250, 250};
// Where the diagonals cross the diamond.
constexpr Point kInTopLeft{150, 150}, kInTopRight{350, 150}, kInBottomRight{350, 350},
    kInBottomLeft{150, 350};

const std::vector<std::vector<Point>> kHouseFields = {
    {kTop, kInTopLeft, kCentre, kInTopRight},
    {kTopLeft, kTop, kInTopLeft},
    {kTopLeft, kInTopLeft, kLeft},
    {kLeft, kInTopLeft, kCentre, kInBottomLeft},
    {kLeft, kInBottomLeft, kBottomLeft},
    {kBottomLeft, kInBottomLeft, kBottom},
    {kBottom, kInBottomLeft, kCentre, kInBottomRight},
    {kBottom, kInBottomRight, kBottomRight},
    {kBottomRight, kInBottomRight, kRight},
    {kRight, kInBottomRight, kCentre, kInTopRight},
    {kRight, kInTopRight, kTopRight},
    {kTopRight, kInTopRight, kTop}};

// Strictly inside a convex polygon: on the same side of every edge.
bool inside(Point p, const std::vector<Point>& polygon) {
    int left = 0, right = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        left += cross > 0;
        right += cross < 0;
    }
    return left == static_cast<int>(polygon.size()) || right == static_cast<int>(polygon.size());
}

// The house whose field holds a point, or 0.
unsigned house_at(Point p) {
    for (unsigned n = 1; n <= 12; ++n) {
        if (inside(p, kHouseFields[n - 1])) return n;
    }
    return 0;
}

struct Label {
    std::string text;
    Point at;
    unsigned house;
};

// The drawing, checked to be a well-formed 500 x 500 SVG document whose shapes and texts sit
// directly under the root; its text labels in document order.
std::vector<Label> labels_of(const Chart& chart, const SvgOptions& options = {}) {
    const auto doc = parse_xml(chart_to_svg(chart, options));
    EXPECT_TRUE(doc) << doc.error();
    if (!doc) return {};
    const Element& root = doc->front();
    EXPECT_EQ(root.name, "svg");
    EXPECT_EQ(root.attributes,
              (decltype(root.attributes){{"width", "500"},
                                         {"height", "500"},
                                         {"viewBox", "0 0 500 500"},
                                         {"xmlns", "http://www.w3.org/2000/svg"}}));
    std::vector<Label> labels;
    for (const Element& e : std::span(*doc).subspan(1)) {
        EXPECT_EQ(e.depth, 1u) << e.name;
        if (e.name != "text") continue;
        const Point at{number(e, "x"), number(e, "y")};
        EXPECT_TRUE(at.x >= 0 && at.x <= 500 && at.y >= 0 && at.y <= 500) << e.text;
        labels.push_back({e.text, at, house_at(at)});
    }
    return labels;
}

bool is_number(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

constexpr SvgOptions kBhava{.kind = SvgOptions::Kind::Bhava};

TEST(ChartSvg, AnEmptyBhavaChartIsTheFrameAlone) {
    EXPECT_TRUE(labels_of(Chart{}, kBhava).empty());
    const auto doc = parse_xml(chart_to_svg(Chart{}));
    ASSERT_TRUE(doc) << doc.error();
    // The square, both diagonals and the diamond, so the house fields are where we look.
    std::vector<std::pair<Point, Point>> lines;
    std::vector<std::string> diamonds, squares;
    for (const Element& e : *doc) {
        if (e.name == "line") {
            lines.push_back(
                {{number(e, "x1"), number(e, "y1")}, {number(e, "x2"), number(e, "y2")}});
        } else if (e.name == "polygon") {
            diamonds.push_back(e.attributes.at("points"));
        } else if (e.name == "rect" && e.attributes.contains("x")) {
            squares.push_back(e.attributes.at("x") + "," + e.attributes.at("y") + " " +
                              e.attributes.at("width") + "x" + e.attributes.at("height"));
        }
    }
    EXPECT_EQ(squares, std::vector<std::string>{"50,50 400x400"});
    EXPECT_EQ(lines, (std::vector<std::pair<Point, Point>>{{kTopLeft, kBottomRight},
                                                           {kTopRight, kBottomLeft}}));
    EXPECT_EQ(diamonds, std::vector<std::string>{"250,50 450,250 250,450 50,250"});
}

TEST(ChartSvg, EachBhavaFieldShowsTheSignOfItsCusp) {
    // Cancer rising, equal houses; records in reverse, cusps unnormalised both ways.
    Chart c;
    for (unsigned n = 12; n >= 1; --n)
        c.houses.push_back({static_cast<uint8_t>(n), 95.0 + 30.0 * (n - 1)});
    c.houses[12 - 2].cusp -= 360.0;  // house 2, Leo
    c.houses[12 - 3].cusp += 720.0;  // house 3, Virgo
    c.houses[12 - 10].cusp = 360.0;  // house 10, Aries
    std::map<unsigned, std::string> signs;
    for (const Label& label : labels_of(c, kBhava)) {
        EXPECT_TRUE(is_number(label.text)) << label.text;
        EXPECT_TRUE(signs.emplace(label.house, label.text).second) << "house " << label.house;
    }
    std::string house_signs;  // "house:sign ..."
    for (const auto& [house, sign] : signs) house_signs += std::to_string(house) + ":" + sign + " ";
    EXPECT_EQ(house_signs, "1:4 2:5 3:6 4:7 5:8 6:9 7:10 8:11 9:12 10:1 11:2 12:3 ");
    // Houses missing from the list are left without a sign.
    c.houses = {{7, 180.0}};
    const auto labels = labels_of(c, kBhava);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ((std::pair{labels[0].text, labels[0].house}), (std::pair{std::string("7"), 7u}));
}

TEST(ChartSvg, EveryPlanetIsDrawnOnceInItsBhavaFieldStackedInPlanetOrder) {
    Chart c;
    for (uint8_t n = 1; n <= 12; ++n) c.houses.push_back({n, 30.0 * (n - 1)});
    // Record order is scrambled on purpose; three planets share house 7.
    c.planets = {{.planet = Planet::Venus, .house = 7},    {.planet = Planet::Ketu, .house = 9},
                 {.planet = Planet::Sun, .house = 7},      {.planet = Planet::Saturn, .house = 10},
                 {.planet = Planet::Mercury, .house = 12}, {.planet = Planet::Moon, .house = 1},
                 {.planet = Planet::Rahu, .house = 3},     {.planet = Planet::Jupiter, .house = 4},
                 {.planet = Planet::Mars, .house = 7}};
    std::vector<Label> planets;
    for (const Label& label : labels_of(c, kBhava)) {
        if (!is_number(label.text)) planets.push_back(label);
    }
    std::set<std::string> drawn;
    std::string houses;  // "label:house ..."
    for (const Label& p : planets) {
        EXPECT_TRUE(drawn.insert(p.text).second) << p.text << " drawn twice";
        houses += p.text + ":" + std::to_string(p.house) + " ";
    }
    EXPECT_EQ(houses, "Mo:1 Ra:3 Ju:4 Su:7 Ma:7 Ve:7 Ke:9 Sa:10 Me:12 ");
    std::vector<Label> seventh;
    std::ranges::copy_if(planets, std::back_inserter(seventh),
                         [](const Label& p) { return p.house == 7; });
    std::ranges::sort(seventh, {}, [](const Label& p) { return p.at.y; });  // top to bottom
    ASSERT_EQ(seventh.size(), 3u);
    EXPECT_EQ(seventh[0].text + seventh[1].text + seventh[2].text, "SuMaVe");
    EXPECT_EQ(seventh[0].at.x, seventh[2].at.x);
    EXPECT_EQ(seventh[1].at.y - seventh[0].at.y, 18.0);
    EXPECT_EQ(seventh[2].at.y - seventh[1].at.y, 18.0);

    // A planet without a house, or with a house outside 1..12, is not drawn.
    c.planets = {{.planet = Planet::Ketu},
                 {.planet = Planet::Rahu, .house = 13},
                 {.planet = Planet::Saturn, .house = 0}};
    for (const Label& label : labels_of(c, kBhava))
        EXPECT_TRUE(is_number(label.text)) << label.text;
}

// Which sign's box each planet of a real chart is drawn in, in both styles and every varga,
// is checked from Python on ten thousand charts (test_drawing.py).

TEST(ChartSvg, CrowdedFieldsKeepTheirLabelsApartAndInside) {
    // All nine grahas and the ascendant in Capricorn, in every box shape.
    for (double asc : {270.5, 0.5, 30.5, 90.5}) {
        Chart c;
        c.ascendant = asc;
        for (Planet p : kAllPlanets) {
            c.planets.push_back({.planet = p,
                                 .longitude = 275.0 + planet_index(p),
                                 .is_retrograde = p >= Planet::Rahu,
                                 .sign = Sign::Capricorn});
        }
        for (bool details : {false, true}) {
            const auto labels = labels_of(c, {.details = details});
            std::set<std::pair<double, double>> anchors;
            unsigned field = 0;
            for (const Label& l : labels) {
                if (l.text.starts_with("Asc") || is_number(l.text)) continue;
                if (l.at.y < 45) continue;  // the title line
                EXPECT_NE(l.house, 0u) << l.text;
                if (field == 0) field = l.house;
                EXPECT_EQ(l.house, field) << l.text;
                EXPECT_TRUE(anchors.insert({l.at.x, l.at.y}).second) << l.text;
            }
            EXPECT_EQ(anchors.size(), 9u);
        }
    }
}

}  // namespace
}  // namespace zk
