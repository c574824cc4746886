#include "quillmark/core/BluetoothNames.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qm {
namespace {

struct ClassCase {
    std::int32_t major;
    std::int32_t minor;
    TDeviceType type;
    std::string name;
};

// Boundaries of every row, the rows where the two functions disagree, and values out of range.
const std::vector<ClassCase> kClassCases = {
    {0, 0, dtOther, "Miscellaneous"},
    {0, 63, dtOther, "Miscellaneous"},
    {1, 0, dtWorkstation, "Unclassified Computer"},
    {1, 2, dtWorkstation, "Server Computer"},
    {1, 3, dtLaptop, "Laptop Computer"},
    {1, 4, dtPDA, "Handheld Computer"},
    {1, 6, dtPDA, "Wearable Computer"},
    {1, 7, dtWorkstation, "Unknown Computer"},
    {1, -1, dtWorkstation, "Unknown Computer"},
    {2, 0, dtPhone, "Unclassified Phone"},
    {2, 3, dtPhone, "Smart Phone"},
    {2, 4, dtPhone, "Wired Modem"},
    {2, 5, dtPhone, "Unknown Phone"},
    {3, 0, dtLANAccess, "Network Access Point"},
    {3, 63, dtLANAccess, "Network Access Point"},
    {4, 0, dtAudio, "Unclassified Audio"},
    {4, 1, dtAudio, "Headset"},
    {4, 11, dtAudio, "VCR"},
    {4, 12, dtCamera, "Video Camera"},
    {4, 13, dtCamera, "Camcorder"},
    {4, 14, dtMonitor, "Video Monitor"},
    {4, 15, dtAudio, "Video Display Loudspeaker"},
    {4, 16, dtMonitor, "Video Display Conferencing"},
    {4, 17, dtAudio, "Unknown Audio"},
    {4, 18, dtAudio, "Gaming Toy"},
    {4, 19, dtAudio, "Unknown Audio"},
    {5, 0, dtPeripheral, "Peripheral"},
    {5, 4, dtPeripheral, "Sensing Peripheral"},
    {5, 5, dtPeripheral, "Unknown Peripheral"},
    {5, 16, dtPeripheral, "Keyboard"},
    {5, 32, dtPeripheral, "Pointer"},
    {5, 48, dtPeripheral, "Unknown Peripheral"},
    {6, 0, dtCamera, "Unknown Imager"},
    {6, 4, dtMonitor, "Display"},
    {6, 8, dtCamera, "Camera"},
    {6, 12, dtCamera, "Unknown Imager"},
    {6, 16, dtScanner, "Scanner"},
    {6, 32, dtPrinter, "Printer"},
    {6, 48, dtCamera, "Unknown Imager"},
    {7, 0, dtOther, "Unknown"},
    {30, 1, dtOther, "Unknown"},
    {31, 0, dtOther, "Unclassified"},
    {32, 0, dtOther, "Unknown"},
    {-1, 3, dtOther, "Unknown"},
};

TEST(BluetoothNames, ClassRowsGiveTypeAndName) {
    for (const ClassCase& c : kClassCases) {
        SCOPED_TRACE(testing::Message() << "major " << c.major << " minor " << c.minor);
        EXPECT_EQ(DeviceTypeOfClass(c.major, c.minor), c.type);
        EXPECT_EQ(DeviceClassName(c.major, c.minor), c.name);
    }
}

TEST(BluetoothNames, ClassFieldsIgnoreServiceAndFormatBits) {
    // Smart phone with the telephony, object transfer and networking service bits and format bits.
    const std::uint32_t classOfDevice = 0x5A020C | 0x03;
    EXPECT_EQ(MajorClassOf(classOfDevice), 2);
    EXPECT_EQ(MinorClassOf(classOfDevice), 3);
    EXPECT_EQ(DeviceClassName(MajorClassOf(classOfDevice), MinorClassOf(classOfDevice)), "Smart Phone");
    EXPECT_EQ(MajorClassOf(0xFFFFFFFF), 31);
    EXPECT_EQ(MinorClassOf(0xFFFFFFFF), 63);
}

TEST(BluetoothNames, ClassRuleNeverYieldsModemOrSerial) {
    for (std::int32_t major = 0; major < 32; ++major) {
        for (std::int32_t minor = 0; minor < 64; ++minor) {
            const TDeviceType type = DeviceTypeOfClass(major, minor);
            EXPECT_NE(type, dtModem);
            EXPECT_NE(type, dtSerial);
        }
    }
}

TEST(BluetoothNames, ManufacturerNames) {
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {0, "Ericsson Technology Licensing"},
        {10, "Cambridge Silicon Radio"},
        {25, "Rohde & Schwarz GmbH & Co. KG"},
        {35, "WavePlus Technology Co., Ltd."},
        {52, "Computer Access Technology Corporation (CATC)"},
        {62, "Systems and Chips, Inc"},
        {63, "Unknown"},
        {65534, "Unknown"},
        {65535, "** Temporary Manufacturer Code"},
        {65536, "Unknown"},
        {-1, "Unknown"},
    };
    for (const auto& [identifier, name] : cases) EXPECT_EQ(ManufacturerName(identifier), name) << identifier;
}

TEST(BluetoothNames, DeviceTypeIdentifiersRoundTrip) {
    for (int value = 0; value < kDeviceTypeCount; ++value) {
        const auto type = static_cast<TDeviceType>(value);
        TDeviceType parsed = dtOther;
        ASSERT_NE(DeviceTypeIdentifier(type), nullptr);
        EXPECT_TRUE(DeviceTypeFromIdentifier(DeviceTypeIdentifier(type), parsed));
        EXPECT_EQ(parsed, type);
    }
    EXPECT_STREQ(DeviceTypeIdentifier(dtLANAccess), "dtLANAccess");
    EXPECT_EQ(DeviceTypeIdentifier(static_cast<TDeviceType>(kDeviceTypeCount)), nullptr);
    EXPECT_EQ(DeviceTypeIdentifier(static_cast<TDeviceType>(-1)), nullptr);
    TDeviceType untouched = dtPhone;
    EXPECT_FALSE(DeviceTypeFromIdentifier("dtphone", untouched));
    EXPECT_FALSE(DeviceTypeFromIdentifier("", untouched));
    EXPECT_EQ(untouched, dtPhone);
}

}  // namespace
}  // namespace qm
