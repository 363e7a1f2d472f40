#include "panchanga/calendar_names.hpp"

#include <array>
#include <map>

#include "core/error.hpp"
#include "panchanga/embedded_names.hpp"

namespace zk {
namespace {

constexpr std::array<std::string_view, 12> kMasaNames = {
    "Chaitra", "Vaishakha", "Jyeshtha",     "Ashadha", "Shravana", "Bhadrapada",
    "Ashwin",  "Kartika",   "Margashirsha", "Pausha",  "Magha",    "Phalguna"};

// The sixty years in cycle order; Prabhava, the first, began in Shaka 1909 (1987 CE).
constexpr std::array<std::string_view, 60> kSamvatsaraNames = {
    "Prabhava",   "Vibhava",   "Shukla",       "Pramoda",     "Prajapati",  "Angirasa",
    "Shrimukha",  "Bhava",     "Yuva",         "Dhatri",      "Ishvara",    "Bahudhanya",
    "Pramathi",   "Vikrama",   "Vrisha",       "Chitrabhanu", "Svabhanu",   "Tarana",
    "Parthiva",   "Vyaya",     "Sarvajit",     "Sarvadhari",  "Virodhi",    "Vikriti",
    "Khara",      "Nandana",   "Vijaya",       "Jaya",        "Manmatha",   "Durmukhi",
    "Hevilambi",  "Vilambi",   "Vikari",       "Sharvari",    "Plava",      "Shubhakrit",
    "Shobhakrit", "Krodhi",    "Vishvavasu",   "Parabhava",   "Plavanga",   "Kilaka",
    "Saumya",     "Sadharana", "Virodhikrit",  "Paridhavi",   "Pramadi",    "Ananda",
    "Rakshasa",   "Nala",      "Pingala",      "Kalayukti",   "Siddharthi", "Raudra",
    "Durmati",    "Dundubhi",  "Rudhirodgari", "Raktakshi",   "Krodhana",   "Akshaya"};

constexpr std::array<std::string_view, 6> kRituNames = {"Vasanta", "Grishma", "Varsha",
                                                        "Sharad",  "Hemanta", "Shishira"};

constexpr std::array<std::string_view, 2> kAyanaNames = {"Uttarayana", "Dakshinayana"};

constexpr std::array<std::string_view, 12> kRashiNames = {
    "Mesha", "Vrishabha",  "Mithuna", "Karka",  "Simha",  "Kanya",
    "Tula",  "Vrishchika", "Dhanu",   "Makara", "Kumbha", "Meena"};

template <size_t N>
std::string_view name_in(const std::array<std::string_view, N>& table, uint32_t number,
                         const char* what) {
    if (number < 1 || number > N) {
        throw InvariantFailure(std::string(what) +
                               " number out of range: " + std::to_string(number));
    }
    return table[number - 1];
}

using nlohmann::json;

constexpr const char* kParseError = "Failed to parse calendar names";

std::vector<std::string> name_list(const json& doc, const char* member, size_t expected) {
    return embedded_string_list(doc, member, kParseError, expected);
}

CalendarNames parse_names(std::string_view text) {
    return read_embedded(text, kParseError, [](const json& doc) {
        return CalendarNames{
            name_list(doc, "masa_names", 12),   name_list(doc, "samvatsara_names", 60),
            name_list(doc, "ritu_names", 6),    name_list(doc, "ayana_names", 2),
            name_list(doc, "rashi_names", 12),  doc.at("adhika").get<std::string>(),
            doc.at("kshaya").get<std::string>()};
    });
}

}  // namespace

std::string_view masa_name(uint32_t masa) {
    return name_in(kMasaNames, masa, "masa");
}

std::string_view samvatsara_name(uint32_t samvatsara) {
    return name_in(kSamvatsaraNames, samvatsara, "samvatsara");
}

std::string_view ritu_name(uint32_t ritu) {
    return name_in(kRituNames, ritu, "ritu");
}

std::string_view ayana_name(uint32_t ayana) {
    return name_in(kAyanaNames, ayana, "ayana");
}

std::string_view rashi_name(uint32_t sign) {
    return name_in(kRashiNames, sign, "rashi");
}

const CalendarNames* get_calendar_names(std::string_view code) {
    static const std::map<std::string, CalendarNames, std::less<>> kNames = [] {
        std::map<std::string, CalendarNames, std::less<>> table;
        table.emplace("hi_IN", parse_names(embedded::calendar_hi_IN_json));
        table.emplace("ne_NP", parse_names(embedded::calendar_ne_NP_json));
        return table;
    }();
    const auto found = kNames.find(code);
    return found == kNames.end() ? nullptr : &found->second;
}

}  // namespace zk
