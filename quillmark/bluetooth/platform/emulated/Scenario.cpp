#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

bool TPresence::At(std::int64_t seconds) const {
    if (seconds < from || seconds >= until) return false;
    if (period <= 0) return true;
    const std::int64_t phase = ((seconds - offset) % period + period) % period;
    return phase < onFor;
}

}  // namespace qm::bt::emu
