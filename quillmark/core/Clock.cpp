#include "quillmark/core/Clock.h"

#include <chrono>
#include <ctime>

namespace qm {

namespace {

class TSystemClock : public IClock {
public:
    std::int32_t Now() const override { return static_cast<std::int32_t>(std::time(nullptr)); }
    std::int64_t NowMs() const override {
        const auto since = std::chrono::system_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    }
};

}  // namespace

const IClock& SystemClock() {
    static const TSystemClock clock;
    return clock;
}

}  // namespace qm
