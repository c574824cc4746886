#include "quillmark/bluetooth/platform/emulated/EmulatedController.h"

#include <poll.h>

#include <algorithm>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/PacketIo.h"

namespace qm::bt::emu {

namespace {

using Packet = std::vector<std::uint8_t>;

constexpr std::uint8_t kStatusUnknownCommand = 0x01;
constexpr std::uint8_t kStatusInvalidParameters = 0x12;
constexpr std::uint8_t kStatusPageTimeout = 0x04;
constexpr std::size_t kNameField = 248;
constexpr std::size_t kEirField = 240;

Packet Event(std::uint8_t code, const Packet& parameters) {
    Packet packet{kHciEventPacket, code, static_cast<std::uint8_t>(parameters.size())};
    AppendBytes(packet, parameters);
    return packet;
}

Packet CommandStatus(std::uint8_t status, std::uint16_t opcode) {
    Packet parameters{status, 1};
    AppendLe16(parameters, opcode);
    return Event(hci::kEvCommandStatus, parameters);
}

Packet CommandComplete(std::uint16_t opcode, const Packet& returned) {
    Packet parameters{1};
    AppendLe16(parameters, opcode);
    AppendBytes(parameters, returned);
    return Event(hci::kEvCommandComplete, parameters);
}

void AppendAddress(Packet& out, const TBdAddr& address) {
    std::uint8_t wire[6];
    address.ToWire(wire);
    AppendBytes(out, wire, 6);
}

void AppendName(Packet& out, const std::string& name, std::size_t field) {
    const std::size_t used = std::min(name.size(), field);
    AppendBytes(out, name.data(), used);
    out.resize(out.size() + field - used, 0);
}

Packet Eir(const TEmulatedDevice& device) {
    Packet eir{2, 0x01, 0x06};  // flags: LE and BR/EDR not both, general discoverable
    if (device.name) {
        const std::size_t length = std::min(device.name->size(), kEirField - eir.size() - 2);
        eir.push_back(static_cast<std::uint8_t>(length + 1));
        eir.push_back(device.shortNameOnly ? 0x08 : 0x09);
        AppendBytes(eir, device.name->data(), length);
    }
    eir.resize(kEirField, 0);
    return eir;
}

Packet InquiryResult(const TEmulatedDevice& device, std::int64_t now) {
    const auto rssi = static_cast<std::uint8_t>(device.SignalAt(now));
    constexpr std::uint16_t kClockOffset = 0x1234;
    Packet p{1};
    AppendAddress(p, device.address);
    p.push_back(0x01);  // page scan repetition mode R1
    p.push_back(0x00);  // reserved (period mode)
    switch (device.format) {
        case TResultFormat::Standard:
            p.push_back(0x00);
            AppendLe24(p, device.classOfDevice);
            AppendLe16(p, kClockOffset);
            return Event(hci::kEvInquiryResult, p);
        case TResultFormat::Rssi:
            AppendLe24(p, device.classOfDevice);
            AppendLe16(p, kClockOffset);
            p.push_back(rssi);
            return Event(hci::kEvInquiryResultRssi, p);
        case TResultFormat::RssiWithMode:
            p.push_back(0x00);
            AppendLe24(p, device.classOfDevice);
            AppendLe16(p, kClockOffset);
            p.push_back(rssi);
            return Event(hci::kEvInquiryResultRssi, p);
        case TResultFormat::Extended:
            break;
    }
    AppendLe24(p, device.classOfDevice);
    AppendLe16(p, kClockOffset);
    p.push_back(rssi);
    const Packet eir = Eir(device);
    AppendBytes(p, eir);
    return Event(hci::kEvExtendedInquiryResult, p);
}

// Waits for the time an inquiry takes; returns early when the other end goes away.
void Pause(int fd, int milliseconds) {
    if (milliseconds <= 0) return;
    pollfd entry{fd, POLLRDHUP, 0};
    ::poll(&entry, 1, milliseconds);
}

// Inquiry scan (bit 0) while discoverable, page scan (bit 1) while connectable.
std::uint8_t ScanEnable(const TControllerFlags& flags) {
    return static_cast<std::uint8_t>((flags.discoverable ? 0x01 : 0) | (flags.connectable ? 0x02 : 0));
}

}  // namespace

void TEmulatedController::Serve(int fd) {
    Packet packet;
    for (;;) {
        const TDeadline deadline = std::min(DeadlineIn(3600 * 1000), scanner_.NextDue());
        const TIoStatus received = ReceivePacket(fd, deadline, packet);
        if (received.Ok() && packet.size() >= 4 && packet[0] == kHciCommandPacket && packet.size() == 4u + packet[3])
            Handle(fd, LoadLe16(&packet[1]), packet.data() + 4, packet[3]);
        else if (!received.Ok() && received.code != TIoCode::TimedOut)
            break;
        SendDueReports(fd);
    }
    if (scanner_.Scanning()) state_.EndLeScan();
}

void TEmulatedController::SendDueReports(int fd) {
    for (const TLeHeard& heard : scanner_.Due(std::chrono::steady_clock::now())) {
        if (!scanner_.Extended()) {
            SendPacket(fd, LeAdvertisingReport(heard));
            continue;
        }
        for (const Packet& report : LeExtendedAdvertisingReports(heard)) SendPacket(fd, report);
    }
}

// Enabling while enabled changes nothing; a controller that cannot scan during an inquiry refuses.
std::uint8_t TEmulatedController::EnableLeScan(bool enable, bool extended) {
    if (!enable) {
        if (scanner_.Scanning()) state_.EndLeScan();
        scanner_.Stop();
        return 0;
    }
    if (scanner_.Scanning()) return 0;
    if (!state_.TryStartLeScan(!scenario_.controller.leDuringInquiry)) return hci::kStatusCommandDisallowed;
    scanner_.Start(std::chrono::steady_clock::now(), activeScan_, extended);
    return 0;
}

bool TEmulatedController::HandleLe(int fd, std::uint16_t opcode, const std::uint8_t* parameters,
                                   std::size_t length) {
    const bool extended = scenario_.controller.leExtended;
    Packet returned{0};
    switch (opcode) {
        case hci::kLeSetEventMask:
            break;
        case hci::kLeReadLocalSupportedFeatures: {
            const std::uint64_t features = extended ? hci::kLeFeatureExtendedAdvertising : 0;
            AppendLe32(returned, static_cast<std::uint32_t>(features));
            AppendLe32(returned, static_cast<std::uint32_t>(features >> 32));
            break;
        }
        case hci::kLeSetScanParameters:
            if (length != 7) returned[0] = kStatusInvalidParameters;
            else activeScan_ = parameters[0] == 0x01;
            break;
        case hci::kLeSetScanEnable:
            if (length != 2) returned[0] = kStatusInvalidParameters;
            else returned[0] = EnableLeScan(parameters[0] == 0x01, false);
            break;
        case hci::kLeSetExtendedScanParameters:
            if (!extended) return false;
            if (length < 8) returned[0] = kStatusInvalidParameters;
            else activeScan_ = parameters[3] == 0x01;
            break;
        case hci::kLeSetExtendedScanEnable:
            if (!extended) return false;
            if (length != 6) returned[0] = kStatusInvalidParameters;
            else returned[0] = EnableLeScan(parameters[0] == 0x01, true);
            break;
        default:
            return false;
    }
    SendPacket(fd, CommandComplete(opcode, returned));
    return true;
}

void TEmulatedController::Handle(int fd, std::uint16_t opcode, const std::uint8_t* parameters,
                                 std::size_t length) {
    const auto& c = scenario_.controller;
    Packet returned{0};
    switch (opcode) {
        case hci::kInquiry:
            return Inquiry(fd);
        case hci::kRemoteNameRequest:
            return RemoteName(fd, parameters, length);
        case hci::kInquiryCancel:
        case hci::kRemoteNameRequestCancel:
            break;
        case hci::kReadLocalName:
            AppendName(returned, c.name, kNameField);
            break;
        case hci::kReadClassOfDevice:
            AppendLe24(returned, c.classOfDevice);
            break;
        case hci::kReadScanEnable:
            returned.push_back(ScanEnable(state_.Flags()));
            break;
        case hci::kReadBdAddr:
            AppendAddress(returned, c.address);
            break;
        case hci::kReadLocalVersion:
            returned.push_back(c.hciVersion);
            AppendLe16(returned, c.hciRevision);
            returned.push_back(c.lmpVersion);
            AppendLe16(returned, c.manufacturer);
            AppendLe16(returned, c.lmpSubversion);
            break;
        default:
            if (!HandleLe(fd, opcode, parameters, length)) SendPacket(fd, CommandStatus(kStatusUnknownCommand, opcode));
            return;
    }
    SendPacket(fd, CommandComplete(opcode, returned));
}

void TEmulatedController::Inquiry(int fd) {
    const auto& c = scenario_.controller;
    const bool refused = c.busy || !state_.TryStartInquiry(!c.leDuringInquiry);
    SendPacket(fd, CommandStatus(refused ? hci::kStatusCommandDisallowed : 0, hci::kInquiry));
    if (refused) return;
    Pause(fd, c.inquiryMs);
    state_.EndInquiry();
    const std::int64_t now = elapsedSeconds_();
    for (const auto& device : scenario_.devices) {
        if (!device.classic || !device.presence.At(now)) continue;
        const Packet result = InquiryResult(device, now);
        for (int i = 0; i <= device.misbehaviour.flood; ++i) SendPacket(fd, result);
    }
    if (!c.inquirySilent) SendPacket(fd, Event(hci::kEvInquiryComplete, {0}));
}

void TEmulatedController::RemoteName(int fd, const std::uint8_t* parameters, std::size_t length) {
    if (length != 10) {
        SendPacket(fd, CommandStatus(kStatusInvalidParameters, hci::kRemoteNameRequest));
        return;
    }
    SendPacket(fd, CommandStatus(0, hci::kRemoteNameRequest));
    const TBdAddr address = TBdAddr::FromWire(parameters);
    const TEmulatedDevice* device = PresentDevice(address);
    if (device && device->misbehaviour.nameSilent) return;
    Packet p{device && device->name ? std::uint8_t{0} : kStatusPageTimeout};
    AppendAddress(p, address);
    AppendName(p, device && device->name ? *device->name : std::string(), kNameField);
    SendPacket(fd, Event(hci::kEvRemoteNameComplete, p));
}

const TEmulatedDevice* TEmulatedController::PresentDevice(const TBdAddr& address) const {
    const std::int64_t now = elapsedSeconds_();
    for (const auto& device : scenario_.devices)
        if (device.classic && device.address == address && device.presence.At(now)) return &device;
    return nullptr;
}

}  // namespace qm::bt::emu
