// Hostile HCI event packets: the parser must reject or decode every input without reading out of
// bounds; decoded results must stay within the packet's own limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "quillmark/bluetooth/platform/HciPackets.h"

namespace {

// Each LE report takes at least ten bytes of the packet, more than its data alone.
void CheckLeReports(const qm::bt::THciLeAdvertisingReports& le, std::size_t size) {
    if (le.reports.size() > 255 || le.reports.size() * 10 > size) std::abort();
    std::size_t data = 0;
    for (const auto& report : le.reports) {
        data += report.data.size();
        if (le.subevent == qm::bt::hci::kLeAdvertisingReport && report.data.size() > 31) std::abort();
        if (report.rssi == 127 || report.txPower == 127) std::abort();
        if (report.directAddress.has_value() != report.directAddressType.has_value()) std::abort();
    }
    if (data >= size) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto event = qm::bt::ParseHciEvent(bytes)) {
        if (const auto* results = std::get_if<qm::bt::THciInquiryResults>(&*event)) {
            if (results->entries.size() > 255) std::abort();
            for (const auto& entry : results->entries)
                if (entry.eir.size() >= size) std::abort();
        }
        if (const auto* name = std::get_if<qm::bt::THciRemoteNameComplete>(&*event))
            if (name->name.size() > size) std::abort();
        if (const auto* le = std::get_if<qm::bt::THciLeAdvertisingReports>(&*event))
            CheckLeReports(*le, size);
        if (const auto* complete = std::get_if<qm::bt::THciCommandComplete>(&*event))
            if (qm::bt::LeLocalSupportedFeatures(*complete) && complete->returnParameters.size() < 9)
                std::abort();
    }
    if (const auto name = qm::bt::EirName(bytes); name && name->size() >= size) std::abort();
    if (qm::bt::EirSignificantPart(bytes).size() > size) std::abort();
    return 0;
}
