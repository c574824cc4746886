#pragma once
// The LE Meta events an emulated controller sends while it scans: LE Advertising Reports for
// legacy scanning, LE Extended Advertising Reports for extended scanning (an advertisement longer
// than one event holds arrives in fragments, the last one marked complete).

#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"
#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

using TLePacket = std::vector<std::uint8_t>;

// One advertisement as the scanner hears it.
struct TLeHeard {
    const TLeAdvertiser* advertiser = nullptr;
    TBdAddr address;
    std::int8_t rssi = 0;
    bool scanResponse = false;  // the answer to the scanner's scan request
};

// The legacy report of a legacy advertiser's advertisement or scan response (one packet).
TLePacket LeAdvertisingReport(const TLeHeard& heard);

// The extended report(s) of any advertiser, legacy PDUs included (one packet per fragment).
std::vector<TLePacket> LeExtendedAdvertisingReports(const TLeHeard& heard);

}  // namespace qm::bt::emu
