// Service records as real devices send them, assembled byte by byte, and their full listings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillmark/sdp/SdpRecordText.h"
#include "support/SdpRecords.h"

namespace qm {
namespace {

using namespace std::string_literals;

struct ServiceRecord {
    const char* service;
    const char* contentsHex;
    std::string listing;
    std::string serviceName;  // attribute 0x0100
};

const std::vector<ServiceRecord> kServiceRecords = {
    {"serial port",
     "09 00 00 0A 00 01 00 00"
     "09 00 01 35 03 19 11 01"
     "09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 08 01"
     "09 00 05 35 03 19 10 02"
     "09 00 06 35 09 09 65 6E 09 00 6A 09 01 00"
     "09 00 09 35 08 35 06 19 11 01 09 01 02"
     "09 01 00 25 0B 53 65 72 69 61 6C 20 50 6F 72 74",
     "ServiceRecordHandle = 65536\n"
     "ServiceClassIDList = [SerialPort]\n"
     "ProtocolDescriptorList = [[L2CAP], [RFCOMM, 1]]\n"
     "BrowseGroupList = [PublicBrowseGroup]\n"
     "LanguageBaseAttributeIDList = [25966, 106, 256]\n"
     "BluetoothProfileDescriptorList = [[SerialPort, 258]]\n"
     "Unknown (256) = Serial Port\n",
     "Serial Port"},
    {"OBEX object push",
     "09 00 00 0A 00 01 00 01"
     "09 00 01 35 03 19 11 05"
     "09 00 04 35 11 35 03 19 01 00 35 05 19 00 03 08 0C 35 03 19 00 08"
     "09 00 05 35 03 19 10 02"
     "09 00 09 35 08 35 06 19 11 05 09 01 02"
     "09 01 00 25 10 4F 42 45 58 20 4F 62 6A 65 63 74 20 50 75 73 68"
     "09 03 03 35 06 08 01 08 02 08 FF",
     "ServiceRecordHandle = 65537\n"
     "ServiceClassIDList = [OBEXObjectPush]\n"
     "ProtocolDescriptorList = [[L2CAP], [RFCOMM, 12], [OBEX]]\n"
     "BrowseGroupList = [PublicBrowseGroup]\n"
     "BluetoothProfileDescriptorList = [[OBEXObjectPush, 258]]\n"
     "Unknown (256) = OBEX Object Push\n"
     "Unknown (771) = [1, 2, 255]\n",
     "OBEX Object Push"},
    {"headset",
     "09 00 00 0A 00 01 00 02"
     "09 00 01 35 06 19 11 08 19 12 03"
     "09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 08 02"
     "09 00 05 35 03 19 10 02"
     "09 00 06 35 09 09 65 6E 09 00 6A 09 01 00"
     "09 00 09 35 08 35 06 19 11 08 09 01 02"
     "09 01 00 25 07 48 65 61 64 73 65 74"
     "09 03 02 28 01",
     "ServiceRecordHandle = 65538\n"
     "ServiceClassIDList = [Headset, GenericAudio]\n"
     "ProtocolDescriptorList = [[L2CAP], [RFCOMM, 2]]\n"
     "BrowseGroupList = [PublicBrowseGroup]\n"
     "LanguageBaseAttributeIDList = [25966, 106, 256]\n"
     "BluetoothProfileDescriptorList = [[Headset, 258]]\n"
     "Unknown (256) = Headset\n"
     "Unknown (770) = true\n",
     "Headset"},
    {"hands-free",
     "09 00 00 0A 00 01 00 03"
     "09 00 01 35 06 19 11 1E 19 12 03"
     "09 00 04 35 0C 35 03 19 01 00 35 05 19 00 03 08 07"
     "09 00 09 35 08 35 06 19 11 1E 09 01 06"
     "09 01 00 25 0A 48 61 6E 64 73 2D 66 72 65 65"
     "09 03 11 09 00 3F",
     "ServiceRecordHandle = 65539\n"
     "ServiceClassIDList = [Handsfree, GenericAudio]\n"
     "ProtocolDescriptorList = [[L2CAP], [RFCOMM, 7]]\n"
     "BluetoothProfileDescriptorList = [[Handsfree, 262]]\n"
     "Unknown (256) = Hands-free\n"
     "Unknown (785) = 63\n",
     "Hands-free"},
    {"A2DP sink with a UTF-16 name",
     "09 00 00 0A 00 01 00 04"
     "09 00 01 35 03 19 11 0B"
     "09 00 04 35 10 35 06 19 01 00 09 00 19 35 06 19 00 19 09 01 02"
     "09 00 05 35 03 19 10 02"
     "09 00 09 35 08 35 06 19 11 0D 09 01 02"
     "09 01 00 25 0E 53 00 70 00 65 00 61 00 6B 00 65 00 72 00"
     "09 03 11 09 00 01",
     "ServiceRecordHandle = 65540\n"
     "ServiceClassIDList = [AudioSink]\n"
     "ProtocolDescriptorList = [[L2CAP, 25], [AVDTP, 258]]\n"
     "BrowseGroupList = [PublicBrowseGroup]\n"
     "BluetoothProfileDescriptorList = [[AdvancedAudioDistribution, 258]]\n"
     "Unknown (256) = Speaker\n"
     "Unknown (785) = 1\n",
     "Speaker"},
    {"HID keyboard with a binary report descriptor",
     "09 00 00 0A 00 01 00 05"
     "09 00 01 35 03 19 11 24"
     "09 00 04 35 0D 35 06 19 01 00 09 00 11 35 03 19 00 11"
     "09 00 05 35 03 19 10 02"
     "09 00 06 35 09 09 65 6E 09 00 6A 09 01 00"
     "09 00 09 35 08 35 06 19 11 24 09 01 00"
     "09 00 0D 35 0F 35 0D 35 06 19 01 00 09 00 13 35 03 19 00 11"
     "09 01 00 25 08 4B 65 79 62 6F 61 72 64"
     "09 02 01 09 01 11"
     "09 02 02 08 40"
     "09 02 04 28 00"
     "09 02 06 35 17 35 15 08 22 25 11 05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 C0"
     "09 02 07 35 08 35 06 09 04 09 09 01 00",
     "ServiceRecordHandle = 65541\n"
     "ServiceClassIDList = [HumanInterfaceDeviceService]\n"
     "ProtocolDescriptorList = [[L2CAP, 17], [HIDP]]\n"
     "BrowseGroupList = [PublicBrowseGroup]\n"
     "LanguageBaseAttributeIDList = [25966, 106, 256]\n"
     "BluetoothProfileDescriptorList = [[HumanInterfaceDeviceService, 256]]\n"
     "AdditionalProtocolDescriptorLists = [[[L2CAP, 19], [HIDP]]]\n"
     "Unknown (256) = Keyboard\n"
     "Unknown (513) = 273\n"
     "Unknown (514) = 64\n"
     "Unknown (516) = false\n" +
         "Unknown (518) = [[34, \x05\x01\x09\x06\xA1\x01\x05\x07\x19\xE0\x29\xE7\x15\x00\x25\x01\xC0]]\n"s +
         "Unknown (519) = [[1033, 256]]\n",
     "Keyboard"},
    {"PnP information without a service name",
     "09 00 00 0A 00 01 00 06"
     "09 00 01 35 03 19 12 00"
     "09 00 04 35 0D 35 06 19 01 00 09 00 01 35 03 19 00 01"
     "09 00 09 35 08 35 06 19 12 00 09 01 03"
     "09 02 00 09 01 03"
     "09 02 01 09 00 0A"
     "09 02 02 09 B0 02"
     "09 02 03 09 01 00"
     "09 02 04 28 01"
     "09 02 05 09 00 01",
     "ServiceRecordHandle = 65542\n"
     "ServiceClassIDList = [PnPInformation]\n"
     "ProtocolDescriptorList = [[L2CAP, 1], [SDP]]\n"
     "BluetoothProfileDescriptorList = [[PnPInformation, 259]]\n"
     "Unknown (512) = 259\n"
     "Unknown (513) = 10\n"
     "Unknown (514) = 45058\n"
     "Unknown (515) = 256\n"
     "Unknown (516) = true\n"
     "Unknown (517) = 1\n",
     ""},
};

TEST(SdpServiceRecords, ListingsOfRealisticRecords) {
    for (const ServiceRecord& service : kServiceRecords) {
        SCOPED_TRACE(service.service);
        const std::string record = sdptest::Record(service.contentsHex);
        EXPECT_EQ(SDPRecordText(record), service.listing);
        EXPECT_EQ(SDPAttributeText(record, 0x0100), service.serviceName);
    }
}

}  // namespace
}  // namespace qm
