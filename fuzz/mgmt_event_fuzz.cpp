// Hostile management channel events: the parsers must reject or decode every input without reading
// out of bounds; decoded results must stay within the message's own limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "quillmark/bluetooth/platform/ManagementPackets.h"

namespace {

void CheckReturned(std::span<const std::uint8_t> returned, std::size_t size) {
    if (const auto list = qm::bt::ParseMgmtIndexList(returned); list && 2 + 2 * list->size() > size)
        std::abort();
    if (const auto info = qm::bt::ParseMgmtControllerInfo(returned))
        if (info->name.size() > qm::bt::mgmt::kNameField ||
            info->shortName.size() > qm::bt::mgmt::kShortNameField)
            std::abort();
    static_cast<void>(qm::bt::ParseMgmtSettings(returned));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto event = qm::bt::ParseMgmtPacket(std::span<const std::uint8_t>(data, size));
    if (!event) return 0;
    if (event->parameters.size() + qm::bt::mgmt::kHeaderSize != size) std::abort();
    if (const auto reply = qm::bt::MgmtReplyOf(*event)) {
        if (reply->returned.size() + 3 > event->parameters.size()) std::abort();
        CheckReturned(reply->returned, size);
        static_cast<void>(qm::bt::MgmtStatusError(reply->status));
    }
    return 0;
}
