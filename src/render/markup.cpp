#include "render/markup.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/zodiac.hpp"

namespace zk {

void append_escaped(std::string& out, std::string_view text, std::string_view apostrophe) {
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
                out += apostrophe;
                break;
            default:
                out += c;
        }
    }
}

std::string degrees_in_sign(double longitude) {
    double within = degree_in_sign(normalize_degrees(longitude));
    if (!(within >= 0.0)) within = 0.0;
    const long minutes = std::min(30L * 60 - 1, static_cast<long>(std::floor(within * 60.0)));
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%ld\u00b0%02ld'", minutes / 60, minutes % 60);
    return buffer;
}

}  // namespace zk
