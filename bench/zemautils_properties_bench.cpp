// Writing and parsing a property buffer of 200 mixed properties: integers, enumerations, floats,
// booleans, texts and binary blocks, as a station report carries them.

#include <benchmark/benchmark.h>
#include <zemautils/property.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kProperties = 200;

_PV Zero() {
    _PV value;
    std::memset(&value, 0, sizeof value);
    return value;
}

SPropValue Mixed(int i, const std::vector<std::string>& texts, const std::vector<uint8_t>& block) {
    _PV value = Zero();
    const uint32_t identifier = 0x0400 + static_cast<uint32_t>(i);
    switch (i % 6) {
        case 0:
            value.l = i * 1000;
            return SPropValue(PROP_TAG(identifier, PT_LONG), value);
        case 1:
            value.l = i % 4;
            return SPropValue(PROP_TAG(identifier, PT_ROGUE), value);
        case 2:
            value.flt = -40.5f - static_cast<float>(i % 50);
            return SPropValue(PROP_TAG(identifier, PT_FLOAT), value);
        case 3:
            value.ul = static_cast<uint32_t>(i & 1);
            return SPropValue(PROP_TAG(identifier, PT_BOOLEAN), value);
        case 4:
            value.lpszA = texts[static_cast<std::size_t>(i) % texts.size()].c_str();
            return SPropValue(PROP_TAG(identifier, PT_STRING8), value);
        default:
            value.bin = SBinary{static_cast<uint32_t>(block.size()), block.data()};
            return SPropValue(PROP_TAG(identifier, PT_BINARY), value);
    }
}

std::vector<SPropValue> MixedProperties() {
    const std::vector<std::string> texts = {"00:11:22:33:44:55", "Lobby, second floor", "AA:BB:CC:DD:EE:FF"};
    const std::vector<uint8_t> block(24, 0x5A);
    std::vector<SPropValue> properties;
    for (int i = 0; i < kProperties; ++i) properties.push_back(Mixed(i, texts, block));
    return properties;
}

std::vector<uint8_t> Encoded(const std::vector<SPropValue>& properties) {
    std::vector<uint8_t> buffer(16384);
    uint32_t size = static_cast<uint32_t>(buffer.size());
    OutputToBuffer(static_cast<uint32_t>(properties.size()), properties.data(), &size, buffer.data());
    buffer.resize(size);
    return buffer;
}

void BM_OutputToBuffer(benchmark::State& state) {
    const std::vector<SPropValue> properties = MixedProperties();
    std::vector<uint8_t> buffer(16384);
    for (auto _ : state) {
        uint32_t size = static_cast<uint32_t>(buffer.size());
        OutputToBuffer(kProperties, properties.data(), &size, buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::DoNotOptimize(size);
    }
    state.SetItemsProcessed(state.iterations() * kProperties);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Encoded(properties).size()));
}
BENCHMARK(BM_OutputToBuffer);

void BM_ParseToProperties(benchmark::State& state) {
    const std::vector<uint8_t> buffer = Encoded(MixedProperties());
    for (auto _ : state) {
        uint32_t count = 0;
        SPropValue* properties = nullptr;
        ParseToProperties(static_cast<uint32_t>(buffer.size()), buffer.data(), &count, &properties);
        benchmark::DoNotOptimize(properties);
        delete[] properties;
    }
    state.SetItemsProcessed(state.iterations() * kProperties);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(buffer.size()));
}
BENCHMARK(BM_ParseToProperties);

}  // namespace

BENCHMARK_MAIN();
