#pragma once
// Text of parsed SDP elements as the record listing shows them: integers in decimal (64- and
// 128-bit ones by their kind), UUIDs by name, sequences in brackets.

#include <string>
#include <string_view>

#include "quillmark/sdp/SdpElement.h"

namespace qm {

// Containers nest at most this deep; deeper input is reported as a container error.
inline constexpr int kSdpMaxNesting = 32;

// Appends the element's text. Throws TError "Error while processing SDP container: <number>"
// when an element inside a sequence or alternative cannot be read.
void SDPElementText(std::string& text, const TSdpElement& element);

// Appends the elements of a sequence's or alternative's contents, separated by ", ".
void SDPContainerText(std::string& text, std::string_view contents);

}  // namespace qm
