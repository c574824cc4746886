// Memory shortage at the C boundary: no exported function lets an exception out, and one that
// allocates reports the shortage through its own result. This program replaces the global
// allocation functions, and sets the library's allocator seams, with an allocator that fails on
// demand, so every allocation the library makes can be made to fail: each call runs once with its
// first allocation failing, once with its second failing, and so on, and once with all failing.

#include <zemautils/hashtable.h>
#include <zemautils/logdispatch.h>
#include <zemautils/property.h>
#include <zemautils/trace.h>
#include <zemautils/utils.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "allocation.h"
#include "database_connectivity_internal.h"
#include "hashtable_internal.h"
#include "property_value_builders.h"
#include "testsupport/ScopedTempDir.h"

namespace {

constexpr long kNever = 0;
constexpr long kAll = -1;

std::atomic<long> g_allocations{0};
std::atomic<long> g_failing{kNever};  // the number of the allocation that fails, or kNever, kAll

void* Allocate(std::size_t size) noexcept {
    const long number = ++g_allocations;
    const long failing = g_failing.load();
    if (failing == kAll || number == failing) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

namespace {

using testsupport::ScopedTempDir;
using zematest::Text;

// One run of a call with allocation `failing` failing: whether it threw, what it returned and how
// many allocations it asked for.
struct Run {
    long failing;
    bool threw;
    int32_t result;
    long made;
};

// Runs call with its first allocation failing, then its second, and so on until a run makes
// fewer allocations than the one meant to fail, and then once with every allocation failing.
std::vector<Run> RunsWithFailingAllocations(const std::function<int32_t()>& call) {
    std::vector<Run> runs;
    runs.reserve(64);
    for (long failing = 1;; ++failing) {
        Run run{failing, false, 0, 0};
        g_allocations = 0;
        g_failing = failing;
        try {
            run.result = call();
        } catch (...) {
            run.threw = true;
        }
        g_failing = kNever;
        run.made = g_allocations.load();
        runs.push_back(run);
        if (run.made < failing) break;
    }
    Run all{kAll, false, 0, 0};
    g_allocations = 0;
    g_failing = kAll;
    try {
        all.result = call();
    } catch (...) {
        all.threw = true;
    }
    g_failing = kNever;
    all.made = g_allocations.load();
    runs.push_back(all);
    return runs;
}

// Every run returned, with one of the allowed results; each of the shown results came from some
// run (so the failing allocations were reached).
void ExpectHandled(const std::vector<Run>& runs, const std::vector<int32_t>& allowed,
                   const std::vector<int32_t>& shown = {}) {
    std::vector<int32_t> results;
    for (const Run& run : runs) {
        EXPECT_FALSE(run.threw) << "an exception left the call with allocation " << run.failing << " failing";
        EXPECT_THAT(allowed, testing::Contains(run.result)) << "allocation " << run.failing << " failing";
        results.push_back(run.result);
    }
    for (const int32_t result : shown) EXPECT_THAT(results, testing::Contains(result));
}

// As ExpectHandled, for a call that asks for no memory at all.
void ExpectHandledWithoutAllocating(const std::function<int32_t()>& call,
                                    const std::vector<int32_t>& allowed) {
    const std::vector<Run> runs = RunsWithFailingAllocations(call);
    ExpectHandled(runs, allowed);
    for (const Run& run : runs) EXPECT_EQ(run.made, 0) << "allocation " << run.failing << " failing";
}

class AllocationFailure : public testing::Test {
protected:
    void SetUp() override {
        zema::SetAllocator(&Allocate);
        zema::SetHashTableAllocator(&Allocate);
    }
    void TearDown() override {
        g_failing = kNever;
        TraceStop();
        zema::SetAllocator(nullptr);
        zema::SetHashTableAllocator(nullptr);
    }
    ScopedTempDir dir_{ScopedTempDir::Chdir::Yes};
};

// The start, the header, the configuration, the stop and the size check all write their texts
// from fixed buffers.
TEST_F(AllocationFailure, TracingNeverAllocates) {
    dir_.write("trace.conf",
               "TraceFile = a-trace-file-with-a-long-name.log\nLogStyle = 1\nLogMaxSize = 10\n");
    ExpectHandledWithoutAllocating(
        [] {
            const int32_t started = TraceStart("another-trace-file-with-a-long-name.log");
            const int32_t stopped = TraceStop();
            return started != TRACE_OK ? started : stopped;
        },
        {TRACE_OK});
    ExpectHandledWithoutAllocating([] { return TraceLoadConfiguration(nullptr); }, {TRACE_OK});
    for (int i = 0; i < 999; ++i) TracePrintf("%d\n", i);
    // The 1000th write finds the file past its limit and writes the rewind message with the time.
    ExpectHandledWithoutAllocating(
        [] {
            TracePrintTag(TRACE_MODULE_BLUETOOTH, "a-function-with-a-long-name", 1);
            return 0;
        },
        {0});
    EXPECT_THAT(ScopedTempDir::read(dir_ / "a-trace-file-with-a-long-name.log"),
                testing::HasSubstr("maximum file size: 10, rewinding"));
}

// The trace lines of the library's own services, and the trace copy of log messages.
TEST_F(AllocationFailure, LibraryTraceLinesNeverAllocate) {
    ASSERT_EQ(TraceStart("trace.log"), TRACE_OK);
    TraceLevel(TRACE_MODULE_ENGINE, 5);
    TraceLevel(TRACE_MODULE_UTILS, 1);
    const std::vector<SPropValue> skipped = {SPropValue(PROP_TAG(0x1234, PT_DOUBLE), zematest::Zero())};
    ExpectHandledWithoutAllocating(
        [&] {
            uint8_t buffer[16];
            uint32_t size = sizeof buffer;
            OutputToBuffer(1, skipped.data(), &size, buffer);
            return static_cast<int32_t>(size);
        },
        {1});
    zema::SetHostResolver([](const char*, std::uint32_t*) { return false; });
    char server[] = "a.name.that.does.not.resolve.invalid";
    ExpectHandledWithoutAllocating([&] { return ZEMACheckDatabaseConnectivity(server, 1); },
                                   {UTILS_CANNOT_RESOLVE});
    ExpectHandledWithoutAllocating(
        [] { return ZEMALogMessage(ZEMA_LOG_INFO, "%s", "a message long enough to need memory"); }, {0});
    zema::SetHostResolver(nullptr);
    TraceStop();
    const std::string log = ScopedTempDir::read(dir_ / "trace.log");
    EXPECT_THAT(log, testing::HasSubstr("L5 - Unkonwn property type with property tag: 0x12340005"));
    EXPECT_THAT(log, testing::HasSubstr("L1 - ZEMACheckDatabaseConnectivity testing server a.name."));
    EXPECT_THAT(log, testing::HasSubstr("[Unknown]unknown function:0 a message long enough"));
}

// A buffer holding a text without its zero byte: the array, the completed text and the property's
// copy of it are three allocations. Without the array there is nothing (count 0); without a text
// the property holds none.
TEST_F(AllocationFailure, ParsingReportsNoArrayOrHoldsNoText) {
    const std::string text = "a station name without its zero byte";
    std::vector<uint8_t> bytes = {1, 0x08, 0x00, 0x00, 0x1E, 0, 0, 0, static_cast<uint8_t>(text.size())};
    bytes.insert(bytes.end(), text.begin(), text.end());
    ExpectHandled(RunsWithFailingAllocations([&] {
                      uint32_t count = 99;
                      SPropValue* properties = nullptr;
                      ParseToProperties(static_cast<uint32_t>(bytes.size()), bytes.data(), &count,
                                        &properties);
                      int32_t outcome = -1;
                      if (count == 0 && properties == nullptr) outcome = 0;  // no memory for the array
                      if (count == 1 && properties != nullptr) {
                          const char* value = properties[0].GetValue().lpszA;
                          outcome = value == nullptr ? 1 : text == value ? 2 : -2;
                      }
                      delete[] properties;
                      return outcome;
                  }),
                  {0, 1, 2}, {0, 1, 2});
}

// Copies of owned data hold none when memory is short.
TEST_F(AllocationFailure, PropertyCopiesHoldNoDataWhenMemoryIsShort) {
    const SPropValue text(PROP_TAG(0x0800, PT_STRING8), Text("station"));
    ExpectHandled(RunsWithFailingAllocations([&] {
                      const SPropValue copy(text);
                      SPropValue assigned;
                      assigned = text;
                      const auto outcome = [](const SPropValue& p) {
                          const char* value = p.GetValue().lpszA;
                          return value == nullptr ? 0 : std::strcmp(value, "station") == 0 ? 1 : 9;
                      };
                      return outcome(copy) * 10 + outcome(assigned);
                  }),
                  {0, 1, 10, 11}, {1, 10, 11});
}

TEST_F(AllocationFailure, UtilitiesReportMemoryShortage) {
    ExpectHandled(RunsWithFailingAllocations([] { return ExecuteCommand("exit 0"); }), {0, -1}, {0, -1});
    ExpectHandled(RunsWithFailingAllocations([] {
                      uint32_t address = 0;
                      uint8_t hardware[6];
                      return ZEMALocalAddress(&address, hardware);
                  }),
                  {UTILS_OK, UTILS_NOT_FOUND, UTILS_MEMORY_SHORT}, {UTILS_MEMORY_SHORT});
}

TEST_F(AllocationFailure, HashTableReportsMemoryShortage) {
    int value = 1;
    ExpectHandled(RunsWithFailingAllocations([&] {
                      TNSHashTable* table = CreateHashTableBounded(4, 2, nullptr);
                      if (!table) return -1;
                      const int32_t result = InsertRecord(table, &value, "key", 3);
                      FreeHashTable(&table);
                      return result;
                  }),
                  {-1, HASH_OK, HASH_NO_MEMORY}, {-1, HASH_OK, HASH_NO_MEMORY});
}

}  // namespace
