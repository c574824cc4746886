#pragma once
// The built-in scenario of the emulated radio: about a dozen everyday devices with the service
// records such devices advertise, some of them coming and going every few minutes.

#include <string_view>

#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

std::string_view DefaultScenarioJson();
TScenario DefaultScenario();

}  // namespace qm::bt::emu
