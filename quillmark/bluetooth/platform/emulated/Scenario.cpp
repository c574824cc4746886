#include "quillmark/bluetooth/platform/emulated/Scenario.h"

#include <algorithm>

namespace qm::bt::emu {

bool TPresence::At(std::int64_t seconds) const {
    if (seconds < from || seconds >= until) return false;
    if (period <= 0) return true;
    const std::int64_t phase = ((seconds - offset) % period + period) % period;
    return phase < onFor;
}

std::int8_t TSignal::At(std::int64_t seconds, std::int64_t phase) const {
    std::int64_t level = dbm;
    if (period > 0 && swing > 0) {
        // A triangle: from -swing up to +swing over the first half of the period, back down over
        // the second.
        const std::int64_t at = ((seconds + phase) % period + period) % period;
        const std::int64_t rise = at * 2 <= period ? at : period - at;
        level += (rise * 4 * swing) / period - swing;
    }
    return static_cast<std::int8_t>(std::clamp<std::int64_t>(level, -127, 20));
}

}  // namespace qm::bt::emu
