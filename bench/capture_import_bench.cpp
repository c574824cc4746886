// Importing a btsnoop capture (btmon's format) of 100,000 inquiry results into an empty session,
// the three result formats in turn with a remote name after every tenth result. The argument is
// the number of distinct devices the results are spread over: few devices sighted often, or every
// result a new device. Making the session and destroying it afterwards are not timed.
//
// Goal: well under a second.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "quillmark/bluetooth/capture/BtsnoopReader.h"
#include "quillmark/bluetooth/capture/CaptureImport.h"
#include "quillmark/core/SessionState.h"

namespace {

constexpr int kResults = 100000;

void AppendBe32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void AppendRecord(std::string& out, const std::string& event, std::int64_t time) {
    AppendBe32(out, static_cast<std::uint32_t>(event.size()));
    AppendBe32(out, static_cast<std::uint32_t>(event.size()));
    AppendBe32(out, 3);  // event packet, controller 0
    AppendBe32(out, 0);
    AppendBe32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(time) >> 32));
    AppendBe32(out, static_cast<std::uint32_t>(time));
}

std::string Address(int device) {
    const auto d = static_cast<std::uint32_t>(device);
    return {
        static_cast<char>(d), static_cast<char>(d >> 8), static_cast<char>(d >> 16), '\x22', '\x11', '\x00'};
}

// Event code, parameter length, one entry of the format.
std::string ResultEvent(int result, int device) {
    const std::string fields = Address(device) + std::string("\x01\x00", 2);
    const std::string tail = std::string("\x0C\x02\x5A\x34\x12", 5);
    switch (result % 3) {
        case 0:
            return std::string("\x02\x0F\x01", 3) + fields + '\0' + tail;
        case 1:
            return std::string("\x22\x0F\x01", 3) + fields + tail + '\xC4';
        default: {
            const std::string name = "Device " + std::to_string(device % 100);
            std::string eir = std::string(1, static_cast<char>(name.size() + 1)) + '\x09' + name;
            eir.resize(240, '\0');
            return std::string("\x2F\xFF\x01", 3) + fields + tail + '\xC4' + eir;
        }
    }
}

std::string RemoteNameEvent(int device) {
    std::string name = "Remote " + std::to_string(device);
    name.resize(248, '\0');
    return std::string("\x07\xFF\x00", 3) + Address(device) + name;
}

std::string Capture(int devices) {
    std::string capture("btsnoop\0\0\0\0\1\0\0\x07\xD1", 16);
    std::int64_t time = qm::bt::kBtsnoopUnixEpoch + std::int64_t{1700000000} * 1000000;
    for (int result = 0; result < kResults; ++result, time += 10000) {
        const std::string event = ResultEvent(result, result % devices);
        AppendRecord(capture, event, time);
        capture += event;
        if (result % 10 != 0) continue;
        const std::string name = RemoteNameEvent(result % devices);
        AppendRecord(capture, name, time);
        capture += name;
    }
    return capture;
}

void ImportCapture(benchmark::State& state) {
    const std::string capture = Capture(static_cast<int>(state.range(0)));
    int devices = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<qm::TSessionState>();
        std::istringstream in(capture);
        state.ResumeTiming();
        devices = qm::bt::ImportBtsnoop(in, *session).newDevices;
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    state.counters["devices"] = devices;
    state.counters["capture_MB"] = static_cast<double>(capture.size()) / 1e6;
}
BENCHMARK(ImportCapture)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
