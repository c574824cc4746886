// Arbitrary bytes as a raw SDP service record: the record listing and single attribute values
// must either render or raise TError, never read outside the input or crash.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quillmark/base/Error.h"
#include "quillmark/sdp/SdpRecordText.h"

namespace {

void RenderAttribute(std::string_view record, std::uint16_t attributeId) {
    try {
        qm::SDPAttributeText(record, attributeId);
    } catch (const qm::TError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view record(reinterpret_cast<const char*>(data), size);
    try {
        qm::SDPRecordText(record);
    } catch (const qm::TError&) {
    }
    for (const std::uint16_t attributeId : {0x0000, 0x0001, 0x0004, 0x0100})
        RenderAttribute(record, attributeId);
    // The id of the first attribute of a record with an 8-bit outer length.
    if (size >= 5) RenderAttribute(record, static_cast<std::uint16_t>(data[3] << 8 | data[4]));
    return 0;
}
