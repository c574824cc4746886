#pragma once
// The Widcomm stack's C wrapper library "BTWrapper.dll": one instance, created with the object and
// passed first to every call. Construction fails with TWidcommFailure when the stack is absent.

#include <cstdint>

#include "quillmark/bluetooth/radios/SharedLibrary.h"
#include "quillmark/bluetooth/radios/WindowsRadioApi.h"

namespace qm::bt {

// Why the wrapper could not be created: 1 the driver "wbtapi.dll" is not on the library search
// path, 2 "BTWrapper.dll" does not load, 0 an entry point is missing.
struct TWidcommFailure {
    int code;
};

class BTwCBtIf {
public:
    BTwCBtIf();  // throws TWidcommFailure
    ~BTwCBtIf();
    BTwCBtIf(const BTwCBtIf&) = delete;
    BTwCBtIf& operator=(const BTwCBtIf&) = delete;

    int GetBTWVersionInfo(char* buffer, int size);
    int GetLocalDeviceName(char* buffer);
    int GetLocalDeviceVersionInfo(unsigned char* record);
    int IsDiscoverable();
    int SetDiscoverable(bool on);
    int IsConnectable();
    int SetConnectable(bool on);
    int AdapterEnable(bool on);

private:
    using TUncalled = void (*)();

    void BindEntryPoints();

    CBTIF_INSTANCE FInstance = 0;
    TSharedLibrary FModule;
    PFN_CBtIf_Destroy FDestroy = nullptr;
    TUncalled FStartInquiry = nullptr;
    TUncalled FStopInquiry = nullptr;
    TUncalled FGetDKVersionInfo = nullptr;
    PFN_CBtIf_GetBTWVersionInfo FGetBTWVersionInfo = nullptr;
    PFN_CBtIf_GetLocalDeviceName FGetLocalDeviceName = nullptr;
    PFN_CBtIf_GetLocalDeviceVersionInfo FGetLocalDeviceVersionInfo = nullptr;
    TUncalled FIsAdapterEnabled = nullptr;
    PFN_CBtIf_AdapterEnable FAdapterEnable = nullptr;
    PFN_CBtIf_IsDiscoverable FIsDiscoverable = nullptr;
    PFN_CBtIf_SetDiscoverable FSetDiscoverable = nullptr;
    PFN_CBtIf_IsConnectable FIsConnectable = nullptr;
    PFN_CBtIf_SetConnectable FSetConnectable = nullptr;
    TUncalled FSendVendorSpecificHciCmd = nullptr;
};

}  // namespace qm::bt
