#pragma once
// A snapshot of the computer's local Bluetooth radios as the operator sees them: one record per
// radio of the radio layer, read in one start of the layer. Both front ends show these records.

#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/bluetooth/radios/WindowsRadioApi.h"
#include "quillmark/core/BluetoothNames.h"

namespace qm::bt {

struct TRadioInfo {
    std::string FName;
    std::string FAddressText;  // "00:0A:3A:12:34:56"
    std::string FManufacturer;
    std::string FVersion;  // the LMP subversion in decimal
    TDeviceType FType = dtOther;
    std::int32_t FMajorClass = 0;
    std::int32_t FMinorClass = 0;
    std::string FClassName;
    bool FDiscoverable = false;
    bool FConnectable = false;
};

// The record of one radio from its radio information and its two answers.
TRadioInfo MakeRadioInfo(const BLUETOOTH_RADIO_INFO& info, bool discoverable, bool connectable);

// The radio layer started for one reading, and shut down again on every way out.
class TRadioReading {
public:
    TRadioReading();
    ~TRadioReading();
    TRadioReading(const TRadioReading&) = delete;
    TRadioReading& operator=(const TRadioReading&) = delete;

    // Every radio in the layer's order. A radio that cannot be read raises TError "Unable to read
    // radio information: " with the last system error's text; the enumeration is closed first.
    std::vector<TRadioInfo> ReadAll();
};

}  // namespace qm::bt
