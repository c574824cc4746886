#include "quillmark/bluetooth/radios/RadioMap.h"

#include <vector>

#include "quillmark/bluetooth/radios/MicrosoftRadioApi.h"
#include "quillmark/bluetooth/radios/RadioLayer.h"
#include "quillmark/bluetooth/radios/RadioName.h"
#include "quillmark/core/Trace.h"

namespace qm::bt {

std::uint64_t RadioAddressKey(const std::uint8_t* mostSignificantFirst) {
    std::uint64_t key = 0;
    for (int i = 0; i < 6; ++i) key = (key << 8) | mostSignificantFirst[i];
    return key;
}

TRadioMapItem::TRadioMapItem(TRadioStack stack, HANDLE handle, std::uint64_t address, std::uint16_t controller)
    : FAddress(address), FStack(stack), FHandle(handle), FController(controller) {}

TRadioMapItem::~TRadioMapItem() {
    const TMicrosoftRadioApi& api = MicrosoftRadioApi();
    if (FHandle != nullptr && api.CloseHandle != nullptr) api.CloseHandle(FHandle);
}

namespace {

int ResultOf(bool succeeded) { return succeeded ? kRadioOk : kRadioStackFailed; }

// One yes-or-no question, as each stack asks it.
struct TQuestion {
    PFN_BluetoothIsDiscoverable TMicrosoftRadioApi::*microsoft;
    int (BTwCBtIf::*widcomm)();
    bool TLocalRadio::*controller;
};

constexpr TQuestion kDiscoverable{&TMicrosoftRadioApi::IsDiscoverable, &BTwCBtIf::IsDiscoverable,
                                  &TLocalRadio::discoverable};
constexpr TQuestion kConnectable{&TMicrosoftRadioApi::IsConnectable, &BTwCBtIf::IsConnectable,
                                 &TLocalRadio::connectable};

bool Ask(const TRadioMapItem& item, const TQuestion& question) {
    switch (item.FStack) {
        case rsMicrosoft: return (MicrosoftRadioApi().*question.microsoft)(item.FHandle) != 0;
        case rsWidcomm: return (RadioLayer().WidcommIf.get()->*question.widcomm)() != 0;
        case rsBlueZ: {
            TLocalRadios* radios = RadioLayer().LocalRadios;
            TLocalRadio radio;
            return radios != nullptr && radios->Read(item.FController, radio) == 0 && radio.*question.controller;
        }
    }
    return false;
}

}  // namespace

bool TRadioMapItem::IsDiscoverable() const { return Ask(*this, kDiscoverable); }

bool TRadioMapItem::IsConnectable() const { return Ask(*this, kConnectable); }

// A radio is made connectable before it is made discoverable.
int TRadioMapItem::SetDiscoverable(bool on) {
    switch (FStack) {
        case rsMicrosoft: {
            const TMicrosoftRadioApi& api = MicrosoftRadioApi();
            if (on) api.EnableIncomingConnections(FHandle, 1);
            return ResultOf(api.EnableDiscovery(FHandle, on ? 1 : 0) == 1);
        }
        case rsWidcomm: return ResultOf(RadioLayer().WidcommIf->SetDiscoverable(on) == 1);
        case rsBlueZ: {
            TLocalRadios* radios = RadioLayer().LocalRadios;
            if (radios == nullptr) return kRadioStackFailed;
            if (on) radios->SetConnectable(FController, true);
            return ResultOf(radios->SetDiscoverable(FController, on) == 0);
        }
    }
    return kRadioUnknownStack;
}

// A radio is made undiscoverable before it is made unconnectable.
int TRadioMapItem::SetConnectable(bool on) {
    switch (FStack) {
        case rsMicrosoft: {
            const TMicrosoftRadioApi& api = MicrosoftRadioApi();
            if (!on) api.EnableDiscovery(FHandle, 0);
            return ResultOf(api.EnableIncomingConnections(FHandle, on ? 1 : 0) == 1);
        }
        case rsWidcomm: return ResultOf(RadioLayer().WidcommIf->SetConnectable(on) == 1);
        case rsBlueZ: {
            TLocalRadios* radios = RadioLayer().LocalRadios;
            if (radios == nullptr) return kRadioStackFailed;
            if (!on) radios->SetDiscoverable(FController, false);
            return ResultOf(radios->SetConnectable(FController, on) == 0);
        }
    }
    return kRadioUnknownStack;
}

bool TRadioMap::Initialize() {
    QM_TRACE("TRadioMap::Initialize", 10, "Searching for adapters");
    if (!AddMicrosoftRadios()) return false;
    AddWidcommRadio();
    AddBlueZRadios();
    return true;
}

void TRadioMap::AddRadio(TRadioStack stack, HANDLE handle, std::uint64_t address, std::uint16_t controller) {
    FItems.push_back(std::make_unique<TRadioMapItem>(stack, handle, address, controller));
}

TRadioMapItem* TRadioMap::FindRadio(std::uint64_t address) const {
    for (const auto& item : FItems)
        if (item->FAddress == address) return item.get();
    return nullptr;
}

bool TRadioMap::AddMicrosoftRadios() {
    const TMicrosoftRadioApi& api = MicrosoftRadioApi();
    if (!api.Present()) return true;
    const BLUETOOTH_FIND_RADIO_PARAMS params{sizeof(BLUETOOTH_FIND_RADIO_PARAMS)};
    HANDLE radio = nullptr;
    HBLUETOOTH_RADIO_FIND find = api.FindFirstRadio(&params, &radio);
    if (find == nullptr) return true;
    do {
        BLUETOOTH_RADIO_INFO info{};
        info.dwSize = sizeof info;
        if (const DWORD result = api.GetRadioInfo(radio, &info); result != 0) {
            QM_TRACE("TRadioMap::Initialize", 1, "Error returned by BluetoothGetRadioInfo %d", static_cast<int>(result));
            if (api.CloseHandle != nullptr) api.CloseHandle(radio);
            api.FindRadioClose(find);
            return false;
        }
        AddRadio(rsMicrosoft, radio, info.address);
        QM_TRACE("TRadioMap::Initialize", 10, "Found MS API Adapter %s", RadioNameText(info).c_str());
    } while (api.FindNextRadio(find, &radio) != 0);
    api.FindRadioClose(find);
    return true;
}

void TRadioMap::AddWidcommRadio() {
    BTwCBtIf* widcomm = RadioLayer().WidcommIf.get();
    unsigned char record[CBTIF_VERSION_RECORD_SIZE] = {};
    if (widcomm == nullptr || widcomm->GetLocalDeviceVersionInfo(record) == 0) return;
    AddRadio(rsWidcomm, nullptr, RadioAddressKey(record));
    QM_TRACE("TRadioMap::Initialize", 10, "Found Widcomm API Adapter");
}

void TRadioMap::AddBlueZRadios() {
    TLocalRadios* local = RadioLayer().LocalRadios;
    std::vector<TLocalRadio> radios;
    if (local == nullptr || local->List(radios) != 0) return;
    for (const TLocalRadio& radio : radios) {
        AddRadio(rsBlueZ, nullptr, RadioAddressKey(radio.address.bytes.data()), radio.index);
        QM_TRACE("TRadioMap::Initialize", 10, "Found BlueZ Adapter %s", radio.name.c_str());
    }
}

}  // namespace qm::bt
