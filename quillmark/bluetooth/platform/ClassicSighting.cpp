#include "quillmark/bluetooth/platform/ClassicSighting.h"

#include <utility>

namespace qm::bt {

TSighting ClassicSighting(THciInquiryEntry entry, std::string name) {
    TSighting sighting;
    sighting.address = BTAddressToString(entry.address);
    sighting.transport = TTransport::Classic;
    sighting.addressType = TAddressType::Public;
    sighting.rssi = entry.rssi;
    sighting.receivedMs = entry.receivedMs;
    sighting.name = std::move(name);
    sighting.classOfDevice = entry.classOfDevice;
    sighting.eir = std::move(entry.eir);
    return sighting;
}

}  // namespace qm::bt
