#include "quillmark/core/Clock.h"

#include <ctime>

namespace qm {

namespace {

class TSystemClock : public IClock {
public:
    std::int32_t Now() const override { return static_cast<std::int32_t>(std::time(nullptr)); }
};

}  // namespace

const IClock& SystemClock() {
    static const TSystemClock clock;
    return clock;
}

}  // namespace qm
