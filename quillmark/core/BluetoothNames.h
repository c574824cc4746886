#pragma once
// Naming tables for the numbers Bluetooth reports: the device kind and class description of a
// class of device, and the chip maker of a company identifier. Pure functions, any thread.

#include <cstdint>
#include <string>

namespace qm {

// The kind of a device or radio; also the index of its picture. Stored in the session file by
// identifier. dtModem and dtSerial are never produced by the class rule.
enum TDeviceType : std::int32_t {
    dtOther,
    dtWorkstation,
    dtLaptop,
    dtPDA,
    dtMonitor,
    dtLANAccess,
    dtPhone,
    dtAudio,
    dtPeripheral,
    dtScanner,
    dtCamera,
    dtPrinter,
    dtModem,
    dtSerial,
};
inline constexpr int kDeviceTypeCount = 14;

// "dtOther" ... "dtSerial"; nullptr for a value outside the enumeration.
const char* DeviceTypeIdentifier(TDeviceType type);
// The value of an identifier (exact spelling); false when it names none.
bool DeviceTypeFromIdentifier(const std::string& identifier, TDeviceType& type);

// The class fields are taken as unsigned: a negative value falls to the default row.
TDeviceType DeviceTypeOfClass(std::int32_t majorClass, std::int32_t minorClass);
std::string DeviceClassName(std::int32_t majorClass, std::int32_t minorClass);
std::string ManufacturerName(std::int32_t companyIdentifier);

// Fields of a 24-bit class of device.
inline std::int32_t MajorClassOf(std::uint32_t classOfDevice) { return static_cast<std::int32_t>((classOfDevice >> 8) & 0x1F); }
inline std::int32_t MinorClassOf(std::uint32_t classOfDevice) { return static_cast<std::int32_t>((classOfDevice >> 2) & 0x3F); }

}  // namespace qm
