#pragma once
// Reads the HCI events a controller sent to its host out of a btsnoop capture, as btmon, Android's
// snoop log and other HCI loggers write them.
//
// File: "btsnoop\0", version 1, datalink type (32-bit big-endian each). Then records: original
// length, included length, flags, cumulative drops (32-bit each), a 64-bit timestamp in
// microseconds since midnight 1 January of year 0, then the included bytes; every integer
// big-endian. Three datalink types carry HCI events:
//   1001 unencapsulated HCI: flags bit 0 set = received (controller to host), bit 1 set =
//        command or event, so an event has both bits; the bytes have no packet type;
//   1002 HCI UART (H4): the bytes begin with the packet type (0x04 for an event), bit 0 of the
//        flags gives the direction as above;
//   2001 btmon's monitor format: the low 16 bits of the flags are the monitor opcode (3 for an
//        event packet), the high 16 bits the controller index; the bytes have no packet type.
//
// The capture is hostile input: no read goes past what a record declares, at most one HCI event's
// bytes are kept, and a record cut short by the end of the file ends the reading.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace qm::bt {

inline constexpr std::uint32_t kBtsnoopHci = 1001;
inline constexpr std::uint32_t kBtsnoopUart = 1002;
inline constexpr std::uint32_t kBtsnoopMonitor = 2001;

// Microseconds from the btsnoop epoch (year 0) to 1970-01-01 00:00:00 UTC.
inline constexpr std::int64_t kBtsnoopUnixEpoch = 0x00dcddb30f2f8000;

struct TCaptureEvent {
    std::int64_t unixSeconds = 0;      // the record's time stamp, whole seconds rounded down
    std::int64_t unixMs = 0;           // the same in milliseconds, rounded down
    std::vector<std::uint8_t> packet;  // as read from a raw HCI socket: 0x04, event code, length, ...
};

class TBtsnoopReader {
public:
    // Checks the file header; on a file that is not a btsnoop capture with one of the datalink
    // types above, none, with the reason in `refusal`.
    static std::optional<TBtsnoopReader> Open(std::istream& in, std::string& refusal);

    // The next event from the controller; false at the end of the capture or at a record cut
    // short, after which Truncated tells which.
    bool NextEvent(TCaptureEvent& event);
    bool Truncated() const { return FTruncated; }

private:
    TBtsnoopReader(std::istream& in, std::uint32_t datalink) : FIn(&in), FDatalink(datalink) {}
    bool NextRecord(TCaptureEvent& event, bool& isEvent);
    bool ReadBytes(std::uint8_t* into, std::size_t count);
    bool Skip(std::uint32_t count);
    bool Cut();
    bool IsControllerEvent(std::uint32_t flags, const std::vector<std::uint8_t>& bytes) const;

    std::istream* FIn;
    std::uint32_t FDatalink;
    bool FTruncated = false;
};

}  // namespace qm::bt
