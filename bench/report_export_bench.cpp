// Exporting the reference session: 10,000 devices with five SDP records each, as CSV, JSON and
// HTML. Each figure is the whole report in memory: the devices copied under the device list's
// lock, their rows (vendor lookups, service names and SDP listings) and the text of the format.
//
//   Export/<format>     collect and render
//   VendorRegistryLoad  reading ieee-data's registry into its table on the first lookup
//
// Goal: each export well under a second.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "quillmark/bluetooth/platform/emulated/SdpElementWriter.h"
#include "quillmark/core/ReportFormat.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/VendorRegistry.h"

namespace {

using namespace qm::bt::emu;

constexpr int kDevices = 10000;
constexpr int kRecordsPerDevice = 5;

// A record of about 250 bytes: handle, class, protocols, browse group, language base, profile,
// name and description.
std::string Record(int device, int record) {
    return SdpSequence(
        {SdpUint(2, 0x0000),
         SdpUint(4, static_cast<std::uint64_t>(device) << 8 | static_cast<unsigned>(record)),
         SdpUint(2, 0x0001), SdpSequence({SdpUuid16(0x1101)}), SdpUint(2, 0x0004),
         SdpSequence({SdpSequence({SdpUuid16(0x0100)}),
                      SdpSequence({SdpUuid16(0x0003), SdpUint(1, static_cast<std::uint64_t>(record + 1))})}),
         SdpUint(2, 0x0005), SdpSequence({SdpUuid16(0x1002)}), SdpUint(2, 0x0006),
         SdpSequence({SdpUint(2, 0x656E), SdpUint(2, 0x006A), SdpUint(2, 0x0100)}), SdpUint(2, 0x0009),
         SdpSequence({SdpSequence({SdpUuid16(0x1101), SdpUint(2, 0x0102)})}), SdpUint(2, 0x0100),
         SdpText("Serial Port " + std::to_string(record)), SdpUint(2, 0x0101),
         SdpText(std::string(120, 'd'))});
}

std::unique_ptr<qm::TSessionState> ReferenceSession() {
    auto session = std::make_unique<qm::TSessionState>();
    for (int i = 0; i < kDevices; ++i) {
        qm::TBTDevice& device = session->DeviceList().Add();
        char address[32];
        std::snprintf(address, sizeof address, "(%02X:1B:DC:%02X:%02X:%02X)", (i % 4) * 4, i >> 16,
                      (i >> 8) & 0xFF, i & 0xFF);
        device.SetAddress(address);
        device.SetName("Device " + std::to_string(i));
        device.SetMajorClass(2);
        device.SetMinorClass(3);
        device.SetLastSeen(1700000000 + i);
        device.SetSeenCount(i % 50 + 1);
        device.SetLocation("Office");
        for (int r = 0; r < kRecordsPerDevice; ++r) device.RawSDPRecords().push_back(Record(i, r));
    }
    return session;
}

qm::TSessionState& Reference() {
    static const std::unique_ptr<qm::TSessionState> session = ReferenceSession();
    return *session;
}

void Export(benchmark::State& state, qm::TReportFormat format) {
    qm::TSessionState& session = Reference();
    const qm::TVendorRegistry& vendors = qm::SystemVendorRegistry();
    vendors.VendorOf("(00:11:22:00:00:00)");  // loaded before the clock runs
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string report = qm::RenderReport(format, qm::CollectDeviceReport(session, vendors));
        bytes = report.size();
        benchmark::DoNotOptimize(report.data());
    }
    state.counters["report_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK_CAPTURE(Export, csv, qm::TReportFormat::Csv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Export, json, qm::TReportFormat::Json)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Export, html, qm::TReportFormat::Html)->Unit(benchmark::kMillisecond)->UseRealTime();

void VendorRegistryLoad(benchmark::State& state) {
    for (auto _ : state) {
        const qm::TVendorRegistry registry{std::string(qm::kSystemOuiFile)};
        benchmark::DoNotOptimize(registry.VendorOf("(00:11:22:00:00:00)").size());
    }
}
BENCHMARK(VendorRegistryLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
