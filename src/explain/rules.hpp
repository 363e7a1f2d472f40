// The explainable yoga rules. Each rule inspects a chart and, when its condition holds,
// returns a proof graph naming the rule and the facts that make it hold.
//
// Facts come only from the chart's planet list (first record of a planet), its house
// cusps (the lord of a house rules the sign of its cusp) and its aspect list. A missing
// fact makes a rule not hold; no rule reports an error.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.hpp"
#include "explain/graph.hpp"

namespace zk {

class AstroRule {
  public:
    virtual ~AstroRule() = default;
    virtual std::string_view name() const = 0;
    virtual std::string_view description() const = 0;
    // The proof graph when the rule holds, nothing otherwise. Never changes the chart.
    virtual std::optional<Graph> evaluate(const Chart& chart) const = 0;
};

// A rule whose name and description are constants.
template <const char* Name, const char* Description>
class FixedRule : public AstroRule {
  public:
    std::string_view name() const final { return Name; }
    std::string_view description() const final { return Description; }
};

namespace rule_text {
inline constexpr char kGajaKesari[] = "Gaja Kesari Yoga";
inline constexpr char kGajaKesariDesc[] =
    "Jupiter in a kendra from the Moon gives wisdom and prosperity.";
inline constexpr char kDharmaKarmadhipati[] = "Dharma Karmadhipati Yoga";
inline constexpr char kDharmaKarmadhipatiDesc[] =
    "Relationship between 9th and 10th lords gives great success and authority.";
inline constexpr char kBudhaAditya[] = "Budha Aditya Yoga";
inline constexpr char kBudhaAdityaDesc[] =
    "Sun and Mercury conjunction gives intelligence and communication skills.";
inline constexpr char kLakshmi[] = "Lakshmi Yoga";
inline constexpr char kLakshmiDesc[] =
    "Strong 9th lord or its relation with Venus gives wealth and grace.";
inline constexpr char kSunapha[] = "Sunapha Yoga";
inline constexpr char kSunaphaDesc[] = "Planets in 2nd from Moon indicate self-acquired wealth.";
inline constexpr char kAnapha[] = "Anapha Yoga";
inline constexpr char kAnaphaDesc[] = "Planets in 12th from Moon indicate spirituality or luxury.";
inline constexpr char kVeshi[] = "Veshi Yoga";
inline constexpr char kVeshiDesc[] = "Planets in 2nd from Sun give good name and fame.";
inline constexpr char kVoshi[] = "Voshi Yoga";
inline constexpr char kVoshiDesc[] = "Planets in 12th from Sun give learning and knowledge.";
inline constexpr char kAmala[] = "Amala Yoga";
inline constexpr char kAmalaDesc[] = "Benefic in 10th house gives pure character and success.";
inline constexpr char kDhana[] = "Dhana Yoga";
inline constexpr char kDhanaDesc[] =
    "Relationship between wealth lords (2H and 11H) indicates great riches.";
inline constexpr char kSaraswati[] = "Saraswati Yoga";
inline constexpr char kSaraswatiDesc[] =
    "Jupiter, Venus, and Mercury strong in auspicious houses give learning.";
inline constexpr char kKemadruma[] = "Kemadruma Yoga";
inline constexpr char kKemadrumaDesc[] =
    "Moon with no planets in 2nd or 12th from it indicates struggle and isolation.";
}  // namespace rule_text

// Jupiter in the 1st, 4th, 7th or 10th house from the Moon's house.
class GajaKesariYoga final : public FixedRule<rule_text::kGajaKesari, rule_text::kGajaKesariDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// Lords of houses 9 and 10 in the same house, or in mutual aspect.
class DharmaKarmadhipatiYoga final
    : public FixedRule<rule_text::kDharmaKarmadhipati, rule_text::kDharmaKarmadhipatiDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// Sun and Mercury in the same house.
class BudhaAdityaYoga final
    : public FixedRule<rule_text::kBudhaAditya, rule_text::kBudhaAdityaDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// The 9th lord in a kendra and in an own or exalted sign.
class LakshmiYoga final : public FixedRule<rule_text::kLakshmi, rule_text::kLakshmiDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// One of Mars ... Saturn in the 2nd house from the Moon.
class SunaphaYoga final : public FixedRule<rule_text::kSunapha, rule_text::kSunaphaDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// One of Mars ... Saturn in the 12th house from the Moon.
class AnaphaYoga final : public FixedRule<rule_text::kAnapha, rule_text::kAnaphaDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// One of Mars ... Saturn in the 2nd house from the Sun.
class VeshiYoga final : public FixedRule<rule_text::kVeshi, rule_text::kVeshiDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// One of Mars ... Saturn in the 12th house from the Sun.
class VoshiYoga final : public FixedRule<rule_text::kVoshi, rule_text::kVoshiDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// Mercury, Jupiter or Venus in house 10, or else in the 10th from the Moon.
class AmalaYoga final : public FixedRule<rule_text::kAmala, rule_text::kAmalaDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// Lords of houses 2 and 11 in the same house, or in mutual aspect.
class DhanaYoga final : public FixedRule<rule_text::kDhana, rule_text::kDhanaDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// Jupiter, Venus and Mercury all in houses 1, 4, 5, 7, 9 or 10 and in own or exalted signs.
class SaraswatiYoga final : public FixedRule<rule_text::kSaraswati, rule_text::kSaraswatiDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// None of Mars ... Saturn in the Moon's house or the 2nd or 12th from it.
class KemadrumaYoga final : public FixedRule<rule_text::kKemadruma, rule_text::kKemadrumaDesc> {
  public:
    std::optional<Graph> evaluate(const Chart& chart) const override;
};

// One planet in a kendra and in an own or exalted sign; instantiated once per planet.
class PanchaMahapurushaYoga final : public AstroRule {
  public:
    PanchaMahapurushaYoga(std::string name, std::string description, Planet planet)
        : name_(std::move(name)), description_(std::move(description)), planet_(planet) {}

    std::string_view name() const override { return name_; }
    std::string_view description() const override { return description_; }
    std::optional<Graph> evaluate(const Chart& chart) const override;

  private:
    std::string name_;
    std::string description_;
    Planet planet_;
};

// The seventeen rules in the order in which they are evaluated and their graphs merged.
std::vector<std::unique_ptr<AstroRule>> make_rule_catalogue();

}  // namespace zk
