// Rendering the raw SDP page of a typical device: ten service records as phones and headsets send
// them, listed one after the other. Reports the raw record bytes rendered per second and the
// allocations per rendered device, which should stay at the few regrowths of the output text.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "quillmark/sdp/SdpRecordText.h"

namespace {

std::atomic<std::size_t> gAllocations{0};

}  // namespace

// Counting replacements of the global allocation functions. GCC takes the free() of a pointer that
// reaches operator delete for a mismatch, though our operator new hands out malloc'ed memory.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

// The attribute lists of the records, without their outer sequence header.
constexpr std::string_view kRecordContents[] = {
    // serial port
    "09 00 00 0A 00 01 00 00 09 00 01 35 03 19 11 01 09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 08 01"
    "09 00 05 35 03 19 10 02 09 00 06 35 09 09 65 6E 09 00 6A 09 01 00 09 00 09 35 08 35 06 19 11 01 09 01 02"
    "09 01 00 25 0B 53 65 72 69 61 6C 20 50 6F 72 74",
    // OBEX object push
    "09 00 00 0A 00 01 00 01 09 00 01 35 03 19 11 05 09 00 04 35 11 35 03 19 01 00 35 05 19 00 03 08 0C"
    "35 03 19 00 08 09 00 05 35 03 19 10 02 09 00 09 35 08 35 06 19 11 05 09 01 02"
    "09 01 00 25 10 4F 42 45 58 20 4F 62 6A 65 63 74 20 50 75 73 68 09 03 03 35 06 08 01 08 02 08 FF",
    // OBEX file transfer
    "09 00 00 0A 00 01 00 07 09 00 01 35 03 19 11 06 09 00 04 35 11 35 03 19 01 00 35 05 19 00 03 08 0A"
    "35 03 19 00 08 09 00 05 35 03 19 10 02 09 00 09 35 08 35 06 19 11 06 09 01 02"
    "09 01 00 25 12 4F 42 45 58 20 46 69 6C 65 20 54 72 61 6E 73 66 65 72",
    // headset audio gateway
    "09 00 00 0A 00 01 00 02 09 00 01 35 06 19 11 12 19 12 03 09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 "
    "08 02"
    "09 00 05 35 03 19 10 02 09 00 06 35 09 09 65 6E 09 00 6A 09 01 00 09 00 09 35 08 35 06 19 11 08 09 01 02"
    "09 01 00 25 0E 56 6F 69 63 65 20 47 61 74 65 77 61 79 00",
    // hands-free audio gateway
    "09 00 00 0A 00 01 00 03 09 00 01 35 06 19 11 1F 19 12 03 09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 "
    "08 03"
    "09 00 05 35 03 19 10 02 09 00 09 35 08 35 06 19 11 1E 09 01 06"
    "09 01 00 25 10 48 61 6E 64 73 66 72 65 65 20 47 61 74 65 77 61 09 03 01 08 01 09 03 11 09 00 2F",
    // A2DP source with a UTF-16 name
    "09 00 00 0A 00 01 00 04 09 00 01 35 03 19 11 0A 09 00 04 35 10 35 06 19 01 00 09 00 19 35 06 19 00 19 "
    "09 01 02"
    "09 00 05 35 03 19 10 02 09 00 09 35 08 35 06 19 11 0D 09 01 02"
    "09 01 00 25 18 41 00 75 00 64 00 69 00 6F 00 20 00 53 00 6F 00 75 00 72 00 63 00 65 00 09 03 11 09 00 "
    "01",
    // AV remote control target
    "09 00 00 0A 00 01 00 05 09 00 01 35 03 19 11 0C 09 00 04 35 10 35 06 19 01 00 09 00 17 35 06 19 00 17 "
    "09 01 03"
    "09 00 05 35 03 19 10 02 09 00 09 35 08 35 06 19 11 0E 09 01 04"
    "09 01 00 25 0C 41 56 52 43 50 20 54 61 72 67 65 74 09 03 11 09 00 02",
    // phonebook access server
    "09 00 00 0A 00 01 00 06 09 00 01 35 03 19 11 2F 09 00 04 35 11 35 03 19 01 00 35 05 19 00 03 08 13"
    "35 03 19 00 08 09 00 05 35 03 19 10 02 09 00 09 35 08 35 06 19 11 30 09 01 01"
    "09 01 00 25 0B 50 68 6F 6E 65 62 6F 6F 6B 00 00 09 03 14 08 01",
    // a vendor service with a 128-bit UUID
    "09 00 00 0A 00 01 00 08 09 00 01 35 11 1C 12 34 56 78 9A BC DE F0 12 34 56 78 9A BC DE F0"
    "09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 08 05 09 00 05 35 03 19 10 02"
    "09 01 00 25 0E 56 65 6E 64 6F 72 20 53 65 72 76 69 63 65 09 02 00 0B 00 00 00 00 00 00 00 01",
    // PnP information
    "09 00 00 0A 00 01 00 09 09 00 01 35 03 19 12 00 09 00 04 35 0D 35 06 19 01 00 09 00 01 35 03 19 00 01"
    "09 00 09 35 08 35 06 19 12 00 09 01 03 09 02 00 09 01 03 09 02 01 09 00 0A 09 02 02 09 B0 02"
    "09 02 03 09 01 00 09 02 04 28 01 09 02 05 09 00 01",
};

std::string FromHex(std::string_view hex) {
    std::string bytes;
    std::string digits;
    for (const char c : hex)
        if (c != ' ') digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

std::vector<std::string> TypicalDevice() {
    std::vector<std::string> records;
    for (const std::string_view contents : kRecordContents) {
        const std::string bytes = FromHex(contents);
        records.push_back(std::string{'\x35', static_cast<char>(bytes.size())} + bytes);
    }
    return records;
}

// As the device's raw SDP page: the listings joined, zero bytes shown as blanks.
void BM_RenderTypicalDevice(benchmark::State& state) {
    const std::vector<std::string> records = TypicalDevice();
    std::size_t recordBytes = 0;
    for (const std::string& record : records) recordBytes += record.size();
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = gAllocations.load(std::memory_order_relaxed);
        std::string text;
        for (const std::string& record : records) text += qm::SDPRecordText(record);
        std::replace(text.begin(), text.end(), '\0', ' ');
        benchmark::DoNotOptimize(text.data());
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * recordBytes));
    state.counters["record_bytes"] = static_cast<double>(recordBytes);
    state.counters["allocs_per_device"] =
        benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_RenderTypicalDevice);

}  // namespace

BENCHMARK_MAIN();
