#include "quillmark/core/DeviceKind.h"

#include "quillmark/core/AssignedNumbers.h"

namespace qm {

namespace {

constexpr std::uint16_t kCompanyMicrosoft = 0x0006;
constexpr std::uint16_t kCompanyApple = 0x004C;
constexpr std::uint8_t kAppleIBeacon = 0x02;     // first payload byte of an iBeacon
constexpr std::uint8_t kMicrosoftBeacon = 0x01;  // first payload byte of a Windows device's beacon
constexpr std::uint16_t kEddystone = 0xFEAA;     // also Google's Find My Device network

// Appearance categories (the value's top ten bits).
enum : std::uint16_t {
    kPhone = 1,
    kComputer = 2,
    kWatch = 3,
    kDisplay = 5,
    kRemoteControl = 6,
    kMediaPlayer = 10,
    kBarcodeScanner = 11,
    kHid = 15,
    kNetworkDevice = 20,
    kAudioSink = 33,
    kAudioSource = 34,
    kWearableAudio = 37,
    kAvEquipment = 39,
    kDisplayEquipment = 40,
    kHearingAid = 41,
};

std::uint16_t CategoryOf(std::uint16_t appearance) {
    return appearance >> 6;
}

TDeviceType ComputerType(std::uint16_t subcategory) {
    switch (subcategory) {
        case 3:
        case 11:
        case 12:
            return dtLaptop;  // laptop, convertible, detachable
        case 4:
        case 5:
        case 7:
            return dtPDA;  // handheld, palm-size, tablet
        default:
            return dtWorkstation;
    }
}

bool IsAppleBeacon(const TManufacturerData& data) {
    return data.companyId == kCompanyApple && !data.payload.empty() && data.payload[0] == kAppleIBeacon;
}

bool IsWindowsBeacon(const TManufacturerData& data) {
    return data.companyId == kCompanyMicrosoft && !data.payload.empty() &&
           data.payload[0] == kMicrosoftBeacon;
}

bool IsEddystone(const TDeviceAdvertising& advertising) {
    if (advertising.tracker) return false;
    for (const TBluetoothUuid& uuid : advertising.uuids)
        if (uuid == TBluetoothUuid::From16(kEddystone)) return true;
    return false;
}

}  // namespace

TDeviceType DeviceTypeOfAppearance(std::uint16_t appearance) {
    switch (CategoryOf(appearance)) {
        case kPhone:
            return dtPhone;
        case kComputer:
            return ComputerType(appearance & 0x3F);
        case kDisplay:
        case kDisplayEquipment:
            return dtMonitor;
        case kRemoteControl:
        case kHid:
            return dtPeripheral;
        case kMediaPlayer:
        case kAudioSink:
        case kAudioSource:
        case kWearableAudio:
        case kAvEquipment:
        case kHearingAid:
            return dtAudio;
        case kBarcodeScanner:
            return dtScanner;
        case kNetworkDevice:
            return dtLANAccess;
        default:
            return dtOther;
    }
}

TDeviceKind LeDeviceKind(const TDeviceAdvertising& advertising) {
    if (advertising.appearance && CategoryOf(*advertising.appearance) != 0)
        if (const std::optional<std::string_view> name = AppearanceName(*advertising.appearance))
            return {DeviceTypeOfAppearance(*advertising.appearance), std::string(*name)};
    if (advertising.tracker) return {dtOther, TrackerKindName(*advertising.tracker)};
    if (const std::optional<TManufacturerData>& data = advertising.manufacturer) {
        if (IsWindowsBeacon(*data)) return {dtWorkstation, "Windows PC"};
        if (data->companyId == kCompanyApple) return {dtOther, "Apple device"};
    }
    return {dtOther, "LE device"};
}

TDevicePicture DevicePictureOf(const TDeviceAdvertising& advertising) {
    if (advertising.tracker) return TDevicePicture::Tracker;
    if (advertising.appearance) {
        const std::uint16_t category = CategoryOf(*advertising.appearance);
        if (category == kWatch) return TDevicePicture::Watch;
        if (category == kWearableAudio || category == kHearingAid) return TDevicePicture::Earbuds;
        if (category == kDisplayEquipment || category == kDisplay) return TDevicePicture::Tv;
    }
    if ((advertising.manufacturer && IsAppleBeacon(*advertising.manufacturer)) || IsEddystone(advertising))
        return TDevicePicture::Beacon;
    return TDevicePicture::None;
}

}  // namespace qm
