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

constexpr std::size_t kLegacyReportFixed = 10;  // event type, address type, address, length, RSSI
constexpr std::size_t kLegacyDataMax = 31;
constexpr std::size_t kExtendedReportFixed = 24;  // every field but the data
constexpr std::size_t kDirectedReport = 16;       // type, address type, address, direct ones, RSSI
constexpr std::uint8_t kLegacyDirected = 0x01;
constexpr std::uint8_t kNotAvailable = 127;  // an RSSI or TX power the controller lacks
constexpr std::uint8_t kPhy1M = 0x01;

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

std::optional<std::int8_t> Measured(std::uint8_t value) {
    if (value == kNotAvailable) return std::nullopt;
    return static_cast<std::int8_t>(value);
}

// A legacy PDU type in the extended report's event type bits; none for a reserved type.
std::optional<std::uint16_t> LegacyEventType(std::uint8_t type) {
    using namespace le;
    switch (type) {
        case 0x00:  // ADV_IND
            return kLegacy | kConnectable | kScannable;
        case kLegacyDirected:  // ADV_DIRECT_IND
            return kLegacy | kConnectable | kDirected;
        case 0x02:  // ADV_SCAN_IND
            return kLegacy | kScannable;
        case 0x03:  // ADV_NONCONN_IND
            return kLegacy;
        case 0x04:  // SCAN_RSP: whether it answered a connectable advertisement is not said
            return kLegacy | kScannable | kScanResponse;
        default:
            return std::nullopt;
    }
}

// Room for the reports a count announces, bounded by what the parameters can hold.
THciLeAdvertisingReports ReportsFor(std::uint8_t subevent, std::size_t count, std::size_t size,
                                    std::size_t least) {
    THciLeAdvertisingReports event;
    event.subevent = subevent;
    event.reports.reserve(std::min(count, size / least));
    return event;
}

// Reports one after another, each with all its fields, as Linux reads them (older texts of the
// standard drew the fields as arrays across the reports; controllers send them per report).
std::optional<THciEvent> LegacyReports(Bytes params) {
    if (params.empty()) return std::nullopt;
    const std::size_t count = params[0];
    THciLeAdvertisingReports event =
        ReportsFor(hci::kLeAdvertisingReport, count, params.size(), kLegacyReportFixed);
    std::size_t at = 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (params.size() - at < kLegacyReportFixed) return std::nullopt;
        const std::size_t length = params[at + 8];
        const auto type = LegacyEventType(params[at]);
        if (!type || length > kLegacyDataMax || params.size() - at - kLegacyReportFixed < length)
            return std::nullopt;
        THciLeReport& report = event.reports.emplace_back();
        report.eventType = *type;
        report.addressType = params[at + 1];
        report.address = TBdAddr::FromWire(&params[at + 2]);
        report.data.assign(params.begin() + at + 9, params.begin() + at + 9 + length);
        report.rssi = Measured(params[at + 9 + length]);
        at += kLegacyReportFixed + length;
    }
    if (at != params.size()) return std::nullopt;
    return event;
}

std::optional<THciEvent> ExtendedReports(Bytes params) {
    if (params.empty()) return std::nullopt;
    const std::size_t count = params[0];
    THciLeAdvertisingReports event =
        ReportsFor(hci::kLeExtendedAdvertisingReport, count, params.size(), kExtendedReportFixed);
    std::size_t at = 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (params.size() - at < kExtendedReportFixed) return std::nullopt;
        const std::uint8_t* p = &params[at];
        const std::size_t length = p[23];
        if (params.size() - at - kExtendedReportFixed < length) return std::nullopt;
        THciLeReport& report = event.reports.emplace_back();
        report.eventType = LoadLe16(p);
        report.addressType = p[2];
        report.address = TBdAddr::FromWire(p + 3);
        report.primaryPhy = p[9];
        report.secondaryPhy = p[10];
        report.sid = p[11];
        report.txPower = Measured(p[12]);
        report.rssi = Measured(p[13]);
        report.periodicInterval = LoadLe16(p + 14);
        if (report.Directed()) {
            report.directAddressType = p[16];
            report.directAddress = TBdAddr::FromWire(p + 17);
        }
        report.data.assign(p + kExtendedReportFixed, p + kExtendedReportFixed + length);
        at += kExtendedReportFixed + length;
    }
    if (at != params.size()) return std::nullopt;
    return event;
}

std::optional<THciEvent> DirectedReports(Bytes params) {
    if (params.empty()) return std::nullopt;
    const std::size_t count = params[0];
    if (params.size() != 1 + count * kDirectedReport) return std::nullopt;
    THciLeAdvertisingReports event =
        ReportsFor(hci::kLeDirectedAdvertisingReport, count, params.size(), kDirectedReport);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &params[1 + i * kDirectedReport];
        if (p[0] != kLegacyDirected) return std::nullopt;
        THciLeReport& report = event.reports.emplace_back();
        report.eventType = *LegacyEventType(kLegacyDirected);
        report.addressType = p[1];
        report.address = TBdAddr::FromWire(p + 2);
        report.directAddressType = p[8];
        report.directAddress = TBdAddr::FromWire(p + 9);
        report.rssi = Measured(p[15]);
    }
    return event;
}

std::optional<THciEvent> LeMeta(Bytes params) {
    if (params.empty()) return std::nullopt;
    const Bytes rest = params.subspan(1);
    switch (params[0]) {
        case hci::kLeAdvertisingReport:
            return LegacyReports(rest);
        case hci::kLeExtendedAdvertisingReport:
            return ExtendedReports(rest);
        case hci::kLeDirectedAdvertisingReport:
            return DirectedReports(rest);
        default:
            return THciOtherEvent{hci::kEvLeMeta};
    }
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
        case hci::kEvLeMeta:
            return LeMeta(params);
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

std::vector<std::uint8_t> HciLeSetEventMaskCommand(std::uint64_t mask) {
    std::vector<std::uint8_t> parameters;
    AppendLe32(parameters, static_cast<std::uint32_t>(mask));
    AppendLe32(parameters, static_cast<std::uint32_t>(mask >> 32));
    return HciCommand(hci::kLeSetEventMask, parameters);
}

std::vector<std::uint8_t> HciLeReadLocalSupportedFeaturesCommand() {
    return HciCommand(hci::kLeReadLocalSupportedFeatures);
}

std::vector<std::uint8_t> HciLeSetScanParametersCommand(const TLeScanParameters& parameters) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(parameters.active)};
    AppendLe16(bytes, parameters.interval);
    AppendLe16(bytes, parameters.window);
    bytes.push_back(parameters.ownAddressType);
    bytes.push_back(parameters.filterPolicy);
    return HciCommand(hci::kLeSetScanParameters, bytes);
}

std::vector<std::uint8_t> HciLeSetScanEnableCommand(bool enable) {
    const std::uint8_t parameters[] = {static_cast<std::uint8_t>(enable), 0};
    return HciCommand(hci::kLeSetScanEnable, parameters);
}

std::vector<std::uint8_t> HciLeSetExtendedScanParametersCommand(const TLeScanParameters& parameters) {
    std::vector<std::uint8_t> bytes{parameters.ownAddressType, parameters.filterPolicy, kPhy1M,
                                    static_cast<std::uint8_t>(parameters.active)};
    AppendLe16(bytes, parameters.interval);
    AppendLe16(bytes, parameters.window);
    return HciCommand(hci::kLeSetExtendedScanParameters, bytes);
}

// Duplicates not filtered; duration and period 0: scan until disabled.
std::vector<std::uint8_t> HciLeSetExtendedScanEnableCommand(bool enable) {
    const std::uint8_t parameters[] = {static_cast<std::uint8_t>(enable), 0, 0, 0, 0, 0};
    return HciCommand(hci::kLeSetExtendedScanEnable, parameters);
}

std::optional<std::uint64_t> LeLocalSupportedFeatures(const THciCommandComplete& complete) {
    const auto& r = complete.returnParameters;
    if (complete.opcode != hci::kLeReadLocalSupportedFeatures || r.size() < 9 || r[0] != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(LoadLe32(&r[1])) | static_cast<std::uint64_t>(LoadLe32(&r[5])) << 32;
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
