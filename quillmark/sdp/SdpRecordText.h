#pragma once
// Readable text of raw SDP service records (the bytes a device sent: one data element sequence
// of attribute id / value pairs, big-endian). Pure functions, any thread.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Every attribute of the record as "name = value" lines, in the order of the record. Throws TError
// when the record cannot be parsed: "Unable to enumerate SDP attributes." or "Error reading SDP
// element data." with the system error text of EBADMSG appended, or "Error while processing SDP
// container: <number>" for an unreadable element inside a sequence.
std::string SDPRecordText(std::string_view record);

// The value of one attribute as text; empty when the record lacks it or cannot be parsed. Throws
// the container error as above when an element inside the value cannot be read.
std::string SDPAttributeText(std::string_view record, std::uint16_t attributeId);

}  // namespace qm
