// What a device's sightings announce: fields merged one by one, the kind and picture they give, and
// the maker shown for public and random addresses.

#include "quillmark/core/DeviceKind.h"
#include "quillmark/core/DeviceMaker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "quillmark/core/DeviceList.h"
#include "quillmark/core/VendorRegistry.h"

namespace {

using qm::TAddressType;
using qm::TDeviceAdvertising;
using qm::TSighting;
using qm::TTransport;

TSighting Le(std::string data, bool scanResponse = false) {
    TSighting sighting;
    sighting.address = "(7A:11:22:33:44:55)";
    sighting.transport = TTransport::LowEnergy;
    sighting.addressType = TAddressType::Random;
    sighting.eir = std::move(data);
    sighting.scanResponse = scanResponse;
    return sighting;
}

TEST(DeviceAdvertising, KeepsEachFieldFromTheLatestSightingThatCarriedIt) {
    TDeviceAdvertising advertising;
    const std::string battery{"\x03\x03\x0F\x18\x02\x0A\xF4", 7};        // UUID 0x180F, TX power -12
    const std::string heartRate{"\x03\x03\x0D\x18\x03\x19\xC2\x00", 8};  // UUID 0x180D, appearance 0x00C2
    qm::TakeSighting(advertising, Le(battery));
    qm::TakeSighting(advertising, Le(heartRate, true));
    EXPECT_EQ(advertising.txPower, -12);
    EXPECT_EQ(advertising.appearance, 0x00C2);
    ASSERT_EQ(advertising.uuids.size(), 2u);
    EXPECT_EQ(advertising.advertising, battery);
    EXPECT_EQ(advertising.scanResponse, heartRate);
    EXPECT_STREQ(qm::TransportName(advertising), "le");

    TSighting classic;
    classic.address = "(7A:11:22:33:44:55)";
    qm::TakeSighting(advertising, classic);
    EXPECT_STREQ(qm::TransportName(advertising), "dual");
    EXPECT_EQ(advertising.advertising, battery) << "a sighting without data keeps the last data";
}

TEST(DeviceKind, FromAppearanceThenPatternsThenDefault) {
    struct TCase {
        const char* label;
        std::string data;
        qm::TDeviceType type;
        const char* text;
        qm::TDevicePicture picture;
    };
    using P = qm::TDevicePicture;
    const TCase cases[] = {
        {"smartwatch", {"\x03\x19\xC2\x00", 4}, qm::dtOther, "Watch: Smartwatch", P::Watch},
        {"laptop", {"\x03\x19\x83\x00", 4}, qm::dtLaptop, "Computer: Laptop", P::None},
        {"earbud", {"\x03\x19\x41\x09", 4}, qm::dtAudio, "Wearable Audio Device: Earbud", P::Earbuds},
        {"phone", {"\x03\x19\x40\x00", 4}, qm::dtPhone, "Phone", P::None},
        {"unknown appearance falls through", {"\x03\x19\x00\x00", 4}, qm::dtOther, "LE device", P::None},
        {"Windows beacon", {"\x06\xFF\x06\x00\x01\x09\x20", 7}, qm::dtWorkstation, "Windows PC", P::None},
        {"Apple nearby", {"\x05\xFF\x4C\x00\x10\x05", 6}, qm::dtOther, "Apple device", P::None},
        {"iBeacon", {"\x05\xFF\x4C\x00\x02\x15", 6}, qm::dtOther, "Apple device", P::Beacon},
        {"Tile", {"\x03\x03\xED\xFE", 4}, qm::dtOther, "Tile", P::Tracker},
        {"Eddystone", {"\x03\x03\xAA\xFE", 4}, qm::dtOther, "LE device", P::Beacon},
        {"nothing announced", "", qm::dtOther, "LE device", P::None},
    };
    for (const TCase& c : cases) {
        TDeviceAdvertising advertising;
        qm::TakeSighting(advertising, Le(c.data));
        const qm::TDeviceKind kind = qm::LeDeviceKind(advertising);
        EXPECT_EQ(kind.type, c.type) << c.label;
        EXPECT_EQ(kind.text, c.text) << c.label;
        EXPECT_EQ(qm::DevicePictureOf(advertising), c.picture) << c.label;
    }
}

TEST(DeviceMaker, RandomAddressesNeverGetAnIeeeVendor) {
    struct TCase {
        const char* label;
        std::string address;
        TTransport transport;
        std::string data;
        const char* maker;
    };
    // 00:11:22 is in no registry here; a missing registry gives no maker for a public address.
    const TCase cases[] = {
        {"classic public", "(00:11:22:33:44:55)", TTransport::Classic, "", ""},
        {"classic locally administered", "(02:11:22:33:44:55)", TTransport::Classic, "", "(random)"},
        {"LE random, bit 1 clear, no company", "(40:11:22:33:44:55)", TTransport::LowEnergy, "", "(random)"},
        {"LE random with Apple data",
         "(40:11:22:33:44:55)",
         TTransport::LowEnergy,
         {"\x03\xFF\x4C\x00", 4},
         "Apple, Inc."},
    };
    const qm::TVendorRegistry vendors("/nonexistent/oui.csv");
    for (const TCase& c : cases) {
        qm::TDeviceList list;
        qm::TBTDevice& device = list.Add();
        device.SetAddress(c.address);
        TSighting sighting = Le(c.data);
        sighting.address = c.address;
        sighting.transport = c.transport;
        sighting.addressType =
            c.transport == TTransport::Classic ? TAddressType::Public : TAddressType::Random;
        qm::TakeSighting(device.Advertising(), sighting);
        EXPECT_EQ(qm::DeviceMakerText(device, vendors), c.maker) << c.label;
    }
}

}  // namespace
