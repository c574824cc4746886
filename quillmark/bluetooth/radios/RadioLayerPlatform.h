#pragma once
// What a front end hands the radio layer for the machine's own radios: the controllers behind its
// radio and, unless the radio is emulated, the machine's kill switches. Handed over while the
// object lives.

#include <memory>

#include "quillmark/bluetooth/platform/LocalRadios.h"
#include "quillmark/bluetooth/platform/RadioSwitches.h"

namespace qm::bt {

class TRadioLayerPlatform {
public:
    TRadioLayerPlatform(TSocketFactory& radio, bool machineSwitches);
    ~TRadioLayerPlatform();
    TRadioLayerPlatform(const TRadioLayerPlatform&) = delete;
    TRadioLayerPlatform& operator=(const TRadioLayerPlatform&) = delete;

private:
    std::unique_ptr<TLocalRadios> FLocalRadios;
    std::unique_ptr<TRadioSwitches> FSwitches;
};

}  // namespace qm::bt
