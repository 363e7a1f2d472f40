#include "chart/yoga_engine.hpp"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/dignity.hpp"

namespace zk {

namespace {

// Each planet forms its yoga in a kendra, in one of its own signs or its exaltation.
struct MahapurushaRow {
    Planet planet;
    std::string_view name;
    std::string_view description;
};

constexpr std::string_view kRuchakaDesc =
    "BPHS Ch. 75, v. 1: Mars in own sign (Aries/Scorpio) or exaltation (Capricorn) in a "
    "Kendra. Native is courageous, muscular, and victorious.";
constexpr std::string_view kBhadraDesc =
    "BPHS Ch. 75, v. 2: Mercury in own sign (Gemini/Virgo) or exaltation (Virgo) in a Kendra. "
    "Native is learned, eloquent, and prosperous.";
constexpr std::string_view kHamsaDesc =
    "BPHS Ch. 75, v. 3: Jupiter in own sign (Sagittarius/Pisces) or exaltation (Cancer) in a "
    "Kendra. Native is virtuous, spiritually inclined, and respected.";
constexpr std::string_view kMalavyaDesc =
    "BPHS Ch. 75, v. 4: Venus in own sign (Taurus/Libra) or exaltation (Pisces) in a Kendra. "
    "Native is beautiful, wealthy, and blessed with pleasures.";
constexpr std::string_view kShashaDesc =
    "BPHS Ch. 75, v. 5: Saturn in own sign (Capricorn/Aquarius) or exaltation (Libra) in a "
    "Kendra. Native is powerful, disciplined, and long-lived.";

constexpr std::array<MahapurushaRow, 5> kMahapurusha = {{
    {Planet::Mars, "Ruchaka Yoga", kRuchakaDesc},
    {Planet::Mercury, "Bhadra Yoga", kBhadraDesc},
    {Planet::Jupiter, "Hamsa Yoga", kHamsaDesc},
    {Planet::Venus, "Malavya Yoga", kMalavyaDesc},
    {Planet::Saturn, "Shasha Yoga", kShashaDesc},
}};

constexpr std::string_view kGajakesariDesc =
    "BPHS Ch. 91, v. 1: Jupiter in a Kendra (1st, 4th, 7th, or 10th) from the Moon. The native "
    "is intelligent, virtuous, renowned, and long-lived.";
constexpr std::string_view kBudhadityaDesc =
    "BPHS Ch. 91, v. 17: Sun and Mercury conjunct in the same sign. The native is intelligent, "
    "skilled in multiple arts, and occupationally successful.";
constexpr std::string_view kChandraMangalaDesc =
    "BPHS Ch. 91, v. 21: Moon and Mars are conjunct or in mutual aspect. The native earns "
    "wealth through varied means and may be involved in trade or commerce.";
constexpr std::string_view kVesiDesc =
    "BPHS Ch. 91, v. 10: Planets (other than Moon) in the 2nd from Sun. The native is truthful, "
    "fortunate, happy, and has a long life.";
constexpr std::string_view kVosiDesc =
    "BPHS Ch. 91, v. 11: Planets (other than Moon) in the 12th from Sun. The native is "
    "scholarly, wise, virtuous, and diligent.";
constexpr std::string_view kUbhayachariDesc =
    "BPHS Ch. 91, v. 12: Planets (other than Moon) in both 2nd and 12th from Sun. The native is "
    "king-like, powerful, eloquent, and commands great respect.";
constexpr std::string_view kNeechabhangaDesc =
    "BPHS Ch. 34, v. 2\u20134: A debilitated planet's debilitation is cancelled because its "
    "dispositor (lord of debilitation sign) or exaltation lord is in a Kendra. The initial "
    "weakness transforms into a source of strength.";
constexpr std::string_view kDharmaKarmadhipatiDesc =
    "BPHS Ch. 41, v. 1\u20132: Lords of the 9th and 10th houses are conjunct, in mutual aspect, "
    "or exchange signs. This is among the most powerful Raja Yogas \u2014 the native achieves "
    "great success, authority, and fulfills life purpose.";

// The one way a record is made: only present yogas are ever recorded.
YogaResult present(std::string_view name, std::string_view category, std::string_view description,
                   std::vector<Planet> planets) {
    return YogaResult{std::string(name), std::string(category), std::string(description),
                      std::move(planets), true};
}

bool same_sign(const PlanetPosition& a, const PlanetPosition& b) {
    return a.sign && b.sign && *a.sign == *b.sign;
}

class Detector {
  public:
    explicit Detector(const std::vector<PlanetPosition>& planets) : planets_(planets) {}

    const PlanetPosition* find(Planet p) const { return find_planet(planets_, p); }
    const PlanetPosition* housed(Planet p) const {
        const PlanetPosition* rec = find(p);
        return rec && rec->house ? rec : nullptr;
    }

    void mahapurusha() {
        for (const MahapurushaRow& row : kMahapurusha) {
            const PlanetPosition* p = find(row.planet);
            if (!in_kendra(p) || !p->sign) continue;
            if (is_own_or_exalted(row.planet, *p->sign)) {
                add(row.name, "Mahapurusha", row.description, {row.planet});
            }
        }
    }

    void gajakesari() {
        const PlanetPosition* moon = housed(Planet::Moon);
        const PlanetPosition* jupiter = housed(Planet::Jupiter);
        if (!moon || !jupiter || !is_kendra(houses_from(*jupiter->house, *moon->house))) return;
        add("Gajakesari Yoga", "Raja", kGajakesariDesc, {Planet::Moon, Planet::Jupiter});
    }

    void budhaditya() {
        const PlanetPosition* sun = find(Planet::Sun);
        const PlanetPosition* mercury = find(Planet::Mercury);
        if (!sun || !mercury || !same_sign(*sun, *mercury)) return;
        add("Budhaditya Yoga", "Other", kBudhadityaDesc, {Planet::Sun, Planet::Mercury});
    }

    void chandra_mangala() {
        const PlanetPosition* moon = housed(Planet::Moon);
        const PlanetPosition* mars = housed(Planet::Mars);
        if (!moon || !mars) return;
        const unsigned from_moon = houses_from(*mars->house, *moon->house);
        if (from_moon == 1 || from_moon == 4 || from_moon == 7 || from_moon == 8 ||
            same_sign(*moon, *mars)) {
            add("Chandra-Mangala Yoga", "Dhana", kChandraMangalaDesc, {Planet::Moon, Planet::Mars});
        }
    }

    // Vesi, Vosi and Ubhayachari: planets other than the luminaries around the Sun.
    void solar() {
        const PlanetPosition* sun = housed(Planet::Sun);
        if (!sun) return;
        const uint8_t second = nth_house_from(*sun->house, 2);
        const uint8_t twelfth = nth_house_from(*sun->house, 12);
        std::vector<Planet> in_second{Planet::Sun}, in_twelfth{Planet::Sun}, either{Planet::Sun};
        for (const PlanetPosition& p : planets_) {
            if (p.planet == Planet::Sun || p.planet == Planet::Moon || !p.house) continue;
            if (*p.house != second && *p.house != twelfth) continue;
            (*p.house == second ? in_second : in_twelfth).push_back(p.planet);
            if (std::find(either.begin(), either.end(), p.planet) == either.end()) {
                either.push_back(p.planet);
            }
        }
        const bool vesi = in_second.size() > 1, vosi = in_twelfth.size() > 1;
        if (vesi) add("Vesi Yoga", "Other", kVesiDesc, std::move(in_second));
        if (vosi) add("Vosi Yoga", "Other", kVosiDesc, std::move(in_twelfth));
        if (vesi && vosi) add("Ubhayachari Yoga", "Raja", kUbhayachariDesc, std::move(either));
    }

    void neechabhanga() {
        for (Planet planet : kClassicalPlanets) {
            const DignityRow& row = *dignity_row(planet);
            const PlanetPosition* p = find(planet);
            if (!p || p->sign != row.debilitation) continue;
            if (in_kendra(find(sign_lord(row.debilitation))) ||
                in_kendra(find(sign_lord(row.exaltation)))) {
                add("Neechabhanga Raja Yoga", "Raja", kNeechabhangaDesc, {planet});
            }
        }
    }

    void dharma_karmadhipati(double ascendant) {
        // The stored longitude is used as is; out-of-range values saturate like any
        // double-to-integer conversion, then wrap into a sign.
        const Sign rising = sign_from_number(std::min(sign_index(ascendant), 255u) % 12u + 1);
        const Sign ninth = nth_sign_from(rising, 9);
        const Sign tenth = nth_sign_from(rising, 10);
        const Planet l9 = sign_lord(ninth), l10 = sign_lord(tenth);
        if (l9 == l10) return;
        const PlanetPosition* p9 = housed(l9);
        const PlanetPosition* p10 = housed(l10);
        if (!p9 || !p10) return;
        const bool exchange = p9->sign == tenth && p10->sign == ninth;
        if (same_sign(*p9, *p10) || houses_from(*p9->house, *p10->house) == 7 || exchange) {
            add("Dharma-Karmadhipati Yoga", "Raja", kDharmaKarmadhipatiDesc, {l9, l10});
        }
    }

    std::vector<YogaResult> take() { return std::move(found_); }

  private:
    void add(std::string_view name, std::string_view category, std::string_view description,
             std::vector<Planet> planets) {
        found_.push_back(present(name, category, description, std::move(planets)));
    }

    const std::vector<PlanetPosition>& planets_;
    std::vector<YogaResult> found_;
};

}  // namespace

std::vector<YogaResult> detect_yogas(const std::vector<PlanetPosition>& planets, double ascendant) {
    Detector d(planets);
    d.mahapurusha();
    d.gajakesari();
    d.budhaditya();
    d.chandra_mangala();
    d.solar();
    d.neechabhanga();
    d.dharma_karmadhipati(ascendant);
    return d.take();
}

}  // namespace zk
