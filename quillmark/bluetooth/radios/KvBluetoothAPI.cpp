#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "quillmark/bluetooth/radios/MicrosoftRadioApi.h"
#include "quillmark/bluetooth/radios/RadioLayer.h"
#include "quillmark/bluetooth/radios/RadioName.h"
#include "quillmark/core/Trace.h"

namespace qm::bt {

TRadioLayer& RadioLayer() {
    static TRadioLayer layer;
    return layer;
}

void KvBTUsePlatform(TLocalRadios* localRadios, TRadioSwitches* switches) {
    RadioLayer().LocalRadios = localRadios;
    RadioLayer().Switches = switches;
}

namespace {

void StartWidcomm(TRadioLayer& layer) {
    try {
        layer.WidcommIf = std::make_unique<BTwCBtIf>();
        char version[CBTIF_VERSION_TEXT_SIZE] = {};
        const bool known = layer.WidcommIf->GetBTWVersionInfo(version, sizeof version) != 0;
        version[sizeof version - 1] = '\0';
        QM_TRACE("KvBTInitialize", 1, "Widcomm driver version: %s", known ? version : "not available");
    } catch (const TWidcommFailure& failure) {
        layer.WidcommIf.reset();
        if (failure.code == 1) QM_TRACE("KvBTInitialize", 10, "Widcomm Bluetooth driver wbtapi.dll not found");
        if (failure.code == 2) QM_TRACE("KvBTInitialize", 1, "Error: BTWrapper.dll failed to load");
    }
}

}  // namespace

int KvBTInitialize() {
    TRadioLayer& layer = RadioLayer();
    StartWidcomm(layer);
    BindMicrosoftRadioApi();
    layer.RadioMap = std::make_unique<TRadioMap>();
    return layer.RadioMap->Initialize() ? kRadioOk : kRadioStackFailed;
}

int KvBTShutdown() {
    TRadioLayer& layer = RadioLayer();
    layer.RadioMap.reset();
    layer.WidcommIf.reset();
    return kRadioOk;
}

TRadioMap* KvBTRadioMap() { return RadioLayer().RadioMap.get(); }

namespace {

std::size_t RadioCount() {
    const TRadioMap* map = KvBTRadioMap();
    return map != nullptr ? map->Count() : 0;
}

}  // namespace

int KvBTFindFirstRadio(TRadioFind*& find, std::uint64_t& address) {
    if (RadioCount() == 0) return kRadioNone;
    find = new TRadioFind;
    address = KvBTRadioMap()->Item(0).FAddress;
    return kRadioOk;
}

int KvBTFindNextRadio(TRadioFind* find, std::uint64_t& address) {
    if (find == nullptr || find->next > RadioCount()) return kRadioBadHandle;
    if (find->next == RadioCount()) return kRadioNone;
    address = KvBTRadioMap()->Item(find->next++).FAddress;
    return kRadioOk;
}

int KvBTFindRadioClose(TRadioFind* find) {
    if (find == nullptr || find->next > RadioCount()) return kRadioBadHandle;
    delete find;
    return kRadioOk;
}

namespace {

// The class of device of a Widcomm radio: major class 1, minor class 3, other bits kept.
std::uint32_t WidcommClass(std::uint32_t classOfDevice) {
    return (classOfDevice & ~0x1FFCu) | (1u << 8) | (3u << 2);
}

int WidcommRadioInfo(BLUETOOTH_RADIO_INFO& info, std::uint64_t address) {
    BTwCBtIf& widcomm = *RadioLayer().WidcommIf;
    unsigned char record[CBTIF_VERSION_RECORD_SIZE] = {};
    if (widcomm.GetLocalDeviceVersionInfo(record) == 0) return kRadioStackFailed;
    info.address = address;
    std::memcpy(&info.lmpSubversion, record + 12, sizeof info.lmpSubversion);
    std::memcpy(&info.manufacturer, record + 10, sizeof info.manufacturer);
    info.ulClassofDevice = WidcommClass(info.ulClassofDevice);
    char name[CBTIF_DEVICE_NAME_SIZE] = {};
    if (widcomm.GetLocalDeviceName(name) == 0) return kRadioStackFailed;
    SetRadioName(info, std::string_view(name, ::strnlen(name, sizeof name)));
    return kRadioOk;
}

// A controller that cannot be read leaves its error number in errno for the caller's message.
int BlueZRadioInfo(BLUETOOTH_RADIO_INFO& info, const TRadioMapItem& item) {
    TLocalRadios* radios = RadioLayer().LocalRadios;
    TLocalRadio radio;
    const int error = radios != nullptr ? radios->Read(item.FController, radio) : ENODEV;
    if (error != 0) {
        errno = error;
        return kRadioStackFailed;
    }
    info.address = RadioAddressKey(radio.address.bytes.data());
    SetRadioName(info, radio.name);
    info.ulClassofDevice = radio.classOfDevice;
    info.lmpSubversion = radio.lmpSubversion;
    info.manufacturer = radio.manufacturer;
    return kRadioOk;
}

}  // namespace

int KvBTGetRadioInfo(BLUETOOTH_RADIO_INFO& info, std::uint64_t address) {
    const TRadioMap* map = KvBTRadioMap();
    const TRadioMapItem* item = map != nullptr ? map->FindRadio(address) : nullptr;
    if (item == nullptr) return kRadioNone;
    switch (item->FStack) {
        case rsMicrosoft:
            return MicrosoftRadioApi().GetRadioInfo(item->FHandle, &info) == 0 ? kRadioOk : kRadioStackFailed;
        case rsWidcomm: return WidcommRadioInfo(info, address);
        case rsBlueZ: return BlueZRadioInfo(info, *item);
    }
    return kRadioUnknownStack;
}

namespace {

// A radio that is not in the map answers true: callers pass only addresses of the enumeration.
template <class TQuestion>
bool AskRadios(std::uint64_t address, TQuestion question) {
    const TRadioMap* map = KvBTRadioMap();
    if (address != 0) {
        const TRadioMapItem* item = map != nullptr ? map->FindRadio(address) : nullptr;
        return item == nullptr || question(*item);
    }
    for (std::size_t i = 0; i < RadioCount(); ++i)
        if (question(map->Item(i))) return true;
    return false;
}

}  // namespace

bool KvBTIsDiscoverable(std::uint64_t address) {
    return AskRadios(address, [](const TRadioMapItem& item) { return item.IsDiscoverable(); });
}

bool KvBTIsConnectable(std::uint64_t address) {
    return AskRadios(address, [](const TRadioMapItem& item) { return item.IsConnectable(); });
}

}  // namespace qm::bt
