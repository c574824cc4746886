#pragma once
// A session on a settable clock and a short way to put devices into its list, for the device view
// and filter tree tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/Clock.h"
#include "quillmark/core/DeviceAdvertising.h"
#include "quillmark/core/SessionState.h"

namespace uitest {

inline constexpr std::int32_t kNow = 1'700'000'000;

struct TDeviceFields {
    std::string address{};
    std::string name = "Unknown";
    std::int32_t lastSeen = kNow;
    std::string location{};
    std::int32_t majorClass = 0;
    std::int32_t minorClass = 0;
    std::vector<std::string> services{};  // one SDP record naming each
    std::int32_t seenCount = 1;
    std::int32_t flags = 0;
    std::optional<std::int8_t> signal{};   // dBm of the latest sighting
    qm::TDeviceAdvertising advertising{};  // what its sightings announced
};

// An SDP service record holding a handle and the service name (attribute 0x0100) as text.
std::string ServiceRecord(const std::string& name);

class TInventoryTest : public ::testing::Test {
protected:
    // Appends a device under the list's lock.
    void AddDevice(const TDeviceFields& fields);
    void AddDevices(const std::vector<TDeviceFields>& devices);
    // Deletes the first device with the address under the list's lock.
    void DeleteDevice(const std::string& address);

    qm::TSettableClock clock_{kNow};
    qm::TSessionState session_{clock_};
};

}  // namespace uitest
