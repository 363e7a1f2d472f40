// Vimshottari dasha: nine maha dashas from the Moon's nakshatra, three levels deep.
#pragma once

#include <vector>

#include "core/records.hpp"

namespace zk {

std::vector<DashaPeriod> compute_vimshottari(double moon_longitude, const UtcDateTime& birth);

}  // namespace zk
