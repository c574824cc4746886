#include "support/BtsnoopCapture.h"

#include "quillmark/bluetooth/capture/BtsnoopReader.h"
#include "quillmark/bluetooth/platform/ByteOrder.h"

namespace qmtest {

namespace {

using qm::bt::TBdAddr;

void AppendAddress(Bytes& out, const TBdAddr& address) {
    std::uint8_t wire[6];
    address.ToWire(wire);
    qm::bt::AppendBytes(out, wire, sizeof wire);
}

Bytes WithHeader(std::uint8_t code, const Bytes& parameters) {
    Bytes event{code, static_cast<std::uint8_t>(parameters.size())};
    qm::bt::AppendBytes(event, parameters);
    return event;
}

void AppendBe32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void AppendBe64(std::string& out, std::int64_t value) {
    AppendBe32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) >> 32));
    AppendBe32(out, static_cast<std::uint32_t>(value));
}

}  // namespace

Bytes InquiryResultEvent(const TBdAddr& address, std::uint32_t classOfDevice) {
    Bytes parameters{1};
    AppendAddress(parameters, address);
    qm::bt::AppendBytes(parameters, Bytes{0x01, 0x00, 0x00});  // repetition mode, two reserved bytes
    qm::bt::AppendLe24(parameters, classOfDevice);
    qm::bt::AppendLe16(parameters, 0x1234);
    return WithHeader(0x02, parameters);
}

Bytes InquiryResultRssiEvent(const TBdAddr& address, std::uint32_t classOfDevice) {
    Bytes parameters{1};
    AppendAddress(parameters, address);
    qm::bt::AppendBytes(parameters, Bytes{0x01, 0x00});  // repetition mode, reserved
    qm::bt::AppendLe24(parameters, classOfDevice);
    qm::bt::AppendLe16(parameters, 0x1234);
    parameters.push_back(0xC4);  // RSSI -60 dBm
    return WithHeader(0x22, parameters);
}

Bytes ExtendedInquiryResultEvent(const TBdAddr& address, std::uint32_t classOfDevice,
                                 const std::string& name) {
    Bytes parameters{1};
    AppendAddress(parameters, address);
    qm::bt::AppendBytes(parameters, Bytes{0x01, 0x00});
    qm::bt::AppendLe24(parameters, classOfDevice);
    qm::bt::AppendLe16(parameters, 0x1234);
    parameters.push_back(0xC4);
    Bytes eir{0x02, 0x0A, 0x04};  // transmit power, then the complete local name
    eir.push_back(static_cast<std::uint8_t>(name.size() + 1));
    eir.push_back(0x09);
    qm::bt::AppendBytes(eir, name);
    eir.resize(240);
    qm::bt::AppendBytes(parameters, eir);
    return WithHeader(0x2F, parameters);
}

Bytes RemoteNameCompleteEvent(std::uint8_t status, const TBdAddr& address, const std::string& name) {
    Bytes parameters{status};
    AppendAddress(parameters, address);
    Bytes field(name.begin(), name.end());
    field.resize(248);
    qm::bt::AppendBytes(parameters, field);
    return WithHeader(0x07, parameters);
}

Bytes InquiryStartedEvent() {
    return WithHeader(0x0F, Bytes{0x00, 0x01, 0x01, 0x04});
}

Bytes InquiryCompleteEvent() {
    return WithHeader(0x01, Bytes{0x00});
}

std::int64_t CaptureTime(std::int64_t unixSeconds, std::int64_t microseconds) {
    return qm::bt::kBtsnoopUnixEpoch + unixSeconds * 1000000 + microseconds;
}

BtsnoopCapture::BtsnoopCapture(std::uint32_t datalink) : datalink_(datalink), bytes_("btsnoop", 8) {
    AppendBe32(bytes_, 1);
    AppendBe32(bytes_, datalink);
}

BtsnoopCapture& BtsnoopCapture::Event(const Bytes& event, std::int64_t time) {
    if (datalink_ == qm::bt::kBtsnoopMonitor) return Record(0x0003, event, time, 0);
    Bytes data;
    if (datalink_ == qm::bt::kBtsnoopUart) data.push_back(0x04);
    qm::bt::AppendBytes(data, event);
    return Record(0x03, data, time, 0);
}

BtsnoopCapture& BtsnoopCapture::Command(const Bytes& command, std::int64_t time) {
    if (datalink_ == qm::bt::kBtsnoopMonitor) return Record(0x0002, command, time, 0);
    Bytes data;
    if (datalink_ == qm::bt::kBtsnoopUart) data.push_back(0x01);
    qm::bt::AppendBytes(data, command);
    return Record(0x02, data, time, 0);
}

BtsnoopCapture& BtsnoopCapture::Record(std::uint32_t flags, const Bytes& data, std::int64_t time,
                                       std::uint32_t originalLength) {
    const auto included = static_cast<std::uint32_t>(data.size());
    AppendBe32(bytes_, originalLength ? originalLength : included);
    AppendBe32(bytes_, included);
    AppendBe32(bytes_, flags);
    AppendBe32(bytes_, 0);
    AppendBe64(bytes_, time);
    bytes_.append(data.begin(), data.end());
    return *this;
}

}  // namespace qmtest
