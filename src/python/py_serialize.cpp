// The chart as JSON, dict, text and SVG.
#include "python/entry_points.hpp"
#include "render/chart_json.hpp"
#include "render/chart_text.hpp"
#include "render/html.hpp"
#include "render/svg.hpp"

namespace zk::py {

Ref json_text(const Chart& chart) {
    return new_str(chart_to_json(chart));
}

Ref json_dict(const Chart& chart) {
    return json_loads(chart_to_json(chart));
}

Ref svg_text(const Chart& chart) {
    return new_str(chart_to_svg(chart));
}

Ref new_text(const std::string& text) {
    return new_str(text);
}

PyObject* draw_svg(PyObject* self, const Args& args) {
    return run(args, draw_chart, new_text, record_of<Chart>(self));
}

Ref html_text(const Chart& chart) {
    return new_str(chart_to_html(chart));
}

Ref panchanga_html(const Panchanga& panchanga) {
    return new_str(panchanga_to_html(panchanga));
}

Ref summary_text(const Chart& chart) {
    return new_str(chart_summary(chart));
}

Ref listing_text(const Chart& chart) {
    return new_str(chart_listing(chart));
}

}  // namespace zk::py
