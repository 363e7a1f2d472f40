// The localised name tables embedded from data/*.json, and the reader both loaders
// (panchanga/locale, panchanga/calendar_names) use. A table that fails to read is a
// programming error: InvariantFailure with the loader's message.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.hpp"

namespace zk::embedded {
extern const std::string_view locale_hi_IN_json;
extern const std::string_view locale_ne_NP_json;
extern const std::string_view calendar_hi_IN_json;
extern const std::string_view calendar_ne_NP_json;
}  // namespace zk::embedded

namespace zk {

// The strings of the array `member` of `doc`; InvariantFailure(error) unless it is an array
// (of `expected` items, when expected is not 0).
inline std::vector<std::string> embedded_string_list(const nlohmann::json& doc, const char* member,
                                                     const char* error, size_t expected = 0) {
    const nlohmann::json& array = doc.at(member);
    if (!array.is_array() || (expected != 0 && array.size() != expected)) {
        throw InvariantFailure(error);
    }
    std::vector<std::string> out;
    out.reserve(array.size());
    for (const nlohmann::json& item : array) out.push_back(item.get<std::string>());
    return out;
}

// read(document) for the embedded JSON text; a text or member that does not parse as
// read expects throws InvariantFailure(error).
template <class Read>
auto read_embedded(std::string_view text, const char* error, Read read) {
    try {
        return read(nlohmann::json::parse(text));
    } catch (const nlohmann::json::exception&) {
        throw InvariantFailure(error);
    }
}

}  // namespace zk
