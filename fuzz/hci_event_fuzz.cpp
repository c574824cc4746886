// Hostile HCI event packets: the parser must reject or decode every input without reading out of
// bounds; decoded results must stay within the packet's own limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "quillmark/bluetooth/platform/HciPackets.h"

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
    }
    if (const auto name = qm::bt::EirName(bytes); name && name->size() >= size) std::abort();
    if (qm::bt::EirSignificantPart(bytes).size() > size) std::abort();
    return 0;
}
