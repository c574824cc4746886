#include "quillmark/bluetooth/platform/emulated/EmulatedManagement.h"

#include <algorithm>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/PacketIo.h"

namespace qm::bt::emu {

namespace {

using Packet = std::vector<std::uint8_t>;

constexpr std::uint16_t kIndex = 0;  // the radio's one controller

void SendComplete(int fd, std::uint16_t index, std::uint16_t opcode, const Packet& returned) {
    Packet parameters;
    AppendLe16(parameters, opcode);
    parameters.push_back(mgmt::kStatusSuccess);
    AppendBytes(parameters, returned);
    SendPacket(fd, MgmtPacket(mgmt::kEvCommandComplete, index, parameters));
}

void SendStatus(int fd, std::uint16_t index, std::uint16_t opcode, std::uint8_t status) {
    Packet parameters;
    AppendLe16(parameters, opcode);
    parameters.push_back(status);
    SendPacket(fd, MgmtPacket(mgmt::kEvCommandStatus, index, parameters));
}

Packet Le32(std::uint32_t value) {
    Packet bytes;
    AppendLe32(bytes, value);
    return bytes;
}

void AppendField(Packet& out, const std::string& text, std::size_t field) {
    const std::size_t used = std::min(text.size(), field - 1);  // keeps the terminating zero
    AppendBytes(out, text.data(), used);
    out.resize(out.size() + field - used, 0);
}

// A Set command's one on/off byte: 0 or 1, nothing else.
bool OnOffParameter(std::span<const std::uint8_t> parameters) {
    return parameters.size() == 1 && parameters[0] <= 1;
}

bool IsSet(std::uint16_t opcode) {
    return opcode == mgmt::kSetPowered || opcode == mgmt::kSetConnectable || opcode == mgmt::kSetDiscoverable;
}

}  // namespace

void TEmulatedManagement::Serve(int fd) {
    Packet message;
    for (;;) {
        const TIoStatus received = ReceivePacket(fd, DeadlineIn(3600 * 1000), message);
        if (received.code == TIoCode::TimedOut) continue;
        if (!received.Ok()) return;
        if (const auto command = ParseMgmtPacket(message)) Handle(fd, *command);
    }
}

void TEmulatedManagement::Handle(int fd, const TMgmtPacket& command) {
    const std::uint16_t opcode = command.code;
    if (opcode == mgmt::kReadIndexList) {
        if (command.index != mgmt::kNoIndex)
            return SendStatus(fd, command.index, opcode, mgmt::kStatusInvalidIndex);
        Packet list;
        AppendLe16(list, 1);
        AppendLe16(list, kIndex);
        return SendComplete(fd, mgmt::kNoIndex, opcode, list);
    }
    if (opcode != mgmt::kReadInfo && !IsSet(opcode))
        return SendStatus(fd, command.index, opcode, mgmt::kStatusUnknownCommand);
    if (command.index != kIndex) return SendStatus(fd, command.index, opcode, mgmt::kStatusInvalidIndex);
    if (opcode == mgmt::kReadInfo) return SendComplete(fd, kIndex, opcode, ControllerInfo());
    const std::uint8_t status = Set(command);
    if (status != mgmt::kStatusSuccess) return SendStatus(fd, kIndex, opcode, status);
    const Packet settings = Le32(CurrentSettings());
    SendPacket(fd, MgmtPacket(mgmt::kEvNewSettings, kIndex, settings));
    SendComplete(fd, kIndex, opcode, settings);
}

std::uint8_t TEmulatedManagement::Set(const TMgmtPacket& command) {
    if (settings_.managementRefused) return mgmt::kStatusPermissionDenied;
    if (command.code == mgmt::kSetDiscoverable) return SetDiscoverable(command.parameters);
    if (!OnOffParameter(command.parameters)) return mgmt::kStatusInvalidParameters;
    const bool on = command.parameters[0] == 1;
    if (command.code == mgmt::kSetPowered)
        state_.SetPowered(on);
    else
        state_.SetConnectable(on);
    return mgmt::kStatusSuccess;
}

// Off or general discoverable; a timeout is allowed with general only. Limited discoverable is
// not played.
std::uint8_t TEmulatedManagement::SetDiscoverable(std::span<const std::uint8_t> parameters) {
    if (parameters.size() != 3) return mgmt::kStatusInvalidParameters;
    const std::uint8_t mode = parameters[0];
    const std::uint16_t timeout = LoadLe16(&parameters[1]);
    if (mode > mgmt::kDiscoverableGeneral || (mode == mgmt::kDiscoverableOff && timeout != 0))
        return mgmt::kStatusInvalidParameters;
    return state_.SetDiscoverable(mode == mgmt::kDiscoverableGeneral) ? mgmt::kStatusSuccess
                                                                      : mgmt::kStatusRejected;
}

std::uint32_t TEmulatedManagement::CurrentSettings() const {
    const TControllerFlags flags = state_.Flags();
    return mgmt::kSettingBrEdr | (flags.powered ? mgmt::kSettingPowered : 0) |
           (flags.connectable ? mgmt::kSettingConnectable : 0) |
           (flags.discoverable ? mgmt::kSettingDiscoverable : 0);
}

Packet TEmulatedManagement::ControllerInfo() const {
    constexpr std::uint32_t kSupported =
        mgmt::kSettingPowered | mgmt::kSettingConnectable | mgmt::kSettingDiscoverable | mgmt::kSettingBrEdr;
    Packet info(6);
    settings_.address.ToWire(info.data());
    info.push_back(settings_.hciVersion);
    AppendLe16(info, settings_.manufacturer);
    AppendLe32(info, kSupported);
    AppendLe32(info, CurrentSettings());
    AppendLe24(info, settings_.classOfDevice);
    AppendField(info, settings_.name, mgmt::kNameField);
    info.resize(info.size() + mgmt::kShortNameField, 0);  // no short name
    return info;
}

}  // namespace qm::bt::emu
