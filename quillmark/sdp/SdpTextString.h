#pragma once
// The value of an SDP text string. Devices send either 8-bit text or, recognisable by a zero
// second byte, UTF-16 little-endian text.

#include <string>
#include <string_view>

namespace qm {

// With more than one byte and a zero second byte: the bytes read as UTF-16 little-endian code
// units (an odd last byte is dropped), converted to UTF-8, a lone surrogate becoming U+FFFD.
// Otherwise the bytes as they are, zero bytes included.
void AppendSdpTextString(std::string& text, std::string_view bytes);

}  // namespace qm
