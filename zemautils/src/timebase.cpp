// The tick counter widens the system's 32-bit millisecond counter to 64 bits: each reading adds
// the signed 32-bit difference to the previous reading when it is positive, so a wrap of the raw
// counter is bridged and the count never goes backwards.

#include <zemautils/timebase.h>

#include <pthread.h>
#include <time.h>

#include <atomic>
#include <cerrno>

#include "timebase_internal.h"

namespace {

std::uint32_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void NanosleepMilliseconds(std::uint64_t milliseconds) {
    timespec request{static_cast<time_t>(milliseconds / 1000u), static_cast<long>(milliseconds % 1000u) * 1000000L};
    while (nanosleep(&request, &request) == -1 && errno == EINTR) {
    }
}

std::atomic<zema::RawMillisecondSource> g_source{&MonotonicMilliseconds};
std::atomic<zema::MillisecondSleeper> g_sleeper{&NanosleepMilliseconds};

pthread_once_t g_once = PTHREAD_ONCE_INIT;
pthread_mutex_t g_mutex;
std::uint32_t g_lastRaw;
std::uint64_t g_count;

void SetUp() {
    pthread_mutex_init(&g_mutex, nullptr);
    g_lastRaw = g_source.load()();
    g_count = g_lastRaw;
}

}  // namespace

namespace zema {

void SetRawMillisecondSource(RawMillisecondSource source) {
    pthread_once(&g_once, SetUp);
    pthread_mutex_lock(&g_mutex);
    g_source.store(source ? source : &MonotonicMilliseconds);
    g_lastRaw = g_source.load()();
    g_count = g_lastRaw;
    pthread_mutex_unlock(&g_mutex);
}

void SetMillisecondSleeper(MillisecondSleeper sleeper) {
    g_sleeper.store(sleeper ? sleeper : &NanosleepMilliseconds);
}

}  // namespace zema

extern "C" {

uint64_t TimeGetTicks(void) {
    pthread_once(&g_once, SetUp);
    pthread_mutex_lock(&g_mutex);
    const std::uint32_t raw = g_source.load()();
    const auto difference = static_cast<std::int32_t>(raw - g_lastRaw);
    if (difference > 0) g_count += static_cast<std::uint64_t>(difference);
    g_lastRaw = raw;
    const std::uint64_t count = g_count;
    pthread_mutex_unlock(&g_mutex);
    return count;
}

uint64_t MillisecondCount(void) { return TimeGetTicks(); }

uint64_t TimerSleep(uint64_t milliseconds) {
    std::uint64_t now = TimeGetTicks();
    const std::uint64_t deadline = now + milliseconds;
    while (now < deadline) {
        g_sleeper.load()(deadline - now);
        now = TimeGetTicks();
    }
    return now;
}

void TimerSleepPollAuto(uint64_t* schedule, uint64_t period) {
    const std::uint64_t now = TimeGetTicks();
    if (*schedule == 0 || now - *schedule >= period) {
        *schedule = now;
        return;
    }
    TimerSleep(period - (now - *schedule));
    *schedule += period;
}

}  // extern "C"
