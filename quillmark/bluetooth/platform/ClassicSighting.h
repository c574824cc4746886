#pragma once
// A device of a classic inquiry as the program's sighting: the inquiry entry's address, class,
// signal, time and response data, with the name found for it.

#include <string>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/core/Sighting.h"

namespace qm::bt {

// name is valid UTF-8 (empty when none was found).
TSighting ClassicSighting(THciInquiryEntry entry, std::string name);

}  // namespace qm::bt
