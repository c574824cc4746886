#pragma once
// An LE advertising report as the program's sighting, the same for the live scan and for a
// capture: the advertiser's address and its type, the signal, the advertising (or scan response)
// data with the name it announces.

#include <optional>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/core/Sighting.h"

namespace qm::bt {

// None for a report without an address (an anonymous advertisement). The public and public
// identity address types are Public, the random and random identity types Random. A directed
// report carries no data.
std::optional<TSighting> LeSighting(const THciLeReport& report);

}  // namespace qm::bt
