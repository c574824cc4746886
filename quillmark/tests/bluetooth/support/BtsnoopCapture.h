#pragma once
// btsnoop captures for tests, made of the HCI events a controller sends during an inquiry.

#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"

namespace qmtest {

using Bytes = std::vector<std::uint8_t>;

// Events as they follow the packet type byte: event code, parameter length, parameters.
Bytes InquiryResultEvent(const qm::bt::TBdAddr& address, std::uint32_t classOfDevice);
Bytes InquiryResultRssiEvent(const qm::bt::TBdAddr& address, std::uint32_t classOfDevice);
// With the complete local name in the extended inquiry response data.
Bytes ExtendedInquiryResultEvent(const qm::bt::TBdAddr& address, std::uint32_t classOfDevice,
                                 const std::string& name);
Bytes RemoteNameCompleteEvent(std::uint8_t status, const qm::bt::TBdAddr& address, const std::string& name);
// The Command Status that starts an inquiry, and the Inquiry Complete that ends it.
Bytes InquiryStartedEvent();
Bytes InquiryCompleteEvent();

// Microseconds since the btsnoop epoch of a time in seconds since 1970.
std::int64_t CaptureTime(std::int64_t unixSeconds, std::int64_t microseconds = 0);

// A capture of one datalink type: 1001 HCI, 1002 HCI UART or 2001 btmon.
class BtsnoopCapture {
public:
    explicit BtsnoopCapture(std::uint32_t datalink);

    // An event from the controller, with the flags (and packet type) of the datalink.
    BtsnoopCapture& Event(const Bytes& event, std::int64_t time);
    // A command packet from the host, with the bytes as given after its packet type.
    BtsnoopCapture& Command(const Bytes& command, std::int64_t time);
    // A record as given; an original length of 0 stands for the included length.
    BtsnoopCapture& Record(std::uint32_t flags, const Bytes& data, std::int64_t time,
                           std::uint32_t originalLength);

    const std::string& Text() const { return bytes_; }

private:
    std::uint32_t datalink_;
    std::string bytes_;
};

}  // namespace qmtest
