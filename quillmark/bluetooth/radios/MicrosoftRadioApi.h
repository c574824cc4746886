#pragma once
// The platform's radio functions, bound from "irprops.cpl" for the whole process. The Microsoft
// stack counts as present exactly when BluetoothFindFirstRadio is bound.

#include "quillmark/bluetooth/radios/WindowsRadioApi.h"

namespace qm::bt {

struct TMicrosoftRadioApi {
    PFN_BluetoothFindFirstRadio FindFirstRadio = nullptr;
    PFN_BluetoothFindNextRadio FindNextRadio = nullptr;
    PFN_BluetoothFindRadioClose FindRadioClose = nullptr;
    PFN_BluetoothGetRadioInfo GetRadioInfo = nullptr;
    PFN_BluetoothEnableDiscovery EnableDiscovery = nullptr;
    PFN_BluetoothIsDiscoverable IsDiscoverable = nullptr;
    PFN_BluetoothEnableIncomingConnections EnableIncomingConnections = nullptr;
    PFN_BluetoothIsConnectable IsConnectable = nullptr;
    // Closes a radio handle; bound from the same library when it exports one.
    PFN_CloseHandle CloseHandle = nullptr;

    bool Present() const { return FindFirstRadio != nullptr; }
};

// The bindings, kept from one start of the radio layer to the next.
TMicrosoftRadioApi& MicrosoftRadioApi();

// Loads "irprops.cpl" and binds its eight radio functions in order. A missing function stops the
// binding and leaves the stack absent; a library that does not load leaves the bindings as they
// were. A loaded library stays loaded for the rest of the process.
void BindMicrosoftRadioApi();

}  // namespace qm::bt
