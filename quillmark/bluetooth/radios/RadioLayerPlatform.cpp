#include "quillmark/bluetooth/radios/RadioLayerPlatform.h"

#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"

namespace qm::bt {

TRadioLayerPlatform::TRadioLayerPlatform(TSocketFactory& radio, bool machineSwitches)
    : FLocalRadios(MakeLocalRadios(radio)), FSwitches(machineSwitches ? MakeLinuxRadioSwitches() : nullptr) {
    KvBTUsePlatform(FLocalRadios.get(), FSwitches.get());
}

TRadioLayerPlatform::~TRadioLayerPlatform() { KvBTUsePlatform(nullptr, nullptr); }

}  // namespace qm::bt
