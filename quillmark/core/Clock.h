#pragma once
// The current time in seconds since 1970-01-01 UTC, behind an interface so that tests (and the
// emulated radio) can set it. Time stamps of the inventory are signed 32-bit seconds; sightings
// are stamped in milliseconds.

#include <atomic>
#include <cstdint>

namespace qm {

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::int32_t Now() const = 0;
    // Milliseconds since 1970-01-01 UTC; a clock without a finer reading gives its seconds.
    virtual std::int64_t NowMs() const { return std::int64_t{Now()} * 1000; }
};

// The system's real-time clock.
const IClock& SystemClock();

// A clock that shows what it was last set to; safe to read from any thread while it is set.
class TSettableClock : public IClock {
public:
    explicit TSettableClock(std::int32_t now = 0) : now_(now) {}
    std::int32_t Now() const override { return now_.load(std::memory_order_relaxed); }
    void Set(std::int32_t now) { now_.store(now, std::memory_order_relaxed); }
    void Advance(std::int32_t seconds) { now_.fetch_add(seconds, std::memory_order_relaxed); }

private:
    std::atomic<std::int32_t> now_;
};

}  // namespace qm
