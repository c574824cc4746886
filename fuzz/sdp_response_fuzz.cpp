// Hostile SDP response PDUs and reassembled attribute lists: the parsers must reject or decode
// every input without reading out of bounds, and split records must cover exactly their bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "quillmark/bluetooth/platform/SdpPdu.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto response = qm::bt::ParseSdpResponse(bytes)) {
        if (response->attributeBytes.size() + response->continuation.size() > size) std::abort();
        if (response->continuation.size() > qm::bt::sdp::kMaxContinuation) std::abort();
    }
    if (const auto records = qm::bt::SplitAttributeLists(bytes)) {
        std::size_t total = 0;
        for (const auto& record : *records) total += record.size();
        if (total >= size && !records->empty()) std::abort();
    }
    return 0;
}
