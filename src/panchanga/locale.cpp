#include "panchanga/locale.hpp"

#include "panchanga/embedded_names.hpp"

namespace zk {
namespace {

using nlohmann::json;

constexpr const char* kParseError = "Failed to parse locale";

std::vector<std::string> string_list(const json& doc, const char* member) {
    return embedded_string_list(doc, member, kParseError);
}

std::map<std::string, std::string> string_map(const json& doc, const char* member) {
    const json& object = doc.at(member);
    if (!object.is_object()) throw InvariantFailure(kParseError);
    std::map<std::string, std::string> out;
    for (const auto& [key, value] : object.items()) out.emplace(key, value.get<std::string>());
    return out;
}

}  // namespace

LocaleData load_locale(std::string_view code) {
    std::string_view text;
    if (code == "ne_NP") {
        text = embedded::locale_ne_NP_json;
    } else if (code == "hi_IN") {
        text = embedded::locale_hi_IN_json;
    } else {
        throw InvariantFailure("Locale not supported");
    }
    return read_embedded(text, kParseError, [](const json& doc) {
        return LocaleData{string_list(doc, "tithi_names"), string_list(doc, "nakshatra_names"),
                          string_list(doc, "month_names"), string_map(doc, "festivals")};
    });
}

const LocaleData* get_locale(std::string_view code) {
    static const std::map<std::string, LocaleData, std::less<>> kLocales = [] {
        std::map<std::string, LocaleData, std::less<>> table;
        for (const char* c : {"ne_NP", "hi_IN"}) table.emplace(c, load_locale(c));
        return table;
    }();
    const auto found = kLocales.find(code);
    return found == kLocales.end() ? nullptr : &found->second;
}

}  // namespace zk
