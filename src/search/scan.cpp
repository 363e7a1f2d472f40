#include "search/scan.hpp"

namespace zk {

Result<void> InterruptPoll::check() {
    if (pending_ < period_) return {};
    pending_ = 0;
    if (interrupted_ && *interrupted_ && (*interrupted_)()) {
        return std::unexpected(ZodiakitError::interrupted());
    }
    return {};
}

}  // namespace zk
