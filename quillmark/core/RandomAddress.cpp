#include "quillmark/core/RandomAddress.h"

namespace qm {

TRandomAddressKind RandomAddressKindOf(std::uint8_t mostSignificantByte) {
    switch (mostSignificantByte >> 6) {
        case 0b00:
            return TRandomAddressKind::NonResolvable;
        case 0b01:
            return TRandomAddressKind::ResolvablePrivate;
        case 0b10:
            return TRandomAddressKind::Reserved;
        default:
            return TRandomAddressKind::Static;
    }
}

const char* RandomAddressKindName(TRandomAddressKind kind) {
    switch (kind) {
        case TRandomAddressKind::NonResolvable:
            return "Non-resolvable private";
        case TRandomAddressKind::ResolvablePrivate:
            return "Resolvable private";
        case TRandomAddressKind::Reserved:
            return "Reserved";
        case TRandomAddressKind::Static:
            return "Static";
    }
    return "Reserved";
}

}  // namespace qm
