#include "quillmark/bluetooth/capture/BtsnoopReader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/HciPackets.h"

namespace qm::bt {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'b', 't', 's', 'n', 'o', 'o', 'p', 0};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kFileHeaderBytes = 16;
constexpr std::size_t kRecordHeaderBytes = 24;
// An HCI event: code, parameter length, at most 255 parameter bytes.
constexpr std::size_t kMaxEventBytes = 2 + 255;
constexpr std::uint32_t kReceived = 0x01;
constexpr std::uint32_t kCommandOrEvent = 0x02;
constexpr std::uint32_t kMonitorOpcodeMask = 0xFFFF;
constexpr std::uint32_t kMonitorEventPacket = 3;
constexpr std::int64_t kMicrosecondsPerMs = 1000;
constexpr std::int64_t kMsPerSecond = 1000;

std::int64_t LoadBe64(const std::uint8_t* p) {
    const std::uint64_t value = static_cast<std::uint64_t>(LoadBe32(p)) << 32 | LoadBe32(p + 4);
    return static_cast<std::int64_t>(value);
}

// The quotient rounded down, also for a negative value.
std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// Whole milliseconds since 1970, rounded down; the subtraction cannot overflow for any stored value.
std::int64_t UnixMs(std::int64_t btsnoopMicroseconds) {
    return FloorDivide(btsnoopMicroseconds, kMicrosecondsPerMs) - kBtsnoopUnixEpoch / kMicrosecondsPerMs;
}

bool KnownDatalink(std::uint32_t datalink) {
    return datalink == kBtsnoopHci || datalink == kBtsnoopUart || datalink == kBtsnoopMonitor;
}

}  // namespace

std::optional<TBtsnoopReader> TBtsnoopReader::Open(std::istream& in, std::string& refusal) {
    std::array<std::uint8_t, kFileHeaderBytes> header{};
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    if (in.gcount() != static_cast<std::streamsize>(header.size()) ||
        !std::equal(kMagic.begin(), kMagic.end(), header.begin())) {
        refusal = "not a btsnoop capture (no btsnoop header)";
        return std::nullopt;
    }
    const std::uint32_t version = LoadBe32(&header[8]);
    const std::uint32_t datalink = LoadBe32(&header[12]);
    if (version != kVersion) {
        refusal = "btsnoop version " + std::to_string(version) + " is not supported (only version 1)";
        return std::nullopt;
    }
    if (!KnownDatalink(datalink)) {
        refusal = "btsnoop datalink type " + std::to_string(datalink) +
                  " is not supported (only 1001 HCI, 1002 HCI UART and 2001 btmon)";
        return std::nullopt;
    }
    return TBtsnoopReader(in, datalink);
}

bool TBtsnoopReader::ReadBytes(std::uint8_t* into, std::size_t count) {
    FIn->read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
    return FIn->gcount() == static_cast<std::streamsize>(count);
}

// Record lengths are 32-bit, far below the count that ignore() takes for "no limit".
bool TBtsnoopReader::Skip(std::uint32_t count) {
    FIn->ignore(static_cast<std::streamsize>(count));
    return FIn->gcount() == static_cast<std::streamsize>(count);
}

bool TBtsnoopReader::Cut() {
    FTruncated = true;
    return false;
}

bool TBtsnoopReader::IsControllerEvent(std::uint32_t flags, const std::vector<std::uint8_t>& bytes) const {
    switch (FDatalink) {
        case kBtsnoopHci:
            return (flags & (kReceived | kCommandOrEvent)) == (kReceived | kCommandOrEvent);
        case kBtsnoopUart:
            return (flags & kReceived) && !bytes.empty() && bytes[0] == kHciEventPacket;
        default:
            return (flags & kMonitorOpcodeMask) == kMonitorEventPacket;
    }
}

// One record: its first bytes (at most one event's worth, behind a packet type byte where the
// datalink has none) into the event, the rest skipped. False when the record is cut short.
bool TBtsnoopReader::NextRecord(TCaptureEvent& event, bool& isEvent) {
    std::array<std::uint8_t, kRecordHeaderBytes> header{};
    FIn->read(reinterpret_cast<char*>(header.data()), header.size());
    if (FIn->gcount() == 0) return false;
    if (FIn->gcount() != static_cast<std::streamsize>(header.size())) return Cut();
    const std::uint32_t originalLength = LoadBe32(&header[0]);
    const std::uint32_t includedLength = LoadBe32(&header[4]);
    const std::uint32_t flags = LoadBe32(&header[8]);
    event.unixMs = UnixMs(LoadBe64(&header[16]));
    event.unixSeconds = FloorDivide(event.unixMs, kMsPerSecond);

    const bool typed = FDatalink == kBtsnoopUart;
    const std::size_t kept = std::min<std::size_t>(includedLength, kMaxEventBytes + (typed ? 1 : 0));
    event.packet.assign(typed ? 0 : 1, kHciEventPacket);
    const std::size_t at = event.packet.size();
    event.packet.resize(at + kept);
    if (!ReadBytes(event.packet.data() + at, kept) ||
        !Skip(static_cast<std::uint32_t>(includedLength - kept)))
        return Cut();
    // A record cut by the logger holds only part of its packet, and a longer one is no event.
    isEvent =
        includedLength == originalLength && kept == includedLength && IsControllerEvent(flags, event.packet);
    return true;
}

bool TBtsnoopReader::NextEvent(TCaptureEvent& event) {
    bool isEvent = false;
    while (NextRecord(event, isEvent))
        if (isEvent) return true;
    return false;
}

}  // namespace qm::bt
