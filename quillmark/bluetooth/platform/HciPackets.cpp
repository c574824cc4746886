#include "quillmark/bluetooth/platform/HciPackets.h"

#include <algorithm>

#include "quillmark/bluetooth/platform/ByteOrder.h"

namespace qm::bt {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kStandardEntry = 14;  // address, repetition, period, mode, class, clock offset
constexpr std::size_t kRssiEntry = 14;      // address, repetition, period, class, clock offset, RSSI
constexpr std::size_t kRssiModeEntry = 15;  // the variant that keeps the page scan mode byte
constexpr std::uint8_t kEirShortName = 0x08;
constexpr std::uint8_t kEirCompleteName = 0x09;

THciInquiryEntry EntryAt(const std::uint8_t* p, std::size_t classAt) {
    THciInquiryEntry entry;
    entry.address = TBdAddr::FromWire(p);
    entry.pageScanRepetitionMode = p[6];
    entry.classOfDevice = LoadLe24(p + classAt);
    entry.clockOffset = LoadLe16(p + classAt + 3);
    return entry;
}

// The formats that carry a signal strength put it right after the clock offset.
THciInquiryEntry EntryWithRssiAt(const std::uint8_t* p, std::size_t classAt) {
    THciInquiryEntry entry = EntryAt(p, classAt);
    entry.rssi = static_cast<std::int8_t>(p[classAt + 5]);
    return entry;
}

std::optional<THciEvent> StandardResults(Bytes params) {
    if (params.empty()) return std::nullopt;
    const std::size_t count = params[0];
    if (params.size() != 1 + count * kStandardEntry) return std::nullopt;
    THciInquiryResults results;
    for (std::size_t i = 0; i < count; ++i)
        results.entries.push_back(EntryAt(&params[1 + i * kStandardEntry], 9));
    return results;
}

std::optional<THciEvent> RssiResults(Bytes params) {
    if (params.empty()) return std::nullopt;
    const std::size_t count = params[0];
    THciInquiryResults results;
    if (count == 0) return params.size() == 1 ? std::optional<THciEvent>(results) : std::nullopt;
    const std::size_t entrySize = (params.size() - 1) / count;
    if ((entrySize != kRssiEntry && entrySize != kRssiModeEntry) || params.size() != 1 + count * entrySize)
        return std::nullopt;
    const std::size_t classAt = entrySize == kRssiEntry ? 8 : 9;
    for (std::size_t i = 0; i < count; ++i)
        results.entries.push_back(EntryWithRssiAt(&params[1 + i * entrySize], classAt));
    return results;
}

std::optional<THciEvent> ExtendedResult(Bytes params) {
    constexpr std::size_t kFixed = 1 + 14;
    if (params.size() < kFixed || params[0] != 1) return std::nullopt;
    THciInquiryResults results;
    THciInquiryEntry entry = EntryWithRssiAt(&params[1], 8);
    const Bytes eir = params.subspan(kFixed);
    entry.name = EirName(eir);
    const Bytes significant = EirSignificantPart(eir);
    entry.eir.assign(significant.begin(), significant.end());
    results.entries.push_back(std::move(entry));
    return results;
}

std::optional<THciEvent> RemoteNameComplete(Bytes params) {
    if (params.size() < 7) return std::nullopt;
    THciRemoteNameComplete event;
    event.status = params[0];
    event.address = TBdAddr::FromWire(&params[1]);
    const Bytes name = params.subspan(7);
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    event.name.assign(name.begin(), end);
    return event;
}

std::optional<THciEvent> ParseParameters(std::uint8_t code, Bytes params) {
    switch (code) {
        case hci::kEvInquiryComplete:
            if (params.empty()) return std::nullopt;
            return THciInquiryComplete{params[0]};
        case hci::kEvInquiryResult:
            return StandardResults(params);
        case hci::kEvInquiryResultRssi:
            return RssiResults(params);
        case hci::kEvExtendedInquiryResult:
            return ExtendedResult(params);
        case hci::kEvRemoteNameComplete:
            return RemoteNameComplete(params);
        case hci::kEvCommandComplete:
            if (params.size() < 3) return std::nullopt;
            return THciCommandComplete{LoadLe16(&params[1]), {params.begin() + 3, params.end()}};
        case hci::kEvCommandStatus:
            if (params.size() < 4) return std::nullopt;
            return THciCommandStatus{params[0], LoadLe16(&params[2])};
        default:
            return THciOtherEvent{code};
    }
}

}  // namespace

std::vector<std::uint8_t> HciCommand(std::uint16_t opcode, std::span<const std::uint8_t> parameters) {
    std::vector<std::uint8_t> packet(4 + parameters.size());
    packet[0] = kHciCommandPacket;
    packet[1] = static_cast<std::uint8_t>(opcode);
    packet[2] = static_cast<std::uint8_t>(opcode >> 8);
    packet[3] = static_cast<std::uint8_t>(parameters.size());
    std::copy(parameters.begin(), parameters.end(), packet.begin() + 4);
    return packet;
}

std::vector<std::uint8_t> HciInquiryCommand(std::uint32_t lap, std::uint8_t length,
                                            std::uint8_t maxResponses) {
    std::vector<std::uint8_t> parameters;
    AppendLe24(parameters, lap);
    parameters.push_back(length);
    parameters.push_back(maxResponses);
    return HciCommand(hci::kInquiry, parameters);
}

std::vector<std::uint8_t> HciRemoteNameRequestCommand(const TBdAddr& address,
                                                      std::uint8_t pageScanRepetitionMode,
                                                      std::uint16_t clockOffset) {
    std::vector<std::uint8_t> parameters(6);
    address.ToWire(parameters.data());
    parameters.push_back(pageScanRepetitionMode);
    parameters.push_back(0);
    AppendLe16(parameters, static_cast<std::uint16_t>(clockOffset | 0x8000));  // offset valid
    return HciCommand(hci::kRemoteNameRequest, parameters);
}

std::optional<THciEvent> ParseHciEvent(std::span<const std::uint8_t> packet) {
    if (packet.size() < 3 || packet[0] != kHciEventPacket) return std::nullopt;
    const std::size_t length = packet[2];
    if (packet.size() != 3 + length) return std::nullopt;
    return ParseParameters(packet[1], packet.subspan(3, length));
}

std::span<const std::uint8_t> EirSignificantPart(std::span<const std::uint8_t> eir) {
    std::size_t at = 0;
    while (at < eir.size()) {
        const std::size_t length = eir[at];
        if (length == 0 || at + 1 + length > eir.size()) break;
        at += 1 + length;
    }
    return eir.first(at);
}

std::optional<std::string> EirName(std::span<const std::uint8_t> eir) {
    std::optional<std::string> shortName;
    std::size_t at = 0;
    while (at < eir.size()) {
        const std::size_t length = eir[at];
        if (length == 0 || at + 1 + length > eir.size()) break;
        const std::uint8_t type = eir[at + 1];
        const auto data = eir.subspan(at + 2, length - 1);
        if (type == kEirCompleteName) return std::string(data.begin(), data.end());
        if (type == kEirShortName && !shortName) shortName.emplace(data.begin(), data.end());
        at += 1 + length;
    }
    return shortName;
}

}  // namespace qm::bt
