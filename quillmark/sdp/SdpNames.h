#pragma once
// Names of SDP attribute identifiers and UUIDs for the record text. Pure functions over constant
// tables, any thread. The Append forms add to a text without building a temporary one.

#include <cstdint>
#include <string>

#include "quillmark/sdp/SdpUuid.h"

namespace qm {

// The universal attribute names for 0x0000 to 0x000D, else "Unknown (<id in decimal>)".
std::string SDPAttributeName(std::uint32_t attributeId);
void AppendSDPAttributeName(std::string& text, std::uint32_t attributeId);

// The protocol or service class name keyed by the UUID's first 32 bits alone, else the UUID's
// registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string SDPUUIDName(const TSdpUuid& uuid);
void AppendSDPUUIDName(std::string& text, const TSdpUuid& uuid);

}  // namespace qm
