// Names of the lunar calendar: lunar months (masa), the sixty years of the cycle
// (samvatsara), seasons (ritu), the Sun's two halves of the year (ayana) and the signs as
// the panchanga names them (rashi). English names live here and are what the records store;
// Hindi ("hi_IN") and Nepali ("ne_NP") names come from embedded documents, as the tithi
// names do. Every number is 1-based; a number outside its table is a programming error
// (InvariantFailure).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

std::string_view masa_name(uint32_t masa);              // 1 Chaitra ... 12 Phalguna
std::string_view samvatsara_name(uint32_t samvatsara);  // 1 Prabhava ... 60 Akshaya
std::string_view ritu_name(uint32_t ritu);              // 1 Vasanta ... 6 Shishira
std::string_view ayana_name(uint32_t ayana);            // 1 Uttarayana, 2 Dakshinayana
std::string_view rashi_name(uint32_t sign);             // 1 Mesha ... 12 Meena

struct CalendarNames {
    std::vector<std::string> masa_names;        // 12
    std::vector<std::string> samvatsara_names;  // 60
    std::vector<std::string> ritu_names;        // 6
    std::vector<std::string> ayana_names;       // 2
    std::vector<std::string> rashi_names;       // 12
    std::string adhika;                         // the word for a leap month
    std::string kshaya;                         // the word for a lost month
};

// The names of an exact locale code ("hi_IN", "ne_NP"); nullptr for any other code,
// English included. Built once, on first use; a malformed embedded document is a
// programming error (InvariantFailure).
const CalendarNames* get_calendar_names(std::string_view code);

}  // namespace zk
