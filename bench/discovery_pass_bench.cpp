// One inquiry pass over an emulated radio with 1,000 devices in range, five SDP records each, all
// answering at once: every device is new, so each is recorded, announced and queried over SDP.
// The figure per device includes the emulated controller and SDP servers, which run in this process.
// BM_DiscoveryPassWithHistory runs the same pass handing its sightings to the SQLite history store
// (in a temporary directory), whose writer thread works beside it: the pass time should not change.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "quillmark/bluetooth/BluetoothInquiryPass.h"
#include "quillmark/bluetooth/platform/ProtocolPlatform.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/SdpElementWriter.h"
#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/history/SqliteHistoryStore.h"

namespace {

using namespace qm::bt::emu;

constexpr int kDevices = 1000;
constexpr int kRecordsPerDevice = 5;

std::string Record(std::uint32_t handle, std::uint16_t serviceClass, std::uint8_t channel) {
    return SdpSequence({SdpUint(2, 0x0000), SdpUint(4, handle), SdpUint(2, 0x0001),
                        SdpSequence({SdpUuid16(serviceClass)}), SdpUint(2, 0x0004),
                        SdpSequence({SdpSequence({SdpUuid16(0x0100)}),
                                     SdpSequence({SdpUuid16(0x0003), SdpUint(1, channel)})}),
                        SdpUint(2, 0x0005), SdpSequence({SdpUuid16(0x1002)}), SdpUint(2, 0x0100),
                        SdpText("Service " + std::to_string(channel))});
}

TScenario CrowdedScenario() {
    TScenario scenario;
    scenario.sdpMtu = 672;
    for (int i = 0; i < kDevices; ++i) {
        TEmulatedDevice device;
        device.address.bytes = {
            0x00, 0x1A, 0x7D, 0x00, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        device.name = "Device " + std::to_string(i);
        device.classOfDevice = 0x5A020C;
        device.format = static_cast<TResultFormat>(i % 4);
        for (int r = 0; r < kRecordsPerDevice; ++r)
            device.records.push_back(Record(0x10000 + r, static_cast<std::uint16_t>(0x1101 + r),
                                            static_cast<std::uint8_t>(r + 1)));
        scenario.devices.push_back(std::move(device));
    }
    return scenario;
}

class TQuietThread : public qm::IDiscoveryServices {
public:
    bool IsTerminated() const override { return false; }
    void ThreadLog(const std::string&) override {}
    void NewDeviceFound() override {}
};

void RunPasses(benchmark::State& state, qm::ISightingSink* sink) {
    TEmulatedRadio radio(CrowdedScenario());
    qm::bt::TProtocolPlatform platform(radio);
    TQuietThread thread;
    for (auto _ : state) {
        qm::TSessionState session;
        qm::BTPerformDiscovery(platform, session, thread, sink);
        if (session.DeviceList().Count() != kDevices) state.SkipWithError("not every device was recorded");
    }
    state.counters["per_device"] = benchmark::Counter(
        kDevices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DiscoveryPass(benchmark::State& state) {
    RunPasses(state, nullptr);
}

void BM_DiscoveryPassWithHistory(benchmark::State& state) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("qm-pass-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    {
        auto store = std::make_unique<qm::TSqliteHistoryStore>((directory / "Quillmark.sqlite").string(),
                                                               [](const std::string&) {});
        RunPasses(state, store.get());
    }
    std::filesystem::remove_all(directory);
}

BENCHMARK(BM_DiscoveryPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DiscoveryPassWithHistory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
