// The hash table against std::unordered_map<std::string, void*> on one million 12-byte keys, both
// with a bucket count equal to the key count: inserting all keys, finding every key (in shuffled
// order) and looking up keys that are absent. Compare the items per second of each pair; the goal
// is lookups no slower than 1.5 times the standard map. Two key sets: random bytes, and MAC
// addresses as 12 upper-case hex digits. A last benchmark measures the bounded table's eviction path.

#include <zemautils/hashtable.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t kKeyCount = 1000000;
constexpr std::size_t kKeyLength = 12;

enum KeyKind { kRandomBytes = 0, kHexText = 1 };

std::string MakeKey(std::mt19937_64& random, KeyKind kind) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string key(kKeyLength, '\0');
    const std::uint64_t bits = random();
    const std::uint64_t more = random();
    for (std::size_t i = 0; i < kKeyLength; ++i) {
        key[i] = kind == kHexText
                     ? kHex[(bits >> (4 * i)) & 0xF]
                     : static_cast<char>((i < 8 ? bits >> (8 * i) : more >> (8 * (i - 8))) & 0xFF);
    }
    return key;
}

// Distinct keys to store, the same keys in shuffled order for lookups, and distinct absent keys.
struct KeySet {
    std::vector<std::string> stored;
    std::vector<std::string> shuffled;
    std::vector<std::string> absent;
};

const KeySet& Keys(KeyKind kind) {
    static KeySet sets[2];
    KeySet& set = sets[kind];
    if (!set.stored.empty()) return set;
    std::mt19937_64 random(kind == kHexText ? 48 : 12);
    std::unordered_map<std::string, bool> seen(3 * kKeyCount);
    while (set.stored.size() < kKeyCount || set.absent.size() < kKeyCount) {
        std::string key = MakeKey(random, kind);
        if (!seen.emplace(key, true).second) continue;
        (set.stored.size() < kKeyCount ? set.stored : set.absent).push_back(std::move(key));
    }
    set.shuffled = set.stored;
    std::shuffle(set.shuffled.begin(), set.shuffled.end(), random);
    return set;
}

void* ValueOf(std::size_t i) {
    return reinterpret_cast<void*>(i + 1);
}

std::int32_t Length(const std::string& key) {
    return static_cast<std::int32_t>(key.size());
}

TNSHashTable* FilledTable(const KeySet& keys) {
    TNSHashTable* table = CreateHashTable(static_cast<std::int32_t>(kKeyCount));
    for (std::size_t i = 0; i < keys.stored.size(); ++i) {
        InsertRecord(table, ValueOf(i), keys.stored[i].data(), Length(keys.stored[i]));
    }
    return table;
}

std::unordered_map<std::string, void*> FilledMap(const KeySet& keys) {
    std::unordered_map<std::string, void*> map(kKeyCount);
    for (std::size_t i = 0; i < keys.stored.size(); ++i) map.emplace(keys.stored[i], ValueOf(i));
    return map;
}

void HashTableInsert(benchmark::State& state) {
    const KeySet& keys = Keys(static_cast<KeyKind>(state.range(0)));
    for (auto _ : state) {
        TNSHashTable* table = FilledTable(keys);
        benchmark::DoNotOptimize(table);
        state.PauseTiming();
        FreeHashTable(&table);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kKeyCount));
}

void UnorderedMapInsert(benchmark::State& state) {
    const KeySet& keys = Keys(static_cast<KeyKind>(state.range(0)));
    for (auto _ : state) {
        auto* map = new std::unordered_map<std::string, void*>(FilledMap(keys));
        benchmark::DoNotOptimize(map);
        state.PauseTiming();
        delete map;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kKeyCount));
}

template <bool kHit>
void HashTableFind(benchmark::State& state) {
    const KeySet& keys = Keys(static_cast<KeyKind>(state.range(0)));
    const std::vector<std::string>& probes = kHit ? keys.shuffled : keys.absent;
    TNSHashTable* table = FilledTable(keys);
    for (auto _ : state) {
        for (const std::string& key : probes)
            benchmark::DoNotOptimize(FindRecord(table, key.data(), Length(key)));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * probes.size()));
    FreeHashTable(&table);
}

template <bool kHit>
void UnorderedMapFind(benchmark::State& state) {
    const KeySet& keys = Keys(static_cast<KeyKind>(state.range(0)));
    const std::vector<std::string>& probes = kHit ? keys.shuffled : keys.absent;
    const auto map = FilledMap(keys);
    for (auto _ : state) {
        for (const std::string& key : probes) {
            const auto found = map.find(key);
            benchmark::DoNotOptimize(found == map.end() ? nullptr : found->second);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * probes.size()));
}

void CountEviction(void* value, const std::uint8_t*, std::int32_t) {
    benchmark::DoNotOptimize(value);
}

// Steady state of a full bounded table: every insert evicts the least recently used record.
void BoundedTableEvictingInsert(benchmark::State& state) {
    const KeySet& keys = Keys(kRandomBytes);
    const auto bound = static_cast<std::int32_t>(state.range(0));
    TNSHashTable* table = CreateHashTableBounded(bound, bound, &CountEviction);
    std::size_t next = 0;
    for (std::int32_t i = 0; i < bound; ++i, ++next) {
        InsertRecord(table, ValueOf(next), keys.stored[next].data(), Length(keys.stored[next]));
    }
    for (auto _ : state) {
        const std::string& key = keys.stored[next];
        InsertRecord(table, ValueOf(next), key.data(), Length(key));
        next = next + 1 < kKeyCount ? next + 1 : 0;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    ClearHashTable(table, nullptr);
    FreeHashTable(&table);
}

void KeyKinds(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("hex_keys")->Arg(kRandomBytes)->Arg(kHexText)->Unit(benchmark::kMillisecond);
}

BENCHMARK(HashTableInsert)->Apply(KeyKinds);
BENCHMARK(UnorderedMapInsert)->Apply(KeyKinds);
BENCHMARK(HashTableFind<true>)->Name("HashTableHit")->Apply(KeyKinds);
BENCHMARK(UnorderedMapFind<true>)->Name("UnorderedMapHit")->Apply(KeyKinds);
BENCHMARK(HashTableFind<false>)->Name("HashTableMiss")->Apply(KeyKinds);
BENCHMARK(UnorderedMapFind<false>)->Name("UnorderedMapMiss")->Apply(KeyKinds);
BENCHMARK(BoundedTableEvictingInsert)->Arg(1000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
