#pragma once
// Encodes SDP data elements (Bluetooth Core specification Vol 3 Part B, 3.2): the emulated SDP
// servers build their service records with it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::bt::emu {

using TElement = std::string;  // one encoded data element, header included

TElement SdpNil();
TElement SdpUint(unsigned bytes, std::uint64_t value);  // 1, 2, 4 or 8 bytes
TElement SdpInt(unsigned bytes, std::int64_t value);    // 1, 2, 4 or 8 bytes
TElement SdpUuid16(std::uint16_t value);
TElement SdpUuid32(std::uint32_t value);
TElement SdpUuid128(const std::uint8_t (&bytes)[16]);
TElement SdpText(std::string_view bytes);
TElement SdpBool(bool value);
TElement SdpUrl(std::string_view bytes);
TElement SdpSequence(const std::vector<TElement>& elements);
TElement SdpAlternative(const std::vector<TElement>& elements);

}  // namespace qm::bt::emu
