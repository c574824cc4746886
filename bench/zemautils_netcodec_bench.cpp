// Throughput of the variable-length integer codec, in bytes of encoding per second (goal: over 300
// million bytes per second decoded). Values spread evenly over every bit length from 0 to 64
// (1 to 10 bytes each), or small values of at most 14 bits (1 or 2 bytes).

#include <zemautils/netcodec.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kValueCount = 1 << 16;

enum Spread { kAllLengths = 0, kSmallValues = 1 };

std::vector<std::uint64_t> Values(Spread spread) {
    std::mt19937_64 random(5);
    std::vector<std::uint64_t> values(kValueCount);
    for (std::uint64_t& value : values) {
        const unsigned bits = spread == kAllLengths ? static_cast<unsigned>(random() % 65) : 14u;
        value = bits == 0 ? 0 : random() >> (64 - bits);
    }
    return values;
}

std::vector<std::uint8_t> Encoded(const std::vector<std::uint64_t>& values) {
    std::vector<std::uint8_t> bytes(values.size() * 10);
    std::uint8_t* writer = bytes.data();
    for (std::uint64_t value : values) NetWritVarUInt(&writer, value);
    bytes.resize(static_cast<std::size_t>(writer - bytes.data()));
    return bytes;
}

void Decode(benchmark::State& state) {
    std::vector<std::uint8_t> bytes = Encoded(Values(static_cast<Spread>(state.range(0))));
    for (auto _ : state) {
        std::uint8_t* reader = bytes.data();
        for (std::size_t i = 0; i < kValueCount; ++i) benchmark::DoNotOptimize(NetReadVarUInt(&reader));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kValueCount));
}

void Encode(benchmark::State& state) {
    const std::vector<std::uint64_t> values = Values(static_cast<Spread>(state.range(0)));
    std::vector<std::uint8_t> bytes(values.size() * 10);
    std::size_t written = 0;
    for (auto _ : state) {
        std::uint8_t* writer = bytes.data();
        for (std::uint64_t value : values) NetWritVarUInt(&writer, value);
        written = static_cast<std::size_t>(writer - bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * written));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kValueCount));
}

BENCHMARK(Decode)->ArgName("small")->Arg(kAllLengths)->Arg(kSmallValues);
BENCHMARK(Encode)->ArgName("small")->Arg(kAllLengths)->Arg(kSmallValues);

}  // namespace

BENCHMARK_MAIN();
