#pragma once
// What a device's address says about how long it lasts: a public address (every classic device's),
// a random static one (fixed at least until the device restarts), or a private one (resolvable or
// non-resolvable) that the device changes every few minutes.

#include <cstdint>

#include "quillmark/core/BTDevice.h"

namespace qm {

enum class TAddressClass : std::uint8_t { Public, RandomStatic, Private };

// Public unless the device's latest LE sighting came from a random address; a random address
// whose kind is reserved counts as static, as it is no private one.
TAddressClass AddressClassOf(const TBTDevice& device);

// "Public", "Random static", "Private".
const char* AddressClassName(TAddressClass addressClass);

}  // namespace qm
