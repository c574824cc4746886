#pragma once
// The attributes of a raw SDP service record. A record is exactly one data element sequence of
// pairs: the attribute id as a 16-bit unsigned integer, then the attribute's value as one element.
// Only this outer structure is checked here; values are decoded when they are read.

#include <cstdint>
#include <string_view>

#include "quillmark/sdp/SdpElement.h"

namespace qm {

// Called once per attribute with the bytes of its value element; returning false stops.
using TSdpAttributeCallback = bool (*)(std::uint16_t attributeId, std::string_view value, void* context);

// Checks the record's outer structure, then calls the callback for each attribute in the order of
// the record. False, without any call, when the record cannot be parsed.
bool SdpEnumAttributes(std::string_view record, TSdpAttributeCallback callback, void* context);

// The first attribute with the id, decoded: 0, or nonzero when it is absent, its value cannot be
// decoded or the record cannot be parsed.
int SdpGetAttributeValue(std::string_view record, std::uint16_t attributeId, TSdpElement& element);

}  // namespace qm
