#include "quillmark/bluetooth/platform/ManagementPackets.h"

#include <algorithm>
#include <cerrno>

#include "quillmark/bluetooth/platform/ByteOrder.h"

namespace qm::bt {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kReplyHeader = 3;  // opcode, status

// The bytes of a zero-terminated text field up to its first zero byte, or all of them.
std::string FieldText(Bytes field) {
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
}

}  // namespace

std::vector<std::uint8_t> MgmtPacket(std::uint16_t code, std::uint16_t index, Bytes parameters) {
    std::vector<std::uint8_t> packet;
    AppendLe16(packet, code);
    AppendLe16(packet, index);
    AppendLe16(packet, static_cast<std::uint16_t>(parameters.size()));
    AppendBytes(packet, parameters);
    return packet;
}

std::optional<TMgmtPacket> ParseMgmtPacket(Bytes message) {
    if (message.size() < mgmt::kHeaderSize) return std::nullopt;
    const std::size_t length = LoadLe16(&message[4]);
    if (message.size() != mgmt::kHeaderSize + length) return std::nullopt;
    const Bytes parameters = message.subspan(mgmt::kHeaderSize);
    return TMgmtPacket{LoadLe16(&message[0]), LoadLe16(&message[2]), {parameters.begin(), parameters.end()}};
}

std::optional<TMgmtReply> MgmtReplyOf(const TMgmtPacket& event) {
    const Bytes p = event.parameters;
    if (p.size() < kReplyHeader) return std::nullopt;
    if (event.code == mgmt::kEvCommandStatus && p.size() == kReplyHeader)
        return TMgmtReply{LoadLe16(&p[0]), p[2], {}};
    if (event.code == mgmt::kEvCommandComplete)
        return TMgmtReply{LoadLe16(&p[0]), p[2], {p.begin() + kReplyHeader, p.end()}};
    return std::nullopt;
}

std::optional<std::vector<std::uint16_t>> ParseMgmtIndexList(Bytes returned) {
    if (returned.size() < 2) return std::nullopt;
    const std::size_t count = LoadLe16(&returned[0]);
    if (returned.size() != 2 + 2 * count) return std::nullopt;
    std::vector<std::uint16_t> indexes;
    for (std::size_t i = 0; i < count; ++i) indexes.push_back(LoadLe16(&returned[2 + 2 * i]));
    return indexes;
}

// A longer reply than this kernel ABI knows keeps its known fields where they are.
std::optional<TMgmtControllerInfo> ParseMgmtControllerInfo(Bytes returned) {
    if (returned.size() < mgmt::kInfoSize) return std::nullopt;
    TMgmtControllerInfo info;
    info.address = TBdAddr::FromWire(&returned[0]);
    info.version = returned[6];
    info.manufacturer = LoadLe16(&returned[7]);
    info.supportedSettings = LoadLe32(&returned[9]);
    info.currentSettings = LoadLe32(&returned[13]);
    info.classOfDevice = LoadLe24(&returned[17]);
    info.name = FieldText(returned.subspan(20, mgmt::kNameField));
    info.shortName = FieldText(returned.subspan(20 + mgmt::kNameField, mgmt::kShortNameField));
    return info;
}

std::optional<std::uint32_t> ParseMgmtSettings(Bytes returned) {
    if (returned.size() < 4) return std::nullopt;
    return LoadLe32(&returned[0]);
}

// Rejected answers a request the controller's present state forbids (discoverable while not
// connectable): an invalid request now, not a missing privilege, so EINVAL rather than EPERM.
int MgmtStatusError(std::uint8_t status) {
    switch (status) {
        case mgmt::kStatusSuccess:
            return 0;
        case mgmt::kStatusUnknownCommand:
        case mgmt::kStatusNotSupported:
            return EOPNOTSUPP;
        case mgmt::kStatusTimeout:
            return ETIMEDOUT;
        case mgmt::kStatusBusy:
            return EBUSY;
        case mgmt::kStatusRejected:
        case mgmt::kStatusInvalidParameters:
            return EINVAL;
        case mgmt::kStatusNotPowered:
            return ENETDOWN;
        case mgmt::kStatusInvalidIndex:
            return ENODEV;
        case mgmt::kStatusRfkilled:
            return ERFKILL;
        case mgmt::kStatusPermissionDenied:
            return EPERM;
        default:
            return EIO;
    }
}

}  // namespace qm::bt
