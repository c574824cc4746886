#include "quillmark/bluetooth/radios/BTwCBtIf.h"

namespace qm::bt {

namespace {

template <class TFunction>
void BindRequired(const TSharedLibrary& library, const char* name, TFunction& slot) {
    slot = library.Bind<TFunction>(name);
    if (slot == nullptr) throw TWidcommFailure{0};
}

}  // namespace

BTwCBtIf::BTwCBtIf() {
    if (!IsOnLibrarySearchPath("wbtapi.dll")) throw TWidcommFailure{1};
    if (!FModule.Load("BTWrapper.dll")) throw TWidcommFailure{2};
    PFN_CBtIf_Create create = nullptr;
    BindRequired(FModule, "CBtIf_Create", create);
    FInstance = create();
    BindEntryPoints();
}

// The unused entry points are bound only because a complete wrapper exports them.
void BTwCBtIf::BindEntryPoints() {
    BindRequired(FModule, "CBtIf_Destroy", FDestroy);
    BindRequired(FModule, "CBtIf_StartInquiry", FStartInquiry);
    BindRequired(FModule, "CBtIf_StopInquiry", FStopInquiry);
    BindRequired(FModule, "CBtIf_GetDKVersionInfo", FGetDKVersionInfo);
    BindRequired(FModule, "CBtIf_GetBTWVersionInfo", FGetBTWVersionInfo);
    BindRequired(FModule, "CBtIf_GetLocalDeviceName", FGetLocalDeviceName);
    BindRequired(FModule, "CBtIf_GetLocalDeviceVersionInfo", FGetLocalDeviceVersionInfo);
    BindRequired(FModule, "CBtIf_IsAdapterEnabled", FIsAdapterEnabled);
    BindRequired(FModule, "CBtIf_AdapterEnable", FAdapterEnable);
    BindRequired(FModule, "CBtIf_IsDiscoverable", FIsDiscoverable);
    BindRequired(FModule, "CBtIf_SetDiscoverable", FSetDiscoverable);
    BindRequired(FModule, "CBtIf_IsConnectable", FIsConnectable);
    BindRequired(FModule, "CBtIf_SetConnectable", FSetConnectable);
    BindRequired(FModule, "CBtIf_SendVendorSpecific_HCICMD", FSendVendorSpecificHciCmd);
}

BTwCBtIf::~BTwCBtIf() {
    FDestroy(FInstance);
    FModule.Unload();
}

int BTwCBtIf::GetBTWVersionInfo(char* buffer, int size) { return FGetBTWVersionInfo(FInstance, buffer, size); }
int BTwCBtIf::GetLocalDeviceName(char* buffer) { return FGetLocalDeviceName(FInstance, buffer); }
int BTwCBtIf::GetLocalDeviceVersionInfo(unsigned char* record) {
    return FGetLocalDeviceVersionInfo(FInstance, record);
}
int BTwCBtIf::IsDiscoverable() { return FIsDiscoverable(FInstance); }
int BTwCBtIf::SetDiscoverable(bool on) { return FSetDiscoverable(FInstance, on ? 1 : 0); }
int BTwCBtIf::IsConnectable() { return FIsConnectable(FInstance); }
int BTwCBtIf::SetConnectable(bool on) { return FSetConnectable(FInstance, on ? 1 : 0); }
int BTwCBtIf::AdapterEnable(bool on) { return FAdapterEnable(FInstance, on ? 1 : 0); }

}  // namespace qm::bt
