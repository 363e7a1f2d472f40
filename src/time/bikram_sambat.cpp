#include "time/bikram_sambat.hpp"

#include <charconv>
#include <nlohmann/json.hpp>
#include <string>

namespace zk::embedded {
extern const std::string_view bs_calendar_json;
}

namespace zk {
namespace {

constexpr int32_t kFirstYear = 2000;
constexpr int32_t kLastYear = 2100;
constexpr CivilDate kEpoch{1943, 4, 14};  // BS 2000 Baisakh 1

// A signed decimal year: optional sign, then digits only, within 32 bits.
std::optional<int32_t> parse_year_key(std::string_view key) {
    std::string_view digits = key;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    // from_chars takes a minus sign but not a plus.
    if (key.front() == '+') key.remove_prefix(1);
    int32_t year = 0;
    const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), year);
    if (ec != std::errc() || end != key.data() + key.size()) return std::nullopt;
    return year;
}

}  // namespace

std::optional<CalendarData> parse_calendar_data(std::string_view json_text) {
    const nlohmann::json doc = nlohmann::json::parse(json_text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) return std::nullopt;
    CalendarData data;
    for (const auto& [key, value] : doc.items()) {
        const auto year = parse_year_key(key);
        if (!year || !value.is_array()) continue;
        std::vector<uint32_t> months;
        for (const nlohmann::json& length : value) {
            if (length.is_number_unsigned() && length.get<uint64_t>() <= UINT32_MAX) {
                months.push_back(length.get<uint32_t>());
            }
        }
        if (months.size() == 12) data[*year] = std::move(months);
    }
    return data;
}

const CalendarData& calendar_data() {
    // The table is built into the module, so a parse failure is a build defect.
    static const CalendarData data = [] {
        auto parsed = parse_calendar_data(embedded::bs_calendar_json);
        if (!parsed) throw InvariantFailure("Failed to parse calendar data");
        return std::move(*parsed);
    }();
    return data;
}

Result<CivilDate> bs_to_gregorian(int32_t bs_year, uint32_t bs_month, uint32_t bs_day) {
    const CalendarData& data = calendar_data();
    if (bs_year < kFirstYear || bs_year > kLastYear || bs_month < 1 || bs_month > 12 ||
        bs_day < 1) {
        return std::unexpected(ZodiakitError::date_time());
    }
    int64_t days = 0;
    for (int32_t year = kFirstYear; year <= bs_year; ++year) {
        const auto found = data.find(year);
        if (found == data.end()) return std::unexpected(ZodiakitError::date_time());
        const uint32_t months = year < bs_year ? 12 : bs_month - 1;
        for (uint32_t m = 0; m < months; ++m) days += found->second[m];
        // A day past the month's end is a mistyped date, not the next month's first days.
        if (year == bs_year && bs_day > found->second[bs_month - 1]) {
            return std::unexpected(ZodiakitError::date_time());
        }
    }
    days += bs_day - 1;
    int64_t year;
    CivilDate date{};
    civil_from_days(days_from_civil(kEpoch.year, kEpoch.month, kEpoch.day) + days, year, date.month,
                    date.day);
    if (!is_valid_date(year, date.month, date.day)) {
        return std::unexpected(ZodiakitError::date_time());
    }
    date.year = year;
    return date;
}

}  // namespace zk
