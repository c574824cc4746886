#pragma once
// The sighting history: per device, per UTC minute and per location, how often it was sighted and
// how strong its signal was; per device, the latest raw inquiry response. The front ends keep it
// in an embedded database beside the session file; a server database can take its place behind
// the same interfaces.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/Sighting.h"
#include "quillmark/core/SightingSink.h"

namespace qm {

// One row of the history: a minute, or an hour once the minutes are old enough to be rolled up.
struct THistoryMinute {
    std::int64_t minuteMs = 0;     // start of the UTC minute (or hour), milliseconds since 1970
    std::int32_t spanMinutes = 1;  // 1 for a minute row, 60 for an hour row
    std::string location;
    TTransport transport = TTransport::Classic;
    std::int64_t sightings = 0;
    std::optional<int> rssiMin;  // dBm; none when no sighting of the row carried a signal
    std::optional<int> rssiMax;
    std::optional<double> rssiMean;
};

struct THistoryDeviceSummary {
    std::string address;          // "(00:11:22:AA:BB:CC)"
    std::int64_t firstMinuteMs = 0;
    std::int64_t lastMinuteMs = 0;
    std::int64_t minutesPresent = 0;
    std::vector<std::string> locations;  // in the order they were first seen
};

// A device's latest sighting: its time, the signal of the latest sighting that carried one, and
// the latest raw inquiry response (later: advertising data) that it sent.
struct THistoryLatest {
    std::int64_t receivedMs = 0;
    std::optional<std::int8_t> rssi;
    std::string eir;  // empty when no sighting carried one
};

// Reads the history. Each call raises TError with the reason when the store cannot be read.
class IHistoryReader {
public:
    virtual ~IHistoryReader() = default;
    // The device's rows whose minute lies in [fromMs, toMs), oldest first.
    virtual std::vector<THistoryMinute> Minutes(const std::string& address, std::int64_t fromMs,
                                                std::int64_t toMs) = 0;
    // Every device with history, in address order.
    virtual std::vector<THistoryDeviceSummary> Summary() = 0;
    virtual std::optional<THistoryLatest> Latest(const std::string& address) = 0;
};

// Where a store says, once each, that it started afresh, stopped or resumed writing, or is off.
using THistoryLog = std::function<void(const std::string&)>;

// Writes the history: takes recorded sightings and deletions without blocking on I/O, writes them
// on a thread of its own.
class IHistoryStore : public ISightingSink {
public:
    // Deletes the history of the devices, after every sighting handed over before.
    virtual void DeleteDevices(std::vector<std::string> addresses) = 0;
    // Returns once everything handed over before is written (or dropped by a write failure).
    virtual void Flush() = 0;
};

}  // namespace qm
