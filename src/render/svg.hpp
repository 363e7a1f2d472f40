// The chart drawn in SVG 1.1, in user units of a 500 x 500 canvas: the North-Indian diamond
// or the South-Indian square of fixed signs. Drawing a chart cannot fail; only option texts
// the caller wrote can (draw_chart).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.hpp"
#include "core/records.hpp"

namespace zk {

struct SvgOptions {
    enum class Style : uint8_t { North, South };
    enum class Theme : uint8_t { Dark, Light };
    // Rasi: box n holds the n-th sign from the ascendant's sign and the planets standing in
    // it. Bhava: box n is house n, labelled with its cusp's sign, holding the planets placed
    // in that house (North style only).
    enum class Kind : uint8_t { Rasi, Bhava };

    Style style = Style::North;
    uint32_t varga = 1;    // 1 or one of kVargaSet; planets and ascendant by their varga sign
    bool details = false;  // degrees, "R", "Asc" and a title line
    int32_t size = 500;    // width and height of the picture
    Theme theme = Theme::Dark;
    Kind kind = Kind::Rasi;
};

// A 500 x 500 document on one line. North: a square split by its diagonals and an inscribed
// diamond into twelve boxes (box 1 the top inner diamond, boxes running anticlockwise); each
// box shows the number of its sign and the two-letter labels of its planets, 18 units apart
// in planet order where they fit, in smaller rows and columns where they do not. South:
// a 4 x 4 grid whose twelve outer cells are the signs, Pisces top left, running clockwise;
// the ascendant's cell is marked. Planets without a sign (a house, for bhava) are not drawn;
// in a bhava drawing, houses missing from the house list get no sign label.
std::string chart_to_svg(const Chart& chart, const SvgOptions& options = {});

// The options as the caller writes them, checked, then the drawing. InvalidInput errors:
// "Unknown style 'x'. Valid options: north, south", the same for theme (dark, light) and
// chart (rasi, bhava), "Unknown varga 5. Valid options: 1, 2, 3, ..., 60",
// "Invalid size 10: expected 100..4000", "A bhava chart is drawn for varga 1 in the north
// style only".
Result<std::string> draw_chart(const Chart& chart, std::string_view style, uint32_t varga,
                               bool details, int32_t size, std::string_view theme,
                               std::string_view kind);

}  // namespace zk
