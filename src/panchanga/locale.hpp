// Devanagari names for the panchanga in the "hi_IN" and "ne_NP" locales, as data: the
// lists follow the order of the English tables in panchanga/elements, and only its name
// functions (tithi_name, panchanga_nakshatra_name with a locale) index them. English is
// not a locale: the English names are those the records store. Loading fails only on a
// programming error (InvariantFailure).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

struct LocaleData {
    std::vector<std::string> tithi_names;          // 16, in the order of the English tithi table
    std::vector<std::string> nakshatra_names;      // 27, Ashwini ... Revati
    std::vector<std::string> month_names;          // 12, Baisakh ... Chaitra
    std::map<std::string, std::string> festivals;  // English name -> local name
};

// Parses the embedded document of "hi_IN" or "ne_NP". Any other code, or a document that
// does not have the expected shape, is a programming error (InvariantFailure).
LocaleData load_locale(std::string_view code);

// The locale of an exact code ("hi_IN", not "HI_IN" or "hi"); nullptr when there is none.
// The table is built once, on first use, and is read-only afterwards.
const LocaleData* get_locale(std::string_view code);

}  // namespace zk
