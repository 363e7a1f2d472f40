// Pieces of text shared by the SVG and HTML writers: escaping (UTF-8 in, UTF-8 out) and a
// longitude in degrees shown as degrees and minutes of its sign. Nothing here fails.
#pragma once

#include <string>
#include <string_view>

namespace zk {

// Appends `text` with &, <, >, " and ' written as entities; the apostrophe as `apostrophe`
// ("&apos;" in SVG, "&#39;" in HTML).
void append_escaped(std::string& out, std::string_view text, std::string_view apostrophe);

// "12°05'": degrees and minutes (truncated) of a longitude inside its sign.
std::string degrees_in_sign(double longitude);

}  // namespace zk
