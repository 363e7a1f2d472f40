// Eight-fold kuta (ashtakoota) matching of two charts' Moons, out of 36 points. Reads only
// each Moon's sign and nakshatra; never fails.
#pragma once

#include "core/records.hpp"

namespace zk {

struct KutaResult {
    double varna = 0.0;         // of 1
    double vasya = 0.0;         // of 2
    double tara = 0.0;          // of 3
    double yoni = 0.0;          // of 4
    double graha_maitri = 0.0;  // of 5
    double gana = 0.0;          // of 6
    double bhakut = 0.0;        // of 7
    double nadi = 0.0;          // of 8
    double total_score = 0.0;
    double max_score = 36.0;
    bool is_compatible = false;  // total_score >= 18
};

// Scores `self` against `other` from each chart's first Moon record (its sign and
// nakshatra). Not symmetric: varna and gana rank self against other. A chart without a
// Moon scores zero everywhere.
KutaResult match_kuta(const Chart& self, const Chart& other);

}  // namespace zk
