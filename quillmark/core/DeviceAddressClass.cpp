#include "quillmark/core/DeviceAddressClass.h"

#include "quillmark/core/AddressText.h"
#include "quillmark/core/RandomAddress.h"

namespace qm {

TAddressClass AddressClassOf(const TBTDevice& device) {
    const TDeviceAdvertising& advertising = device.Advertising();
    if (!advertising.lowEnergy || advertising.addressType != TAddressType::Random)
        return TAddressClass::Public;
    const auto bytes = AddressTextBytes(device.Address());
    if (!bytes) return TAddressClass::RandomStatic;
    switch (RandomAddressKindOf((*bytes)[0])) {
        case TRandomAddressKind::NonResolvable:
        case TRandomAddressKind::ResolvablePrivate:
            return TAddressClass::Private;
        default:
            return TAddressClass::RandomStatic;
    }
}

const char* AddressClassName(TAddressClass addressClass) {
    switch (addressClass) {
        case TAddressClass::Public:
            return "Public";
        case TAddressClass::RandomStatic:
            return "Random static";
        case TAddressClass::Private:
            return "Private";
    }
    return "Public";
}

}  // namespace qm
