#include <zemautils/timebase.h>
#include <zemautils/trace.h>
#include <zemautils/watchdog.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cstring>
#include <future>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "service_trace_capture.h"
#include "thread_instruction_address.h"
#include "timebase_internal.h"
#include "watchdog_internal.h"
#include "watchdog_text.h"

namespace {

using zematest::TraceCapture;
using zematest::TracedLine;

std::atomic<uint32_t> g_rawMilliseconds{1000000};
uint32_t FakeRawMilliseconds() {
    return g_rawMilliseconds.load();
}
uint64_t FakeInstructionAddress(pid_t) {
    return 0x1234;
}

// Runs body on a thread of its own and waits for it; the thread's watchdog record outlives it.
template <typename Body>
void OnOtherThread(Body body) {
    std::thread(body).join();
}

std::string Status(uint32_t threshold) {
    std::vector<char> out(WATCHDOG_STATUS_SIZE, '\x7f');
    WatchdogPrintStatus(out.data(), threshold);
    return out.data();
}

// A fresh watchdog on a settable clock, with a fixed instruction address, tracing module 3.
class WatchdogTest : public testing::Test {
protected:
    WatchdogTest() {
        zema::SetRawMillisecondSource(&FakeRawMilliseconds);
        zema::SetInstructionAddressReader(&FakeInstructionAddress);
        zema::ResetWatchdog();
    }
    ~WatchdogTest() override {
        zema::ResetWatchdog();
        zema::SetInstructionAddressReader(nullptr);
        zema::SetRawMillisecondSource(nullptr);
    }

    static void Advance(uint32_t milliseconds) { g_rawMilliseconds += milliseconds; }

    TraceCapture trace_{TRACE_MODULE_ENGINE, 1};
};

struct TimingCase {
    uint32_t timeout;
    uint32_t elapsed;
    const char* report;  // nullptr: completing writes nothing
};

class ContractTimingTest : public WatchdogTest, public testing::WithParamInterface<TimingCase> {};

TEST_P(ContractTimingTest, CompletionIsReportedOnceTheTimeoutHasPassed) {
    const TimingCase& c = GetParam();
    WatchdogRegister("worker");
    WatchdogContract* contract = WatchdogContractStart("src/engine/Flush.cpp", c.timeout);
    ASSERT_NE(contract, nullptr);
    Advance(c.elapsed);
    WatchdogContractComplete(contract);
    std::vector<TracedLine> expected;
    if (c.report) expected.push_back({"WatchdogContractComplete", std::string("L1 - ") + c.report});
    EXPECT_EQ(trace_.Lines(), expected);
}

INSTANTIATE_TEST_SUITE_P(Durations, ContractTimingTest,
                         testing::Values(TimingCase{500, 200, nullptr}, TimingCase{500, 499, nullptr},
                                         TimingCase{500, 500, "Flush.cpp time = 0.500s"},
                                         TimingCase{500, 1005, "Flush.cpp time = 1.005s"},
                                         TimingCase{0, 62, "Flush.cpp time = 0.062s"}),
                         [](const testing::TestParamInfo<TimingCase>& info) {
                             return "Timeout" + std::to_string(info.param.timeout) + "Elapsed" +
                                    std::to_string(info.param.elapsed);
                         });

TEST_F(WatchdogTest, OutOfOrderCompletionClosesEveryContractOfTheThread) {
    WatchdogRegister("worker");
    WatchdogContract* a = WatchdogContractStart("/x/A", 0);
    WatchdogContract* b = WatchdogContractStart("/x/B", 0);
    WatchdogContractComplete(a);
    EXPECT_EQ(Status(0), " [worker: 0.000s pc=0x00001234 (lkr=B)]");
    WatchdogContractComplete(b);
    EXPECT_EQ(trace_.Lines(), std::vector<TracedLine>(
                                  {{"WatchdogContractComplete", "L1 - A: contract completed out of order"},
                                   {"WatchdogContractComplete", "L1 - B: contract completed out of order"}}));
}

TEST_F(WatchdogTest, PoolHolds256OpenContracts) {
    WatchdogRegister("worker");
    std::vector<WatchdogContract*> open;
    for (int i = 0; i < WATCHDOG_MAX_CONTRACTS; ++i) open.push_back(WatchdogContractStart("c", 1000));
    EXPECT_EQ(std::count(open.begin(), open.end(), nullptr), 0);
    EXPECT_EQ(WatchdogContractStart("c", 1000), nullptr) << "the 257th contract";

    WatchdogContractComplete(open.back());
    EXPECT_NE(WatchdogContractStart("c", 1000), nullptr) << "a completed contract goes back to the pool";

    WatchdogContractComplete(open.front());
    for (int i = 0; i < WATCHDOG_MAX_CONTRACTS; ++i)
        ASSERT_NE(WatchdogContractStart("c", 1000), nullptr)
            << "out of order completion returns all to the pool";
}

TEST_F(WatchdogTest, UnregisteredThreadChangesNothing) {
    WatchdogRegister("worker");
    WatchdogContract* contract = WatchdogContractStart("job", 0);
    Advance(300);
    OnOtherThread([&] {
        WatchdogKeepalive("elsewhere");
        WatchdogSleep("elsewhere");
        EXPECT_EQ(WatchdogContractStart("job", 0), nullptr);
        WatchdogContractComplete(contract);
        WatchdogContractComplete(nullptr);
    });
    EXPECT_EQ(Status(0), " [worker: 0.300s pc=0x00001234 (job=0.300s)]");
    EXPECT_TRUE(trace_.Lines().empty());
}

TEST_F(WatchdogTest, StatusListsThreadsSilentForAtLeastTheThreshold) {
    WatchdogRegister("reader");
    WatchdogKeepalive("src/io/reader.cpp");
    Advance(100);
    OnOtherThread([] { WatchdogRegister("writer"); });
    Advance(2400);
    EXPECT_EQ(Status(2500), " [reader: 2.500s pc=0x00001234 (lkr=reader.cpp)]");
    EXPECT_EQ(Status(2400),
              " [reader: 2.500s pc=0x00001234 (lkr=reader.cpp)] [writer: 2.400s pc=0x00001234 (lkr=null)]");
    EXPECT_EQ(Status(2501), "");
}

TEST_F(WatchdogTest, OpenContractsAreListedFromTheMostRecent) {
    WatchdogRegister("worker");
    WatchdogContractStart("a/Load", 0);
    Advance(200);
    WatchdogContractStart("b\\Parse", 0);
    Advance(100);
    EXPECT_EQ(Status(0), " [worker: 0.300s pc=0x00001234 (Parse=0.100s Load=0.300s)]");
}

TEST_F(WatchdogTest, SleepingThreadIsNeverListed) {
    WatchdogRegister("worker");
    WatchdogSleep("idle.cpp");
    Advance(60000);
    EXPECT_EQ(Status(0), "");
    WatchdogKeepalive("busy.cpp");
    EXPECT_EQ(Status(0), " [worker: 0.000s pc=0x00001234 (lkr=busy.cpp)]");
    WatchdogSleep("idle.cpp");
    WatchdogRegister("worker");
    EXPECT_EQ(Status(0), " [worker: 0.000s pc=0x00001234 (lkr=idle.cpp)]");
}

TEST_F(WatchdogTest, RegisteringAgainRenamesAndKeepsContracts) {
    WatchdogRegister("abcdefghijklmnopqrst");
    EXPECT_EQ(Status(0), " [abcdefghijklmno: 0.000s pc=0x00001234 (lkr=null)]");
    WatchdogContractStart("job", 0);
    Advance(50);
    WatchdogRegister(nullptr);
    EXPECT_EQ(Status(0), " [null: 0.000s pc=0x00001234 (job=0.050s)]");
}

TEST_F(WatchdogTest, RegistrationBeyond32ThreadsIsRefused) {
    for (int i = 1; i < WATCHDOG_MAX_THREADS; ++i) OnOtherThread([] { WatchdogRegister("worker"); });
    WatchdogRegister("main");
    OnOtherThread([] {
        WatchdogRegister("extra");
        EXPECT_EQ(WatchdogContractStart("job", 0), nullptr);
    });
    const std::string status = Status(0);
    EXPECT_EQ(std::count(status.begin(), status.end(), '['), WATCHDOG_MAX_THREADS);
    EXPECT_EQ(status.find("extra"), std::string::npos);
    EXPECT_EQ(trace_.Lines(),
              std::vector<TracedLine>(
                  {{"WatchdogRegister", "L1 - Watchdog table full, thread extra not registered"}}));
}

// Every thread silent with many long contract names and the widest address: the status stays
// within its documented size and each entry's detail is cut at 127 characters.
TEST_F(WatchdogTest, StatusOfAFullTableFitsItsBuffer) {
    zema::SetInstructionAddressReader([](pid_t) { return UINT64_MAX; });
    static const std::string longName = "dir/" + std::string(100, 'n');
    for (int i = 0; i < WATCHDOG_MAX_THREADS; ++i)
        OnOtherThread([] {
            WatchdogRegister("abcdefghijklmnopqrst");
            for (int c = 0; c < WATCHDOG_MAX_CONTRACTS / WATCHDOG_MAX_THREADS; ++c)
                WatchdogContractStart(longName.c_str(), 0);
        });
    for (int i = 0; i < 10; ++i) {
        Advance(2000000000u);
        TimeGetTicks();
    }

    const std::string status = Status(0);

    EXPECT_LT(status.size(), static_cast<std::size_t>(WATCHDOG_STATUS_SIZE));
    // The detail " nnn...=20000000.000s nnn..." cut at 127 characters, shown without its blank.
    const std::string names(100, 'n');
    const std::string detail = (names + "=20000000.000s " + names).substr(0, 126);
    const std::string entry =
        std::string(" [abcdefghijklmno: 20000000.000s pc=0xffffffffffffffff (") + detail + ")]";
    std::string expected;
    for (int i = 0; i < WATCHDOG_MAX_THREADS; ++i) expected += entry;
    EXPECT_EQ(status, expected);
}

TEST_F(WatchdogTest, LongReportIsCutAt255Characters) {
    static const std::string longName(300, 'x');
    WatchdogRegister("worker");
    WatchdogContract* older = WatchdogContractStart(longName.c_str(), 0);
    WatchdogContractStart("newer", 0);
    WatchdogContractComplete(older);
    EXPECT_EQ(trace_.Lines(),
              std::vector<TracedLine>({{"WatchdogContractComplete", "L1 - " + longName.substr(0, 255)}}));
}

struct TextCase {
    const char* text;
    const char* shortName;
};

TEST(WatchdogShortName, LastComponentOfSlashOrBackslashPaths) {
    const std::vector<TextCase> cases{{"/usr/src/engine.cpp", "engine.cpp"},
                                      {"C:\\src\\engine.cpp", "engine.cpp"},
                                      {"dir\\sub/file.c", "file.c"},
                                      {"dir/sub\\file.c", "sub\\file.c"},
                                      {"plain", "plain"},
                                      {"trailing/", ""},
                                      {nullptr, "null"}};
    for (const TextCase& c : cases) EXPECT_STREQ(zema::WatchdogShortName(c.text), c.shortName) << c.shortName;
}

TEST(ElapsedText, SecondsAndThreeDigitsOfMilliseconds) {
    const std::vector<std::pair<uint64_t, const char*>> cases{{0, "0.000s"},
                                                              {62, "0.062s"},
                                                              {1005, "1.005s"},
                                                              {60000, "60.000s"},
                                                              {UINT64_MAX, "18446744073709551.615s"}};
    for (const auto& [milliseconds, text] : cases) EXPECT_STREQ(zema::ElapsedText(milliseconds).text, text);
}

TEST(InstructionAddressFromSyscallText, LastFieldOfABlockedThread) {
    const std::vector<std::pair<const char*, uint64_t>> cases{
        {"202 0x1 0x2 0x3 0x4 0x5 0x6 0x7ffd1000 0x7f00deadbeef\n", 0x7f00deadbeefull},
        {"-1 0x7ffd1000 0x401000\n", 0x401000},
        {"running\n", 0},
        {"", 0},
        {"202 0x1\n", 0},
        {"1 2 3\n", 0},
        {"-1 0x7ffd1000 0xzz\n", 0},
        {"-1 0x7ffd1000 0x401000zz\n", 0},
        {"x 0x7ffd1000 0x401000\n", 0},
    };
    for (const auto& [text, address] : cases)
        EXPECT_EQ(zema::InstructionAddressFromSyscallText(text), address) << text;
}

TEST(ReadThreadInstructionAddress, BlockedThreadHasAnAddressAndAnEndedOneNone) {
    if (access(("/proc/self/task/" + std::to_string(getpid()) + "/syscall").c_str(), R_OK) != 0)
        GTEST_SKIP() << "this kernel does not show where threads are blocked";
    std::promise<void> release;
    std::promise<pid_t> started;
    std::thread blocked([&] {
        started.set_value(gettid());
        release.get_future().wait();
    });
    const pid_t tid = started.get_future().get();
    uint64_t address = 0;
    for (int attempt = 0; attempt < 100 && address == 0; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        address = zema::ReadThreadInstructionAddress(tid);
    }
    release.set_value();
    blocked.join();
    EXPECT_NE(address, 0u);
    EXPECT_EQ(zema::ReadThreadInstructionAddress(tid), 0u);
}

// Workers and a supervisor on the real clock at the same time; run under ThreadSanitizer.
TEST(WatchdogThreads, ConcurrentWorkersAndSupervisor) {
    zema::ResetWatchdog();
    constexpr int kWorkers = 4;
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&] {
            WatchdogRegister("worker");
            for (int i = 0; i < 200; ++i) {
                WatchdogKeepalive("loop.cpp");
                WatchdogContract* outer = WatchdogContractStart("outer.cpp", 0);
                WatchdogContractComplete(WatchdogContractStart("inner.cpp", 1000));
                WatchdogContractComplete(outer);
            }
            WatchdogSleep("done.cpp");
            ++finished;
        });
    std::vector<char> out(WATCHDOG_STATUS_SIZE);
    while (finished.load() < kWorkers) WatchdogPrintStatus(out.data(), 0);
    for (std::thread& worker : workers) worker.join();
    WatchdogPrintStatus(out.data(), 0);
    EXPECT_STREQ(out.data(), "");
    zema::ResetWatchdog();
}

}  // namespace
