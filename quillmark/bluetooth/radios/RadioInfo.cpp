#include "quillmark/bluetooth/radios/RadioInfo.h"

#include <cstdio>

#include "quillmark/base/Error.h"
#include "quillmark/base/SystemErrorText.h"
#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"
#include "quillmark/bluetooth/radios/RadioName.h"

namespace qm::bt {

namespace {

std::string AddressText(std::uint64_t address) {
    char text[18];
    std::snprintf(text, sizeof text, "%2.2X:%2.2X:%2.2X:%2.2X:%2.2X:%2.2X", unsigned(address >> 40 & 0xFF),
                  unsigned(address >> 32 & 0xFF), unsigned(address >> 24 & 0xFF), unsigned(address >> 16 & 0xFF),
                  unsigned(address >> 8 & 0xFF), unsigned(address & 0xFF));
    return text;
}

// Closes the enumeration on every way out.
class TFindGuard {
public:
    explicit TFindGuard(TRadioFind* find) : FFind(find) {}
    ~TFindGuard() { KvBTFindRadioClose(FFind); }
    TFindGuard(const TFindGuard&) = delete;
    TFindGuard& operator=(const TFindGuard&) = delete;

private:
    TRadioFind* FFind;
};

TRadioInfo ReadRadio(std::uint64_t address) {
    BLUETOOTH_RADIO_INFO info{};
    info.dwSize = sizeof info;
    if (KvBTGetRadioInfo(info, address) != kRadioOk)
        throw TError("Unable to read radio information: " + SystemErrorText());
    return MakeRadioInfo(info, KvBTIsDiscoverable(address), KvBTIsConnectable(address));
}

}  // namespace

TRadioInfo MakeRadioInfo(const BLUETOOTH_RADIO_INFO& info, bool discoverable, bool connectable) {
    TRadioInfo radio;
    radio.FName = RadioNameText(info);
    radio.FAddressText = AddressText(info.address);
    radio.FMajorClass = static_cast<std::int32_t>((info.ulClassofDevice >> 8) & 0x1F);
    radio.FMinorClass = static_cast<std::int32_t>((info.ulClassofDevice & 0xFC) >> 2);
    radio.FType = DeviceTypeOfClass(radio.FMajorClass, radio.FMinorClass);
    radio.FManufacturer = ManufacturerName(info.manufacturer);
    radio.FClassName = DeviceClassName(radio.FMajorClass, radio.FMinorClass);
    radio.FVersion = std::to_string(info.lmpSubversion);
    radio.FDiscoverable = discoverable;
    radio.FConnectable = connectable;
    return radio;
}

TRadioReading::TRadioReading() { KvBTInitialize(); }

TRadioReading::~TRadioReading() { KvBTShutdown(); }

std::vector<TRadioInfo> TRadioReading::ReadAll() {
    std::vector<TRadioInfo> radios;
    TRadioFind* find = nullptr;
    std::uint64_t address = 0;
    if (KvBTFindFirstRadio(find, address) != kRadioOk) return radios;
    TFindGuard guard(find);
    do {
        radios.push_back(ReadRadio(address));
    } while (KvBTFindNextRadio(find, address) == kRadioOk);
    return radios;
}

}  // namespace qm::bt
