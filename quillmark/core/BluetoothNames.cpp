#include "quillmark/core/BluetoothNames.h"

#include <array>
#include <cstddef>

namespace qm {

namespace {

constexpr std::array<const char*, kDeviceTypeCount> kDeviceTypeIdentifiers = {
    "dtOther", "dtWorkstation", "dtLaptop",  "dtPDA",    "dtMonitor", "dtLANAccess", "dtPhone",
    "dtAudio", "dtPeripheral",  "dtScanner", "dtCamera", "dtPrinter", "dtModem",     "dtSerial",
};

// Computers: minor class 3 is a laptop, 4 to 6 are handhelds, every other value a workstation.
TDeviceType ComputerType(std::uint32_t minor) {
    if (minor == 3) return dtLaptop;
    if (minor >= 4 && minor <= 6) return dtPDA;
    return dtWorkstation;
}

TDeviceType AudioVideoType(std::uint32_t minor) {
    switch (minor) {
        case 12:
        case 13:
            return dtCamera;
        case 14:
        case 16:
            return dtMonitor;
        default:
            return dtAudio;
    }
}

// The imaging minor class is a set of bits; only a single known bit picks its own kind.
TDeviceType ImagingType(std::uint32_t minor) {
    switch (minor) {
        case 4:
            return dtMonitor;
        case 16:
            return dtScanner;
        case 32:
            return dtPrinter;
        default:
            return dtCamera;
    }
}

template <std::size_t N>
const char* Row(const std::array<const char*, N>& rows, std::uint32_t minor, const char* otherwise) {
    return minor < rows.size() && rows[minor] ? rows[minor] : otherwise;
}

constexpr std::array<const char*, 7> kComputerNames = {
    "Unclassified Computer", "Desktop Computer", "Server Computer",   "Laptop Computer",
    "Handheld Computer",     "Palm Computer",    "Wearable Computer",
};

constexpr std::array<const char*, 5> kPhoneNames = {
    "Unclassified Phone", "Cellular Phone", "Cordless Phone", "Smart Phone", "Wired Modem",
};

// Minor 17 has no name of its own and falls to the default row.
constexpr std::array<const char*, 19> kAudioVideoNames = {
    "Unclassified Audio",
    "Headset",
    "Hands Free",
    "Headset Hands Free",
    "Microphone",
    "Loudspeaker",
    "Headphones",
    "Portable Audio",
    "Car Audio",
    "Set Top Box",
    "Hi-Fi",
    "VCR",
    "Video Camera",
    "Camcorder",
    "Video Monitor",
    "Video Display Loudspeaker",
    "Video Display Conferencing",
    nullptr,
    "Gaming Toy",
};

const char* PeripheralName(std::uint32_t minor) {
    switch (minor) {
        case 0:
            return "Peripheral";
        case 1:
            return "Joystick";
        case 2:
            return "Gamepad";
        case 3:
            return "Remote Control";
        case 4:
            return "Sensing Peripheral";
        case 16:
            return "Keyboard";
        case 32:
            return "Pointer";
        default:
            return "Unknown Peripheral";
    }
}

const char* ImagingName(std::uint32_t minor) {
    switch (minor) {
        case 4:
            return "Display";
        case 8:
            return "Camera";
        case 16:
            return "Scanner";
        case 32:
            return "Printer";
        default:
            return "Unknown Imager";
    }
}

}  // namespace

const char* DeviceTypeIdentifier(TDeviceType type) {
    const auto index = static_cast<std::uint32_t>(type);
    return index < kDeviceTypeIdentifiers.size() ? kDeviceTypeIdentifiers[index] : nullptr;
}

bool DeviceTypeFromIdentifier(const std::string& identifier, TDeviceType& type) {
    for (std::size_t index = 0; index < kDeviceTypeIdentifiers.size(); ++index) {
        if (identifier == kDeviceTypeIdentifiers[index]) {
            type = static_cast<TDeviceType>(index);
            return true;
        }
    }
    return false;
}

// The fields are compared as unsigned, so a negative value (only a session file can hold one)
// lands on the default rows.
TDeviceType DeviceTypeOfClass(std::int32_t majorClass, std::int32_t minorClass) {
    const auto minor = static_cast<std::uint32_t>(minorClass);
    switch (static_cast<std::uint32_t>(majorClass)) {
        case 1:
            return ComputerType(minor);
        case 2:
            return dtPhone;
        case 3:
            return dtLANAccess;
        case 4:
            return AudioVideoType(minor);
        case 5:
            return dtPeripheral;
        case 6:
            return ImagingType(minor);
        default:
            return dtOther;
    }
}

std::string DeviceClassName(std::int32_t majorClass, std::int32_t minorClass) {
    const auto minor = static_cast<std::uint32_t>(minorClass);
    switch (static_cast<std::uint32_t>(majorClass)) {
        case 0:
            return "Miscellaneous";
        case 1:
            return Row(kComputerNames, minor, "Unknown Computer");
        case 2:
            return Row(kPhoneNames, minor, "Unknown Phone");
        case 3:
            return "Network Access Point";
        case 4:
            return Row(kAudioVideoNames, minor, "Unknown Audio");
        case 5:
            return PeripheralName(minor);
        case 6:
            return ImagingName(minor);
        case 31:
            return "Unclassified";
        default:
            return "Unknown";
    }
}

}  // namespace qm
