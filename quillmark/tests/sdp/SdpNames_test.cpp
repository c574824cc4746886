#include "quillmark/sdp/SdpNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

TEST(SdpNames, AttributeNames) {
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {0x0000, "ServiceRecordHandle"},
        {0x0009, "BluetoothProfileDescriptorList"},
        {0x000D, "AdditionalProtocolDescriptorLists"},
        {0x000E, "Unknown (14)"},
        {0x0100, "Unknown (256)"},
        {0xFFFF, "Unknown (65535)"},
        {0xFFFFFFFF, "Unknown (4294967295)"},
    };
    for (const auto& [id, name] : cases) EXPECT_EQ(SDPAttributeName(id), name) << id;
}

TEST(SdpNames, AppendFormsAddToTheText) {
    std::string text = "x";
    AppendSDPAttributeName(text, 0x0004);
    AppendSDPUUIDName(text, SdpUuidFromShort(0x0100));
    EXPECT_EQ(text, "xProtocolDescriptorListL2CAP");
}

TEST(SdpNames, ShortUuidNames) {
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {0x0001, "SDP"},
        {0x0003, "RFCOMM"},
        {0x001D, "UDI_C-Plane"},
        {0x0100, "L2CAP"},
        {0x1000, "ServiceDiscoveryServerServiceClassID"},
        {0x1002, "PublicBrowseGroup"},
        {0x1101, "SerialPort"},
        {0x1108, "Headset"},
        {0x110B, "AudioSink"},
        {0x1112, "HeadsetAudioGateway"},
        {0x111E, "Handsfree"},
        {0x112F, "Phonebook Access - PSE"},
        {0x1200, "PnPInformation"},
        {0x1206, "UPNPIPService"},
        {0x1300, "ESDP_UPNP_IP_PAN"},
        {0x1305, "VideoDistribution"},
        // Keys in the gaps of the tables and past their ends show the base UUID expansion.
        {0x0000, "{00000000-0000-1000-8000-00805F9B34FB}"},
        {0x0007, "{00000007-0000-1000-8000-00805F9B34FB}"},
        {0x001C, "{0000001C-0000-1000-8000-00805F9B34FB}"},
        {0x001E, "{0000001E-0000-1000-8000-00805F9B34FB}"},
        {0x1003, "{00001003-0000-1000-8000-00805F9B34FB}"},
        {0x1100, "{00001100-0000-1000-8000-00805F9B34FB}"},
        {0x1130, "{00001130-0000-1000-8000-00805F9B34FB}"},
        {0x1207, "{00001207-0000-1000-8000-00805F9B34FB}"},
        {0x1306, "{00001306-0000-1000-8000-00805F9B34FB}"},
        {0x00011101, "{00011101-0000-1000-8000-00805F9B34FB}"},
    };
    for (const auto& [key, name] : cases)
        EXPECT_EQ(SDPUUIDName(SdpUuidFromShort(key)), name) << std::hex << key;
}

TEST(SdpNames, FullUuidIsLookedUpByItsFirstFieldOnly) {
    const TSdpUuid serialPortElsewhere = {0x00, 0x00, 0x11, 0x01, 0xAB, 0xCD, 0xEF, 0x01,
                                          0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01};
    EXPECT_EQ(SDPUUIDName(serialPortElsewhere), "SerialPort");

    const TSdpUuid unnamed = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0,
                              0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
    const std::string text = SDPUUIDName(unnamed);
    EXPECT_EQ(text, "{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
    EXPECT_EQ(text.size(), 38u);
}

}  // namespace
}  // namespace qm
