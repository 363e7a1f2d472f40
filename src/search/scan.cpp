#include "search/scan.hpp"

#include "ephemeris/ephemeris.hpp"

namespace zk {

Result<void> InterruptPoll::check() {
    if (pending_ < period_) return {};
    pending_ = 0;
    if (!interrupted_ || !*interrupted_) return {};
    // The caller's check may run code (a signal handler) that computes with another
    // ayanamsa on this thread; the scan goes on in its own.
    const AyanamsaMode mode = ephemeris::selected_sidereal_mode();
    const bool stop = (*interrupted_)();
    ephemeris::select_sidereal_mode(mode);
    if (stop) return std::unexpected(ZodiakitError::interrupted());
    return {};
}

}  // namespace zk
