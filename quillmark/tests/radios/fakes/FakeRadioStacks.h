#pragma once
// The state of the fake "irprops.cpl" and "BTWrapper.dll" the radio tests load: what each entry
// point answers and what it was called with. A test reaches it through the control entry point
// each fake library exports besides the real ones.

#include <cstdint>

#include "quillmark/bluetooth/radios/WindowsRadioApi.h"

inline constexpr int kFakeMaxRadios = 4;

struct TFakeMicrosoftRadio {
    BLUETOOTH_RADIO_INFO info;
    DWORD infoResult;  // what BluetoothGetRadioInfo answers; 0 fills the record
    BOOL discoverable;
    BOOL connectable;
    BOOL enableDiscoveryResult;
    BOOL enableConnectionsResult;
};

struct TFakeMicrosoftState {
    int radioCount;
    TFakeMicrosoftRadio radios[kFakeMaxRadios];
    int openRadioHandles;  // handed out and not yet closed
    int openFinds;
    char calls[2048];  // "EnableIncomingConnections 0 1;" ... one entry per switching call
};

struct TFakeWidcommState {
    CBTIF_INSTANCE instance;  // what CBtIf_Create answers
    int created;
    int destroyed;
    int wrongInstance;  // calls that passed another instance
    int32_t versionResult;
    char versionText[CBTIF_VERSION_TEXT_SIZE];
    int32_t versionRecordResult;
    unsigned char versionRecord[CBTIF_VERSION_RECORD_SIZE];
    int32_t nameResult;
    char name[CBTIF_DEVICE_NAME_SIZE];
    int32_t discoverable;
    int32_t connectable;
    int32_t setResult;  // what the three switching calls answer
    char calls[2048];
};

extern "C" {
TFakeMicrosoftState* FakeMicrosoftState();
TFakeWidcommState* FakeWidcommState();
}

using PFN_FakeMicrosoftState = TFakeMicrosoftState* (*)();
using PFN_FakeWidcommState = TFakeWidcommState* (*)();
