#include "quillmark/bluetooth/platform/emulated/EmulatedLeReports.h"

#include <algorithm>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/HciPackets.h"

namespace qm::bt::emu {

namespace {

// An event holds 255 parameter bytes: subevent, count and the 24 fixed bytes of an extended report
// leave 229 for data.
constexpr std::size_t kExtendedDataPerEvent = 255 - 2 - 24;

// Legacy PDU types as the legacy report names them.
std::uint8_t LegacyEventType(const TLeHeard& heard) {
    if (heard.scanResponse) return 0x04;  // SCAN_RSP
    switch (heard.advertiser->eventType) {
        case TLeEventType::Connectable:
            return 0x00;  // ADV_IND
        case TLeEventType::Scannable:
            return 0x02;  // ADV_SCAN_IND
        case TLeEventType::NonConnectable:
            break;
    }
    return 0x03;  // ADV_NONCONN_IND
}

// The extended report's event type bits: connectable (0), scannable (1), scan response (3),
// legacy PDU (4), data status (5-6).
std::uint16_t ExtendedEventType(const TLeHeard& heard) {
    const TLeAdvertiser& le = *heard.advertiser;
    std::uint16_t type = 0;
    if (le.eventType == TLeEventType::Connectable) type |= 0x01;
    if (le.eventType != TLeEventType::NonConnectable) type |= 0x02;
    if (heard.scanResponse) type |= 0x08;
    if (!le.extended) type |= 0x10;
    return type;
}

const std::string& Data(const TLeHeard& heard) {
    return heard.scanResponse ? *heard.advertiser->scanResponse : heard.advertiser->advertising;
}

void AppendAddress(TLePacket& out, const TBdAddr& address) {
    std::uint8_t wire[6];
    address.ToWire(wire);
    AppendBytes(out, wire, 6);
}

TLePacket MetaEvent(std::uint8_t subevent, const TLePacket& report) {
    TLePacket packet{kHciEventPacket, hci::kEvLeMeta, static_cast<std::uint8_t>(2 + report.size()), subevent, 1};
    AppendBytes(packet, report);
    return packet;
}

}  // namespace

TLePacket LeAdvertisingReport(const TLeHeard& heard) {
    const std::string& data = Data(heard);
    TLePacket report{LegacyEventType(heard), static_cast<std::uint8_t>(heard.advertiser->Random() ? 1 : 0)};
    AppendAddress(report, heard.address);
    report.push_back(static_cast<std::uint8_t>(data.size()));
    AppendBytes(report, data.data(), data.size());
    report.push_back(static_cast<std::uint8_t>(heard.rssi));
    return MetaEvent(hci::kLeAdvertisingReport, report);
}

std::vector<TLePacket> LeExtendedAdvertisingReports(const TLeHeard& heard) {
    const std::string& data = Data(heard);
    std::vector<TLePacket> packets;
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kExtendedDataPerEvent, data.size() - at);
        const bool last = at + length == data.size();
        TLePacket report;
        AppendLe16(report, static_cast<std::uint16_t>(ExtendedEventType(heard) | (last ? 0 : 0x20)));
        report.push_back(static_cast<std::uint8_t>(heard.advertiser->Random() ? 1 : 0));
        AppendAddress(report, heard.address);
        report.push_back(0x01);                                        // primary PHY: LE 1M
        report.push_back(heard.advertiser->extended ? 0x01 : 0x00);    // secondary PHY
        report.push_back(heard.advertiser->extended ? 0x00 : 0xFF);    // advertising set
        report.push_back(0x7F);                                        // TX power not available
        report.push_back(static_cast<std::uint8_t>(heard.rssi));
        AppendLe16(report, 0);                                         // no periodic advertising
        report.push_back(0x00);                                        // not directed
        report.resize(report.size() + 6, 0);
        report.push_back(static_cast<std::uint8_t>(length));
        AppendBytes(report, data.data() + at, length);
        packets.push_back(MetaEvent(hci::kLeExtendedAdvertisingReport, report));
        at += length;
    } while (at < data.size());
    return packets;
}

}  // namespace qm::bt::emu
