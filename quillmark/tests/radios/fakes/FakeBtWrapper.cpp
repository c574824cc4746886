// A stand-in for the Widcomm stack's C wrapper: one radio, answers as the test sets them. Built
// complete, without CBtIf_Create (QM_FAKE_WITHOUT_CREATE) and without the last entry point
// (QM_FAKE_WITHOUT_VENDOR_COMMAND).
#include <cstdio>
#include <cstring>

#include "FakeRadioStacks.h"

namespace {

TFakeWidcommState state = [] {
    TFakeWidcommState initial{};
    initial.instance = 0x5A17;
    return initial;
}();

void Check(CBTIF_INSTANCE instance) {
    if (instance != state.instance) ++state.wrongInstance;
}

int32_t Record(const char* call, CBTIF_INSTANCE instance, int32_t flag) {
    Check(instance);
    const std::size_t used = std::strlen(state.calls);
    std::snprintf(state.calls + used, sizeof state.calls - used, "%s %d;", call, flag);
    return state.setResult;
}

}  // namespace

extern "C" {

TFakeWidcommState* FakeWidcommState() { return &state; }

#ifndef QM_FAKE_WITHOUT_CREATE
CBTIF_INSTANCE CBtIf_Create(void) {
    ++state.created;
    return state.instance;
}
#endif

int32_t CBtIf_Destroy(CBTIF_INSTANCE instance) {
    Check(instance);
    ++state.destroyed;
    return 1;
}

int32_t CBtIf_StartInquiry(CBTIF_INSTANCE) { return 0; }
int32_t CBtIf_StopInquiry(CBTIF_INSTANCE) { return 0; }
int32_t CBtIf_GetDKVersionInfo(CBTIF_INSTANCE, char*, int32_t) { return 0; }
int32_t CBtIf_IsAdapterEnabled(CBTIF_INSTANCE) { return 1; }

int32_t CBtIf_GetBTWVersionInfo(CBTIF_INSTANCE instance, char* buffer, int32_t size) {
    Check(instance);
    if (state.versionResult != 0) std::snprintf(buffer, static_cast<std::size_t>(size), "%s", state.versionText);
    return state.versionResult;
}

int32_t CBtIf_GetLocalDeviceName(CBTIF_INSTANCE instance, char* name) {
    Check(instance);
    if (state.nameResult != 0) std::memcpy(name, state.name, CBTIF_DEVICE_NAME_SIZE);
    return state.nameResult;
}

int32_t CBtIf_GetLocalDeviceVersionInfo(CBTIF_INSTANCE instance, unsigned char* record) {
    Check(instance);
    if (state.versionRecordResult != 0) std::memcpy(record, state.versionRecord, CBTIF_VERSION_RECORD_SIZE);
    return state.versionRecordResult;
}

int32_t CBtIf_IsDiscoverable(CBTIF_INSTANCE instance) {
    Check(instance);
    return state.discoverable;
}

int32_t CBtIf_SetDiscoverable(CBTIF_INSTANCE instance, int32_t on) { return Record("SetDiscoverable", instance, on); }

int32_t CBtIf_IsConnectable(CBTIF_INSTANCE instance) {
    Check(instance);
    return state.connectable;
}

int32_t CBtIf_SetConnectable(CBTIF_INSTANCE instance, int32_t on) { return Record("SetConnectable", instance, on); }

int32_t CBtIf_AdapterEnable(CBTIF_INSTANCE instance, int32_t on) { return Record("AdapterEnable", instance, on); }

#ifndef QM_FAKE_WITHOUT_VENDOR_COMMAND
int32_t CBtIf_SendVendorSpecific_HCICMD(CBTIF_INSTANCE, uint16_t, const unsigned char*, int32_t, unsigned char*,
                                        int32_t) {
    return 0;
}
#endif

}  // extern "C"
