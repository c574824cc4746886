#include "quillmark/bluetooth/radios/RadioDrivers.h"

#include <string>

#include "quillmark/base/Error.h"

namespace qm::bt {

namespace {

[[noreturn]] void Raise(const char* text, std::uint32_t error) { throw TError(text + std::to_string(error)); }

// Releases the device set on every way out.
class TDeviceSetGuard {
public:
    explicit TDeviceSetGuard(TDeviceInstaller& installer) : FInstaller(installer) {}
    ~TDeviceSetGuard() { FInstaller.DestroyDeviceInfoList(); }
    TDeviceSetGuard(const TDeviceSetGuard&) = delete;
    TDeviceSetGuard& operator=(const TDeviceSetGuard&) = delete;

private:
    TDeviceInstaller& FInstaller;
};

// Switching on tries every hardware profile first and then, in any case, the current one.
void SwitchDevice(TDeviceInstaller& installer, std::uint32_t device, bool on) {
    if (!on) {
        ChangeDeviceState(installer, device, kStateDisable, kScopeConfigSpecific);
        return;
    }
    try {
        ChangeDeviceState(installer, device, kStateEnable, kScopeGlobal);
    } catch (const TError&) {
    }
    ChangeDeviceState(installer, device, kStateEnable, kScopeConfigSpecific);
}

}  // namespace

void ChangeDeviceState(TDeviceInstaller& installer, std::uint32_t device, std::uint32_t state,
                       std::uint32_t scope) {
    TPropertyChangeParams params;
    params.installFunction = kPropertyChangeRequest;
    params.stateChange = state;
    params.scope = scope;
    params.hardwareProfile = 0;
    std::uint32_t error = 0;
    if (!installer.SetClassInstallParams(device, params, sizeof params, error))
        Raise("Unable to set install parameters. Error: ", error);
    if (!installer.CallClassInstaller(kPropertyChangeRequest, device, error))
        Raise("Unable to apply install parameters. Error: ", error);
}

void SetRadioDriversEnabled(TDeviceInstaller& installer, bool on) {
    std::uint32_t error = 0;
    if (!installer.GetClassDevs(error)) Raise("Unable to create device information structure. Error: ", error);
    TDeviceSetGuard guard(installer);
    for (std::uint32_t index = 0;; ++index) {
        if (!installer.EnumDeviceInfo(index, error)) {
            if (error == kNoMoreItems) return;
            Raise("Unable to enumerate device: ", error);
        }
        SwitchDevice(installer, index, on);
        if (!installer.GetDeviceInstallParams(index, error))
            Raise("Unable to read device parameters. Error: ", error);
    }
}

}  // namespace qm::bt
