// Decoding LE advertising: parsing LE Advertising Report events of a busy room (phones, earbuds,
// trackers and beacons, one to three reports an event) and decoding each report's advertising data
// with its tracker check, as an LE report reader would for every event it reads. A second case
// adds the display texts of every structure, as the details window shows them.
//
// Goal: at least 200,000 reports a second on one core (the reports_per_second counter).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/core/AdvertisingData.h"
#include "quillmark/core/AdvertisingText.h"
#include "quillmark/core/TrackerKind.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithKey(Bytes head, std::size_t size) {
    for (std::uint8_t i = 0; head.size() < size; ++i) head.push_back(static_cast<std::uint8_t>(i * 37));
    return head;
}

// Advertising data as common devices send it.
std::vector<Bytes> Advertisements() {
    return {
        WithKey({2, 0x01, 0x06, 27, 0xFF, 0x4C, 0x00, 0x10, 0x05}, 31),  // a phone's nearby info
        WithKey({30, 0xFF, 0x4C, 0x00, 0x12, 0x19, 0x10}, 31),           // an AirTag
        {2, 0x01, 0x06, 3, 0x03, 0xED, 0xFE, 9, 0x16, 0xED, 0xFE, 1, 2, 3, 4, 5, 6, 7},  // a Tile
        {2, 0x01, 0x06, 5,   0x03, 0x0F, 0x18, 0x0A, 0x18, 3, 0x19, 0xC2, 0x00,
         8, 0x09, 'W',  'a', 't',  'c',  'h',  ' ',  '7',  2, 0x0A, 0xF8},              // a watch
        WithKey({2, 0x01, 0x1A, 2, 0x0A, 0x0C, 11, 0xFF, 0x4C, 0x00, 0x10, 0x06}, 18),  // a laptop
        WithKey({3, 0x03, 0xAA, 0xFE, 17, 0x16, 0xAA, 0xFE, 0x10, 0xF4}, 31),           // an Eddystone URL
        WithKey({14, 0xFF, 0x75, 0x00, 0x42, 0x04}, 15),                                // a Samsung TV
        {},  // an empty scan response
    };
}

Bytes Report(std::uint8_t type, std::uint8_t id, const Bytes& data) {
    Bytes report{type, 1, id, 0x22, 0x33, 0x44, 0x55, 0x66, static_cast<std::uint8_t>(data.size())};
    report.insert(report.end(), data.begin(), data.end());
    report.push_back(static_cast<std::uint8_t>(-50 - id % 40));
    return report;
}

struct TPackets {
    std::vector<Bytes> packets;
    std::size_t reports = 0;
};

// Events of one, two and three reports in turn, each within the 255-byte event limit.
TPackets Events() {
    const std::vector<Bytes> ads = Advertisements();
    TPackets out;
    std::size_t next = 0;
    for (int event = 0; event < 300; ++event) {
        const int count = 1 + event % 3;
        Bytes packet{0x04, 0x3E, 0, 0x02, static_cast<std::uint8_t>(count)};
        for (int i = 0; i < count; ++i, ++next) {
            const Bytes report = Report(static_cast<std::uint8_t>(next % 5), static_cast<std::uint8_t>(next),
                                        ads[next % ads.size()]);
            packet.insert(packet.end(), report.begin(), report.end());
        }
        packet[2] = static_cast<std::uint8_t>(packet.size() - 3);
        out.reports += static_cast<std::size_t>(count);
        out.packets.push_back(std::move(packet));
    }
    return out;
}

template <bool WithTexts>
void Decode(benchmark::State& state) {
    const TPackets events = Events();
    std::size_t trackers = 0;
    for (auto _ : state) {
        for (const Bytes& packet : events.packets) {
            const auto event = qm::bt::ParseHciEvent(packet);
            for (const auto& report : std::get<qm::bt::THciLeAdvertisingReports>(*event).reports) {
                const qm::TAdvertisement ad = qm::ParseAdvertisingData(report.data);
                trackers += qm::TrackerKindOf(ad).has_value();
                if constexpr (WithTexts)
                    for (const qm::TAdStructure& s : ad.structures)
                        benchmark::DoNotOptimize(qm::AdStructureText(s).size() +
                                                 qm::AdTypeName(s.type).size());
                benchmark::DoNotOptimize(ad.structures.data());
            }
        }
    }
    benchmark::DoNotOptimize(trackers);
    state.counters["reports_per_second"] = benchmark::Counter(
        static_cast<double>(state.iterations() * events.reports), benchmark::Counter::kIsRate);
}

void BM_DecodeReports(benchmark::State& state) {
    Decode<false>(state);
}
void BM_DecodeReportsWithTexts(benchmark::State& state) {
    Decode<true>(state);
}
BENCHMARK(BM_DecodeReports);
BENCHMARK(BM_DecodeReportsWithTexts);

}  // namespace

BENCHMARK_MAIN();
