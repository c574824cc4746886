#pragma once
// An inventory on a settable clock, fed by the emulated radio through the real protocol code, and
// recording stand-ins for the discovery thread's services and for the main window.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../../bluetooth/support/EmulatedPlatform.h"
#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/BluetoothInquiryPass.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/FoundSound.h"
#include "quillmark/core/HandOffQueue.h"
#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/MainThreadBridge.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/SightingSink.h"
#include "quillmark/core/ThreadSleep.h"

namespace qmtest {

inline constexpr std::int32_t kStartTime = 1'700'000'000;

// The batches of sightings a pass hands over, kept.
class TCollectingSink : public qm::ISightingSink {
public:
    void SightingsRecorded(std::vector<qm::TRecordedSighting> batch) override { batches.push_back(std::move(batch)); }
    std::vector<std::vector<qm::TRecordedSighting>> batches;
};

class TInventory {
public:
    explicit TInventory(std::string_view scenarioJson)
        : clock(kStartTime),
          session(clock),
          emulated(scenarioJson, ShortLimits(), &clock),
          pass(emulated.Platform(), session, &sink) {}

    // Runs f on the record of the address under the list's lock; false when there is none.
    bool WithDevice(const std::string& address, const std::function<void(qm::TBTDevice&)>& f) {
        qm::TDeviceListLock lock(session.DeviceList());
        qm::TBTDevice* device = lock->FindDevice(address);
        if (device) f(*device);
        return device != nullptr;
    }
    const std::vector<std::string>& ScenarioRecords(std::size_t device) {
        return emulated.Radio().Scenario().devices.at(device).records;
    }

    qm::TSettableClock clock;
    qm::TSessionState session;
    TEmulatedPlatform emulated;
    TCollectingSink sink;
    qm::TBluetoothInquiryPass pass;
};

// The thread's services as one pass sees them, recorded.
class TRecordedServices : public qm::IDiscoveryServices {
public:
    bool IsTerminated() const override { return ++checks > terminateAfterChecks; }
    void ThreadLog(const std::string& message) override { log.push_back(message); }
    void NewDeviceFound() override { ++newDevices; }

    int terminateAfterChecks = 1 << 30;
    mutable int checks = 0;
    std::vector<std::string> log;
    int newDevices = 0;
};

// The main window's side: hand-offs served by the test's thread through a queue.
class TRecordingBridge : public qm::IMainThreadBridge {
public:
    explicit TRecordingBridge(qm::TSessionState& session) : session_(session) {}

    void Synchronize(const std::function<void()>& work) override { queue.Synchronize(work); }
    void PostListChanged(int parameter) override {
        queue.Post([this, parameter] { listChanged.push_back(parameter); });
    }
    void Post(std::function<void()> work) override { queue.Post(std::move(work)); }
    void DiscoveryEnded() override { queue.Wake(); }
    void ServeUntil(const std::function<bool()>& done) override { queue.ServeUntil(done); }
    void AddLogLine(const std::string& text) override {
        if (failLogLines) throw qm::TError("Unable to create file: /nowhere/Quillmark.dat");
        session_.Log().push_front(text);
        log.push_back(text);
    }
    void StartScanIndicator() override { ++scanIndicators; }

    qm::THandOffQueue queue;
    std::vector<std::string> log;
    std::vector<int> listChanged;
    int scanIndicators = 0;
    bool failLogLines = false;

private:
    qm::TSessionState& session_;
};

class TRecordingSound : public qm::IFoundSound {
public:
    void Play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

// Sleeps by advancing the clock; calls onPause after each sleep, on the discovery thread.
class TClockSleep : public qm::IThreadSleep {
public:
    explicit TClockSleep(qm::TSettableClock& clock) : clock_(clock) {}
    void Sleep(int milliseconds) override {
        sleeps.push_back(milliseconds);
        clock_.Advance(milliseconds / 1000);
        if (onPause) onPause(milliseconds);
    }
    std::vector<int> sleeps;
    std::function<void(int)> onPause;

private:
    qm::TSettableClock& clock_;
};

// A pass that hands a log line over and so waits for the main thread to serve it.
class TLoggingPass : public qm::IInquiryPass {
public:
    bool Perform(qm::IDiscoveryServices& thread) override {
        started.store(true);
        thread.ThreadLog("pass");
        return true;
    }
    std::atomic<bool> started{false};
};

}  // namespace qmtest
