#pragma once
// The record of one Bluetooth device heard at least once. The device list owns the records and
// creates them with Add; every read or write of a record happens while the caller holds the
// list's lock (TDeviceListLock), derived texts included.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/BluetoothNames.h"
#include "quillmark/core/DeviceAdvertising.h"

namespace qm {

class TDeviceList;

// Bits of Flags: the platform's device-information flags. No other bit has a meaning.
inline constexpr std::int32_t kFlagPaired = 0x08;
inline constexpr std::int32_t kFlagPersonal = 0x10;
inline constexpr std::int32_t kFlagConnected = 0x20;

// A device counts as active while the current time is at most LastSeen + this.
inline constexpr std::int32_t kActiveSeconds = 300;

class TBTDevice {
public:
    TBTDevice(const TBTDevice&) = delete;
    TBTDevice& operator=(const TBTDevice&) = delete;

    // The owning list and the record's current position in it.
    TDeviceList& Collection() const { return *FList; }
    int Index() const { return FIndex; }

    // Persisted properties, in the order of the session file.
    const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    // The key of the record in its list, compared byte for byte; setting it keeps the list's
    // address index up to date.
    const std::string& Address() const { return FAddress; }
    void SetAddress(std::string address);
    TDeviceType Type() const { return FType; }
    void SetType(TDeviceType type) { FType = type; }
    std::int32_t MajorClass() const { return FMajorClass; }
    // A new major class resets the minor class to 0 and recomputes Type.
    void SetMajorClass(std::int32_t value);
    std::int32_t MinorClass() const { return FMinorClass; }
    // A new minor class recomputes Type from the full class pair.
    void SetMinorClass(std::int32_t value);
    std::int32_t FirstSeen() const { return FFirstSeen; }
    void SetFirstSeen(std::int32_t time) { FFirstSeen = time; }
    std::int32_t LastSeen() const { return FLastSeen; }
    void SetLastSeen(std::int32_t time) { FLastSeen = time; }
    std::int32_t SeenCount() const { return FSeenCount; }
    void SetSeenCount(std::int32_t count) { FSeenCount = count; }
    std::int32_t Flags() const { return FFlags; }
    void SetFlags(std::int32_t flags) { FFlags = flags; }
    // One SDP record or response as a single byte string, as older session files carry it.
    const std::string& RawSDPStream() const { return FRawSDPStream; }
    void SetRawSDPStream(std::string bytes) { FRawSDPStream = std::move(bytes); }
    // The raw SDP service records, one byte string each, zero bytes included.
    const std::vector<std::string>& RawSDPRecords() const { return FRawSDPRecords; }
    std::vector<std::string>& RawSDPRecords() { return FRawSDPRecords; }
    const std::string& Location() const { return FLocation; }
    void SetLocation(std::string location) { FLocation = std::move(location); }

    // Not persisted: the signal strength of the latest sighting that carried one, in dBm. The
    // session file has no place for it; a front end fills it from the history store at start-up.
    std::optional<std::int8_t> Signal() const { return FSignal; }
    void SetSignal(std::optional<std::int8_t> dbm) { FSignal = dbm; }
    // Not persisted: the transports, LE address type and announced fields, likewise restored from
    // the history store.
    const TDeviceAdvertising& Advertising() const { return FAdvertising; }
    TDeviceAdvertising& Advertising() { return FAdvertising; }

    // "Paired", "Personal", "Connected" and "SDP", those that apply, joined by ", ".
    std::string FlagsText() const;
    // The attribute listing of every SDP record; throws the TError of an unreadable record.
    std::string SDPText() const;
    // One service name per SDP record, cached until the number of records changes. The list
    // belongs to the record and is valid only while the caller holds the list's lock.
    const std::vector<std::string>& Services();
    // True while the current time is at most LastSeen + 300 seconds.
    bool IsActive() const;

private:
    friend class TDeviceList;
    struct TListKey {};

public:
    // Only the list constructs records (see TDeviceList::Add).
    TBTDevice(TListKey, TDeviceList& list, int index, std::int32_t now);

private:
    TDeviceList* FList;
    int FIndex;

    std::string FName = "Unknown";
    std::string FAddress;
    TDeviceType FType = dtOther;
    std::int32_t FMajorClass = 0;
    std::int32_t FMinorClass = 0;
    std::int32_t FFirstSeen;
    std::int32_t FLastSeen = 0;
    std::int32_t FSeenCount = 0;
    std::int32_t FFlags = 0;
    std::string FRawSDPStream;
    std::vector<std::string> FRawSDPRecords;
    std::string FLocation;
    std::optional<std::int8_t> FSignal;
    TDeviceAdvertising FAdvertising;

    std::vector<std::string> FServices;
    std::int64_t FServicesRecordCount = -1;
};

// The derived texts of a record from copies of its fields, for texts made after the list's lock
// is released (DeviceFields.h); the members above give the same.
std::string DeviceFlagsText(std::int32_t flags, bool hasSdp);
std::string DeviceSDPText(const std::vector<std::string>& records, const std::string& stream);
std::vector<std::string> DeviceServiceNames(const std::vector<std::string>& records,
                                            const std::string& stream);

}  // namespace qm
