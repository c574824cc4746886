#pragma once
// The kind of an LE random device address, told by the two top bits of its most significant byte
// (the first byte of the text form).

#include <cstdint>

namespace qm {

enum class TRandomAddressKind : std::uint8_t {
    NonResolvable,      // 0b00: a private address that changes and cannot be resolved
    ResolvablePrivate,  // 0b01: a private address its bonded peers can resolve
    Reserved,           // 0b10: no kind is assigned
    Static,             // 0b11: fixed at least until the device restarts
};

TRandomAddressKind RandomAddressKindOf(std::uint8_t mostSignificantByte);

// "Static", "Resolvable private", "Non-resolvable private", "Reserved".
const char* RandomAddressKindName(TRandomAddressKind kind);

}  // namespace qm
