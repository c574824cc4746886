#include "quillmark/bluetooth/radios/MicrosoftRadioApi.h"

#include "quillmark/bluetooth/radios/SharedLibrary.h"

namespace qm::bt {

TMicrosoftRadioApi& MicrosoftRadioApi() {
    static TMicrosoftRadioApi api;
    return api;
}

namespace {

// Binds one function into its slot; false when the library does not export it.
template <class TFunction>
bool BindInto(const TSharedLibrary& library, const char* name, TFunction& slot) {
    TFunction function = library.Bind<TFunction>(name);
    if (function == nullptr) return false;
    slot = function;
    return true;
}

bool BindRadioFunctions(const TSharedLibrary& library, TMicrosoftRadioApi& api) {
    return BindInto(library, "BluetoothFindFirstRadio", api.FindFirstRadio) &&
           BindInto(library, "BluetoothFindNextRadio", api.FindNextRadio) &&
           BindInto(library, "BluetoothFindRadioClose", api.FindRadioClose) &&
           BindInto(library, "BluetoothGetRadioInfo", api.GetRadioInfo) &&
           BindInto(library, "BluetoothEnableDiscovery", api.EnableDiscovery) &&
           BindInto(library, "BluetoothIsDiscoverable", api.IsDiscoverable) &&
           BindInto(library, "BluetoothEnableIncomingConnections", api.EnableIncomingConnections) &&
           BindInto(library, "BluetoothIsConnectable", api.IsConnectable);
}

}  // namespace

void BindMicrosoftRadioApi() {
    TSharedLibrary library;
    if (!library.Load("irprops.cpl")) return;
    TMicrosoftRadioApi& api = MicrosoftRadioApi();
    if (!BindRadioFunctions(library, api)) api.FindFirstRadio = nullptr;
    api.CloseHandle = library.Bind<PFN_CloseHandle>("CloseHandle");
    library.KeepLoaded();
}

}  // namespace qm::bt
