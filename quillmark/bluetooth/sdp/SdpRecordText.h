#pragma once
// Readable text of raw SDP service records (the bytes a device sent: one data element sequence
// of attribute id / value pairs, big-endian). Pure functions, any thread.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Every attribute of the record as "name = value" lines. Throws TError (with the system error
// text appended) when the record cannot be parsed.
std::string SDPRecordText(std::string_view record);

// The value of one attribute as text; empty when the record lacks it or cannot be parsed.
std::string SDPAttributeText(std::string_view record, std::uint16_t attributeId);

}  // namespace qm
