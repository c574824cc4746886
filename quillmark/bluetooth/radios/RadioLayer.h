#pragma once
// The process-wide state of the radio layer. Main thread only: the layer has no lock, and a second
// start while one runs is not supported.

#include <memory>

#include "quillmark/bluetooth/platform/LocalRadios.h"
#include "quillmark/bluetooth/radios/BTwCBtIf.h"
#include "quillmark/bluetooth/platform/RadioSwitches.h"
#include "quillmark/bluetooth/radios/RadioMap.h"

namespace qm::bt {

struct TRadioLayer {
    std::unique_ptr<BTwCBtIf> WidcommIf;
    std::unique_ptr<TRadioMap> RadioMap;
    // The kernel's controllers, when the program has a radio to read them from; none: no BlueZ radio.
    TLocalRadios* LocalRadios = nullptr;
    // The kill switches that switch the platform's radios, and a BlueZ radio blocked by its own.
    TRadioSwitches* Switches = nullptr;
};

TRadioLayer& RadioLayer();

}  // namespace qm::bt
