// Switching one radio of the map on or off: a platform radio through the drivers of every present
// Bluetooth device, the Widcomm radio through its wrapper, a kernel controller by powering it (and,
// to switch on a controller that its own kill switch blocks, by unblocking that switch first).
#include <cerrno>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/radios/RadioDrivers.h"
#include "quillmark/bluetooth/radios/RadioLayer.h"
#include "quillmark/bluetooth/radios/RfkillDeviceInstaller.h"

namespace qm::bt {

namespace {

int EnableMicrosoftRadios(bool on) {
    TRadioSwitches* switches = RadioLayer().Switches;
    if (switches == nullptr) return kRadioStackFailed;
    TRfkillDeviceInstaller installer(*switches);
    try {
        SetRadioDriversEnabled(installer, on);
    } catch (const TError&) {
        return kRadioStackFailed;
    }
    return kRadioOk;
}

int UnblockController(std::uint16_t controller) {
    TRadioSwitches* switches = RadioLayer().Switches;
    std::uint32_t id = 0;
    if (switches == nullptr) return ERFKILL;
    if (const int error = switches->SwitchOfController(controller, id); error != 0) return error;
    return switches->SetBlocked(id, false);
}

int PowerController(std::uint16_t controller, bool on) {
    TLocalRadios* radios = RadioLayer().LocalRadios;
    if (radios == nullptr) return ENODEV;
    int error = radios->SetPowered(controller, on);
    if (error == ERFKILL && on && UnblockController(controller) == 0) error = radios->SetPowered(controller, on);
    return error;
}

}  // namespace

int TRadioMapItem::SetEnabled(bool on) {
    switch (FStack) {
        case rsMicrosoft: return EnableMicrosoftRadios(on);
        case rsWidcomm: return RadioLayer().WidcommIf->AdapterEnable(on) == 1 ? kRadioOk : kRadioStackFailed;
        case rsBlueZ: return PowerController(FController, on) == 0 ? kRadioOk : kRadioStackFailed;
    }
    return kRadioUnknownStack;
}

}  // namespace qm::bt
