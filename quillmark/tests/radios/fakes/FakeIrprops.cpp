// A stand-in for the platform's radio library: radios, answers and failures as the test sets them.
// Built once complete and once without BluetoothIsConnectable (QM_FAKE_WITHOUT_IS_CONNECTABLE).
#include <cstdio>
#include <cstring>

#include "FakeRadioStacks.h"

namespace {

TFakeMicrosoftState state;

struct TFind {
    int next;
};
struct TRadioHandle {
    int index;
};

HANDLE OpenRadio(int index) {
    ++state.openRadioHandles;
    return new TRadioHandle{index};
}

TFakeMicrosoftRadio& RadioOf(HANDLE handle) { return state.radios[static_cast<TRadioHandle*>(handle)->index]; }

void Record(const char* call, HANDLE radio, BOOL flag) {
    const std::size_t used = std::strlen(state.calls);
    std::snprintf(state.calls + used, sizeof state.calls - used, "%s %d %d;", call,
                  static_cast<TRadioHandle*>(radio)->index, flag);
}

}  // namespace

extern "C" {

TFakeMicrosoftState* FakeMicrosoftState() { return &state; }

HBLUETOOTH_RADIO_FIND BluetoothFindFirstRadio(const BLUETOOTH_FIND_RADIO_PARAMS* params, HANDLE* radio) {
    if (params == nullptr || params->dwSize != sizeof *params || state.radioCount == 0) return nullptr;
    ++state.openFinds;
    *radio = OpenRadio(0);
    return new TFind{1};
}

BOOL BluetoothFindNextRadio(HBLUETOOTH_RADIO_FIND find, HANDLE* radio) {
    auto* position = static_cast<TFind*>(find);
    if (position->next >= state.radioCount) return 0;
    *radio = OpenRadio(position->next++);
    return 1;
}

BOOL BluetoothFindRadioClose(HBLUETOOTH_RADIO_FIND find) {
    --state.openFinds;
    delete static_cast<TFind*>(find);
    return 1;
}

DWORD BluetoothGetRadioInfo(HANDLE radio, BLUETOOTH_RADIO_INFO* info) {
    if (info->dwSize != sizeof *info) return 87;
    const TFakeMicrosoftRadio& fake = RadioOf(radio);
    if (fake.infoResult != 0) return fake.infoResult;
    *info = fake.info;
    info->dwSize = sizeof *info;
    return 0;
}

BOOL BluetoothEnableDiscovery(HANDLE radio, BOOL enabled) {
    Record("EnableDiscovery", radio, enabled);
    return RadioOf(radio).enableDiscoveryResult;
}

BOOL BluetoothIsDiscoverable(HANDLE radio) { return RadioOf(radio).discoverable; }

BOOL BluetoothEnableIncomingConnections(HANDLE radio, BOOL enabled) {
    Record("EnableIncomingConnections", radio, enabled);
    return RadioOf(radio).enableConnectionsResult;
}

#ifndef QM_FAKE_WITHOUT_IS_CONNECTABLE
BOOL BluetoothIsConnectable(HANDLE radio) { return RadioOf(radio).connectable; }
#endif

BOOL CloseHandle(HANDLE handle) {
    --state.openRadioHandles;
    delete static_cast<TRadioHandle*>(handle);
    return 1;
}

}  // extern "C"
