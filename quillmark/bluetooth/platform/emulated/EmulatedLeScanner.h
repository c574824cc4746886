#pragma once
// What an emulated controller hears while it scans LE: every advertiser in range advertises once
// per interval, on a schedule of its own that starts when scanning starts; an active scan also
// hears the scan response of an advertiser that answers scan requests. Legacy scanning hears only
// legacy advertisers; extended scanning hears both.

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "quillmark/bluetooth/platform/emulated/EmulatedLeReports.h"
#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

class TEmulatedLeScanner {
public:
    using TTime = std::chrono::steady_clock::time_point;

    // elapsedSeconds: the radio's time, for presence, signal and address rotation.
    TEmulatedLeScanner(const TScenario& scenario, std::function<std::int64_t()> elapsedSeconds)
        : scenario_(scenario), elapsedSeconds_(std::move(elapsedSeconds)) {}

    void Start(TTime now, bool active, bool extended);
    void Stop() { scanning_ = false; }
    bool Scanning() const { return scanning_; }
    bool Extended() const { return extended_; }
    // When the next advertisement is due; far in the future while not scanning.
    TTime NextDue() const;
    // The advertisements due by now, in the order they were due, each advertiser's schedule moved
    // on past now.
    std::vector<TLeHeard> Due(TTime now);

private:
    void Hear(std::size_t device, std::int64_t seconds, std::vector<TLeHeard>& heard) const;

    const TScenario& scenario_;
    std::function<std::int64_t()> elapsedSeconds_;
    bool scanning_ = false;
    bool active_ = false;
    bool extended_ = false;
    std::vector<TTime> due_;  // per device of the scenario; max() for one that does not advertise
};

}  // namespace qm::bt::emu
