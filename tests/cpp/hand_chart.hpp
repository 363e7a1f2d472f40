// "Moon Leo 5, Jupiter Aries -": the Moon in Leo in house 5, Jupiter in Aries with no house
// ("-" also stands for an unknown sign).
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/records.hpp"

namespace zk::testing {

inline std::vector<PlanetPosition> planets(const std::string& text) {
    std::vector<PlanetPosition> out;
    std::istringstream in(text);
    std::string name, sign, house;
    while (in >> name >> sign >> house) {
        if (house.back() == ',') house.pop_back();
        PlanetPosition& p = out.emplace_back();
        p.planet = planet_from_lower_name(to_lower(name)).value();  // throws on a typo
        if (sign != "-") p.sign = sign_from_lower_name(to_lower(sign));
        if (house != "-") p.house = static_cast<uint8_t>(std::stoi(house));
    }
    return out;
}

}  // namespace zk::testing
