// The watchdog: a table of up to 32 registered threads and a pool of 256 contracts, all under one
// mutex. Every operation holds the mutex for its whole run and reads the tick counter while holding
// it (lock order: watchdog mutex, then tick counter mutex); trace lines are written after unlocking.
// Threads are identified by their kernel thread id, which also locates their instruction address.

#include <zemautils/timebase.h>
#include <zemautils/trace.h>
#include <zemautils/watchdog.h>

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cinttypes>
#include <cstdint>
#include <cstring>

#include "bounded_text.h"
#include "service_trace.h"
#include "thread_instruction_address.h"
#include "watchdog_internal.h"
#include "watchdog_text.h"

struct WatchdogContract {
    WatchdogContract* next;
    std::uint64_t start;
    std::uint32_t timeout;
    const char* name;
};

namespace {

constexpr std::size_t kNameCapacity = 16;
constexpr std::size_t kDetailCapacity = 128;
constexpr std::size_t kReportCapacity = 256;

// The longest status entry: " [" name ": " elapsed " pc=0x" address " (" detail ")]".
constexpr std::size_t kLongestEntry = 2 + (kNameCapacity - 1) + 2 + (sizeof(zema::ElapsedText::text) - 1) +
                                      6 + 16 + 2 + (kDetailCapacity - 2) + 2;
static_assert(WATCHDOG_MAX_THREADS * kLongestEntry < WATCHDOG_STATUS_SIZE,
              "the status buffer holds an entry for every thread");

struct ThreadRecord {
    pid_t thread;
    std::uint64_t lastActivity;
    bool sleeping;
    char name[kNameCapacity];
    WatchdogContract* contracts;  // most recent first
    const char* lastLocation;
};

struct WatchdogState {
    ThreadRecord threads[WATCHDOG_MAX_THREADS];
    std::size_t threadCount;
    WatchdogContract pool[WATCHDOG_MAX_CONTRACTS];
    WatchdogContract* freeList;
};

pthread_once_t g_once = PTHREAD_ONCE_INIT;
pthread_mutex_t g_mutex;
WatchdogState g_state;
std::atomic<zema::InstructionAddressReader> g_readInstructionAddress{&zema::ReadThreadInstructionAddress};

void ResetState() {
    std::memset(&g_state, 0, sizeof g_state);
    for (std::size_t i = 0; i + 1 < WATCHDOG_MAX_CONTRACTS; ++i) g_state.pool[i].next = &g_state.pool[i + 1];
    g_state.freeList = &g_state.pool[0];
}

void SetUp() {
    pthread_mutex_init(&g_mutex, nullptr);
    ResetState();
}

// Holds the watchdog mutex for a scope; sets the state up on first use.
class WatchdogLock {
public:
    WatchdogLock() {
        pthread_once(&g_once, SetUp);
        pthread_mutex_lock(&g_mutex);
    }
    ~WatchdogLock() { pthread_mutex_unlock(&g_mutex); }
    WatchdogLock(const WatchdogLock&) = delete;
    WatchdogLock& operator=(const WatchdogLock&) = delete;
};

pid_t CallingThread() {
    thread_local const pid_t tid = gettid();
    return tid;
}

ThreadRecord* FindCaller() {
    const pid_t self = CallingThread();
    for (std::size_t i = 0; i < g_state.threadCount; ++i)
        if (g_state.threads[i].thread == self) return &g_state.threads[i];
    return nullptr;
}

ThreadRecord* AddCaller() {
    if (g_state.threadCount == WATCHDOG_MAX_THREADS) return nullptr;
    ThreadRecord* record = &g_state.threads[g_state.threadCount++];
    *record = ThreadRecord{};
    record->thread = CallingThread();
    return record;
}

// Whether contract is one of the pool's records; anything else is not ours to read.
bool InPool(const WatchdogContract* contract) {
    const auto address = reinterpret_cast<std::uintptr_t>(contract);
    const auto first = reinterpret_cast<std::uintptr_t>(&g_state.pool[0]);
    return address >= first && address - first < sizeof g_state.pool &&
           (address - first) % sizeof(WatchdogContract) == 0;
}

void Release(WatchdogContract* contract) {
    contract->next = g_state.freeList;
    g_state.freeList = contract;
}

void ReleaseAll(ThreadRecord* record) {
    while (WatchdogContract* contract = record->contracts) {
        record->contracts = contract->next;
        Release(contract);
    }
}

void CopyName(char (&target)[kNameCapacity], const char* name) {
    const char* source = name ? name : "null";
    const std::size_t length = strnlen(source, kNameCapacity - 1);
    std::memcpy(target, source, length);
    target[length] = '\0';
}

void ReportActivity(const char* location, bool sleeping) {
    const WatchdogLock lock;
    const std::uint64_t now = TimeGetTicks();
    ThreadRecord* record = FindCaller();
    if (!record) return;
    record->lastActivity = now;
    record->lastLocation = location;
    record->sleeping = sleeping;
}

// " lkr=<last location>", or " <contract>=<elapsed>" for each open contract from the most recent.
void AppendDetail(zema::BoundedText& detail, const ThreadRecord& record, std::uint64_t now) {
    if (!record.contracts) {
        detail.Append(" lkr=%s", zema::WatchdogShortName(record.lastLocation));
        return;
    }
    for (const WatchdogContract* contract = record.contracts; contract; contract = contract->next)
        detail.Append(" %s=%s", zema::WatchdogShortName(contract->name),
                      zema::ElapsedText(now - contract->start).text);
}

void AppendEntry(zema::BoundedText& status, const ThreadRecord& record, std::uint64_t now) {
    char detailBuffer[kDetailCapacity];
    zema::BoundedText detail(detailBuffer, sizeof detailBuffer);
    AppendDetail(detail, record, now);
    const std::uint64_t address = g_readInstructionAddress.load()(record.thread);
    status.Append(" [%s: %s pc=0x%08" PRIx64 " (%s)]", record.name,
                  zema::ElapsedText(now - record.lastActivity).text, address,
                  detail.Length() > 0 ? detail.Text() + 1 : "");
}

}  // namespace

namespace zema {

void ResetWatchdog() {
    const WatchdogLock lock;
    ResetState();
}

void SetInstructionAddressReader(InstructionAddressReader reader) {
    g_readInstructionAddress.store(reader ? reader : &ReadThreadInstructionAddress);
}

}  // namespace zema

extern "C" {

void WatchdogRegister(const char* name) {
    bool registered = false;
    {
        const WatchdogLock lock;
        const std::uint64_t now = TimeGetTicks();
        ThreadRecord* record = FindCaller();
        if (!record) record = AddCaller();
        if (record) {
            CopyName(record->name, name);
            record->sleeping = false;
            record->lastActivity = now;
            registered = true;
        }
    }
    if (!registered)
        zema::TraceServiceLine(TRACE_MODULE_ENGINE, 1, "WatchdogRegister", __LINE__,
                               "Watchdog table full, thread %s not registered", name ? name : "null");
}

void WatchdogKeepalive(const char* location) {
    ReportActivity(location, false);
}

void WatchdogSleep(const char* location) {
    ReportActivity(location, true);
}

WatchdogContract* WatchdogContractStart(const char* name, uint32_t timeoutMilliseconds) {
    const WatchdogLock lock;
    const std::uint64_t now = TimeGetTicks();
    ThreadRecord* record = FindCaller();
    if (!record) return nullptr;
    record->lastLocation = name;
    WatchdogContract* contract = g_state.freeList;
    if (!contract) return nullptr;
    g_state.freeList = contract->next;
    *contract = WatchdogContract{record->contracts, now, timeoutMilliseconds, name};
    record->contracts = contract;
    return contract;
}

void WatchdogContractComplete(WatchdogContract* contract) {
    if (!contract) return;
    char reportBuffer[kReportCapacity];
    zema::BoundedText report(reportBuffer, sizeof reportBuffer);
    {
        const WatchdogLock lock;
        const std::uint64_t now = TimeGetTicks();
        ThreadRecord* record = FindCaller();
        if (!record || !InPool(contract)) return;
        const char* shortName = zema::WatchdogShortName(contract->name);
        if (record->contracts == contract) {
            const std::uint64_t elapsed = now - contract->start;
            const bool inTime = elapsed < contract->timeout;
            record->contracts = contract->next;
            Release(contract);
            if (inTime) return;
            report.Append("%s time = %s", shortName, zema::ElapsedText(elapsed).text);
        } else {
            report.Append("%s: contract completed out of order", shortName);
            ReleaseAll(record);
        }
    }
    zema::TraceServiceLine(TRACE_MODULE_ENGINE, 1, "WatchdogContractComplete", __LINE__, "%s", report.Text());
}

void WatchdogPrintStatus(char* out, uint32_t thresholdMilliseconds) {
    if (!out) return;
    const WatchdogLock lock;
    const std::uint64_t now = TimeGetTicks();
    zema::BoundedText status(out, WATCHDOG_STATUS_SIZE);
    for (std::size_t i = 0; i < g_state.threadCount; ++i) {
        const ThreadRecord& record = g_state.threads[i];
        if (record.sleeping || now - record.lastActivity < thresholdMilliseconds) continue;
        AppendEntry(status, record, now);
    }
}

}  // extern "C"
