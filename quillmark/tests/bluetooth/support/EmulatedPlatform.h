#pragma once
// An emulated radio playing a JSON scenario, and the protocol platform connected to it.

#include <cstdint>
#include <memory>
#include <string_view>

#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"
#include "quillmark/core/Clock.h"

namespace qmtest {

// Limits short enough that tests of silent peers end in a fraction of a second.
inline qm::bt::TProtocolLimits ShortLimits() {
    qm::bt::TProtocolLimits limits;
    limits.commandStatusMs = 200;
    limits.inquiryCompleteMs = 300;
    limits.remoteNameMs = 200;
    limits.sdpConnectMs = 200;
    limits.sdpResponseMs = 200;
    limits.sdpTotalMs = 2000;
    return limits;
}

class TEmulatedPlatform {
public:
    explicit TEmulatedPlatform(std::string_view scenarioJson,
                               const qm::bt::TProtocolLimits& limits = ShortLimits(),
                               const qm::IClock* clock = nullptr)
        : clock_(clock ? clock : &ownClock_),
          radio_(qm::bt::emu::ParseScenario(scenarioJson), [this] { return std::int64_t{clock_->Now()}; }),
          platform_(radio_, limits, *clock_) {}

    qm::bt::TProtocolPlatform& Platform() { return platform_; }
    qm::bt::emu::TEmulatedRadio& Radio() { return radio_; }

private:
    qm::TSettableClock ownClock_{1000};
    const qm::IClock* clock_;
    qm::bt::emu::TEmulatedRadio radio_;
    qm::bt::TProtocolPlatform platform_;
};

}  // namespace qmtest
